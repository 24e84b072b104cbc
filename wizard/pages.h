// The wizard's pages and the moves between them.
//
// The four pages are groups of controls of the one wizard dialog, shown one at
// a time by ShowPage. The handlers below are what Back, Next/Install, Cancel
// and the two answer boxes do; they change the wizard page (globals.h), which
// the message loop and the painters read.
#pragma once
#include <windows.h>

constexpr int kPageFolder = 0;        // install folder and desktop icons
constexpr int kPageDisplayTest = 1;   // does the sample Chinese line show correctly?
constexpr int kPageAgreement = 2;     // the user agreement, Chinese or English
constexpr int kPageLanguage = 3;      // language of the installed product; Next is Install

// Shows the controls of `page` and hides those of the other pages. On the
// agreement page it loads the agreement texts the first time (again after a
// failed load) and shows the Chinese list or the English text as box 1010
// says. Shows Back on pages 1 to 3 and hides it on page 0, then repaints the
// whole dialog. A page without controls (the install) hides every page.
void ShowPage(HWND dialog, int page);

// Forgets that the agreement texts were loaded: a new wizard dialog starts
// with empty agreement controls.
void ForgetAgreementTexts();

// Back: one page back, from pages 1 to 3.
void PressBack(HWND dialog);
// Next, and Install on the last page. Page 1 is left only with an answer.
void PressNext(HWND dialog);
// Cancel, Esc and the close box: the program ends without a question.
void PressCancel();
// A click (or focus change) on answer box 1007 or 1008: the two are never
// checked together, so the other one is cleared when this one is checked.
void KeepOneAnswer(HWND dialog, int clickedBox);
