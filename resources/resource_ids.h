// Identifiers shared by the resource script and the code: dialogs, the icon,
// controls and the payloads that are not plain manifest files.
#pragma once

// Payloads the program itself reads (the manifest lists the installed files).
#define IDP_GLYPH_FONT        110
#define IDP_AGREEMENT_CHINESE 124
#define IDP_AGREEMENT_ENGLISH 161
#define IDP_SPEECH_MODULE     1029
