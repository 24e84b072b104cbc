// The bilingual captions of every owner-drawn button, label and check box of
// the three dialogs, chosen by control identifier. The templates' own captions
// are never shown: Windows cannot draw Chinese on a system without Chinese
// support, so the painters draw these texts through the glyph font instead.
// Each caption is GB2312 Chinese first, then English, stored once here.
#pragma once

// What the owner-drawn painter shows on a control.
enum CaptionKind {
    kCaptionFixed,        // the text of the table
    kCaptionWindowText,   // the control's own window text
    kCaptionNextButton,   // Next, or Agree/Install from the last wizard page on
    kCaptionSampleLine,   // the real-font sample line of the display test
    kCaptionNeverPainted, // left exactly as it is
};

struct OwnerDrawCaption {
    int id;
    CaptionKind kind;
    const char* text;   // for kCaptionFixed and kCaptionSampleLine
    bool left;          // caption starts at the control's left edge, else centred
    bool flat;          // no 3-D bevel
};

// The row of an owner-drawn control; identifiers not in the table show their
// window text, centred, with a bevel.
const OwnerDrawCaption& OwnerDrawCaptionOf(int id);

// The caption of the default button on the given wizard page.
const char* NextButtonCaption(int wizardPage);

// The caption of a subclassed check box, or null for an identifier that
// shows its own window text.
const char* CheckBoxCaption(int id);
