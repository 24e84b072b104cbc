// The rows of the system's message table by number. The texts and the box
// that shows them belong to the wizard; the installation engine only names a
// row when it reports what happened, and its caller shows or logs it.
#pragma once

enum MessageRow {
    kMsgGlyphFontOutOfMemory = 1,     // start-up: no buffer for the glyph font
    kMsgAgreementOutOfMemory = 2,     // wizard: no buffer for the agreement texts
    kMsgAnswerTheQuestion = 3,        // Next on the display question without an answer
    kMsgCannotCreateInstallFolder = 4,
    kMsgInstallSucceeded = 5,
    kMsgOfferSpeechModule = 6,        // the answer that counts is IDOK
    kMsgSpeechModuleOutOfMemory = 7,
    kMsgInstallFailed = 8,
    kMsgCannotCreateStartMenuFolder = 9,   // Chinese text is a format for the folder path
    kMsgStartMenuEntryFailed = 10,
    kMsgInstallOutOfMemory = 11,
    kMsgReplaceOldWordBase = 12,      // the answer that counts is IDYES
    kMsgSpeechModuleNeedsInstaller = 13,   // nothing on the system opens the package
    kMsgInstallVolumeTooSmall = 14,   // the product does not fit on the install folder's volume
};
constexpr int kMessageRowCount = 14;
