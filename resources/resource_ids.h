// Identifiers shared by the resource script and the code: dialogs, the icon,
// controls and the payloads the program reads itself. Known by number
// everywhere; named here once.
#pragma once

// Dialog templates and the icon.
#define IDD_MESSAGE_BOX       112
#define IDD_WIZARD            114
#define IDD_FOLDER_CHOOSER    168
#define IDI_SETUP             104

// Payloads the program itself reads (the manifest lists the installed files).
#define IDP_GLYPH_FONT        110
#define IDP_AGREEMENT_CHINESE 124
#define IDP_AGREEMENT_ENGLISH 161
#define IDP_SPEECH_MODULE     1029
#define IDP_CAPTION_GLYPHS    254   // the captions' 24 x 24 glyphs

// Standard buttons as the wizard and the message box use them.
#define IDC_OK                1     // IDOK
#define IDC_CANCEL            2     // IDCANCEL: Cancel, Esc and the close box
#define IDC_BACK              3
#define IDC_ANSWER_YES        6     // IDYES (windows.h has a cursor named IDC_YES)
#define IDC_ANSWER_NO         7     // IDNO (and one named IDC_NO)

// Wizard (dialog 114).
#define IDC_NEXT              1001  // Next, Install on the last page; the default button
#define IDC_FOLDER_PATH       1002
#define IDC_BROWSE            1003
#define IDC_DESKTOP_ICONS     1004
#define IDC_FOLDER_LABEL      1006
#define IDC_DISPLAY_OK        1007
#define IDC_DISPLAY_BAD       1008
#define IDC_FAMILY_TITLE      1009
#define IDC_ENGLISH_AGREEMENT 1010
#define IDC_EDITION_NAME      1011
#define IDC_SETUP_NAME        1012
#define IDC_AGREEMENT_EN_TEXT 1014
#define IDC_SAMPLE_FRAME      1015
#define IDC_DISPLAY_QUESTION  1017
#define IDC_SAMPLE_LINE       1018
#define IDC_AGREEMENT_CN_LIST 1019
#define IDC_UNPAINTED_AREA    1020
#define IDC_BOTTOM_STRIP      1021
#define IDC_NEVER_SHOWN       1022
#define IDC_PROGRESS          1026
#define IDC_LANGUAGE_LABEL    1030
#define IDC_LANGUAGE_LIST     1031

// Wizard: the left panel, the divider and the web address (never addressed by
// the code, named so the template reads).
#define IDC_PANEL_ICON        102
#define IDC_DIVIDER           108
#define IDC_PANEL_PRODUCT     166
#define IDC_PANEL_INSTALLER   169
#define IDC_WEB_ADDRESS       172

// Folder chooser (dialog 168): the bilingual labels over its two lists. The
// common dialog's own controls keep the system's names (dlgs.h).
#define IDC_CHOOSER_DIRS_LABEL   1008
#define IDC_CHOOSER_DRIVES_LABEL 1010

// Message box (dialog 112).
#define IDC_MESSAGE_CHINESE   1013
#define IDC_MESSAGE_ENGLISH   1028
