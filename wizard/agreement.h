// The user agreement on the wizard's third page: the Chinese text (payload
// 124, GB2312, one list item per line, painted through the glyph font) and the
// English text (payload 161, shown whole in a read-only edit).
#pragma once
#include <windows.h>

// Inflates both texts and puts them into list 1019 and edit 1014. The list is
// emptied first, so a retry after a failed load never shows a line twice.
// Returns 1 when both are in place. A missing buffer shows the memory message
// and returns 0; a text that does not inflate, or fills its whole buffer
// without room for the closing zero, returns 0 without a message.
int LoadAgreementTexts(HWND dialog);
