// The manifest: the 95 files of the product, in the order they are written.
//
// Each row names the payload resource, the file name in the install folder,
// the attributes the file gets, whether its failure ends the install (abort)
// or is passed over (ignore), whether it belongs to the phrase word base
// (left out when the user keeps an older word base) and the progress position
// set once the last row with that position has been handled.
#pragma once
#include <cstddef>

#include "install/config_file.h"
#include "install/payload.h"

struct ManifestEntry {
    int identifier;
    const char* fileName;
    bool readOnly;
    bool hidden;
    bool abortOnFailure;
    bool wordBase;
    int progressStep;
};

// Files that other steps of the install name too.
inline constexpr char kFlatWordBaseFileName[] = "CiZuFlat.igb";   // its presence means an older word base
inline constexpr char kEditorFileName[] = "ZEKEdit.exe";
inline constexpr char kNotesFileName[] = "Morvalen.exe";
inline constexpr char kUninstallerFileName[] = "ZEKEditUnInstall.exe";

// Row flags, so that the table reads as words.
constexpr bool kReadOnly = true, kWritable = false;
constexpr bool kHidden = true, kVisible = false;
constexpr bool kAbort = true, kIgnore = false;
constexpr bool kWordBase = true, kAlways = false;

inline constexpr ManifestEntry kManifest[] = {
    {106, "pykeys.dic", kReadOnly, kHidden, kAbort, kAlways, 15},
    {131, "gbkflat.dic", kReadOnly, kHidden, kAbort, kAlways, 15},
    {143, "py_1key.dic", kReadOnly, kHidden, kAbort, kAlways, 15},
    {111, "sort.dic", kWritable, kHidden, kAbort, kAlways, 20},
    {153, "chdicres.bin", kReadOnly, kHidden, kIgnore, kAlways, 25},
    {123, "ChnDic2.bin", kReadOnly, kHidden, kIgnore, kAlways, 25},
    {118, "duplicat.dic", kReadOnly, kVisible, kIgnore, kAlways, 25},
    {137, "ch2key.bin", kReadOnly, kHidden, kIgnore, kAlways, 25},
    {114, "readme2.igb", kReadOnly, kHidden, kAbort, kAlways, 25},
    {115, "readme3.igb", kReadOnly, kHidden, kAbort, kAlways, 25},
    {120, kConfigFileName, kReadOnly, kHidden, kAbort, kAlways, 25},
    {203, "tips.txt", kReadOnly, kHidden, kIgnore, kAlways, 25},
    {204, "tips_en.txt", kReadOnly, kHidden, kIgnore, kAlways, 25},
    {164, "cikuguide.txt", kReadOnly, kHidden, kIgnore, kAlways, 25},
    {110, "ChnBmp.bin", kReadOnly, kHidden, kAbort, kAlways, 30},
    {116, "keymap.bmp", kReadOnly, kHidden, kAbort, kAlways, 35},
    {136, "keymapPY.bmp", kReadOnly, kHidden, kAbort, kAlways, 35},
    {138, "keymapPYStd.bmp", kReadOnly, kHidden, kAbort, kAlways, 35},
    {140, "keymapSP.bmp", kReadOnly, kHidden, kAbort, kAlways, 35},
    {141, "keymapSPStd.bmp", kReadOnly, kHidden, kAbort, kAlways, 35},
    {149, "keymapSP1.bmp", kReadOnly, kHidden, kAbort, kAlways, 35},
    {151, "keymapSPStd1.bmp", kReadOnly, kHidden, kAbort, kAlways, 35},
    {150, "keymapSP2.bmp", kReadOnly, kHidden, kAbort, kAlways, 35},
    {152, "keymapSPStd2.bmp", kReadOnly, kHidden, kAbort, kAlways, 35},
    {127, kFlatWordBaseFileName, kWritable, kVisible, kAbort, kWordBase, 45},
    {130, "ch2py.bin", kReadOnly, kHidden, kAbort, kAlways, 50},
    {191, "ch2pypz1.bin", kReadOnly, kHidden, kAbort, kAlways, 50},
    {192, "ch2pypz2.bin", kReadOnly, kHidden, kAbort, kAlways, 50},
    {132, "bihuaku.bin", kReadOnly, kHidden, kAbort, kAlways, 50},
    {144, "vmodewords.dic", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {162, "gbk2b5.bin", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {189, "b5gbk.bin", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {173, "fccdic.bin", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {241, "depend1.map", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {240, "depend2.map", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {248, "mi_bihua1_dups_prefered_codes.bin", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {249, "mi_bihua1.bin", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {250, "mi_bihua1_danjianzuhe.bin", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {251, "ZiPartsBase.dat", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {252, "ZiParts.dat", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {253, "Pelta9Show.exe", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {175, "zelkoguide.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {176, "ZEKGUIDE.HTM", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {177, "ZEKEditGuide.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {178, "morvalenguide.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {179, "input_samples.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {174, "input_assist.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {180, "fast_steps.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {181, "pinyin_pinxing.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {182, "xingmaguide.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {183, "xingmajiyi.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {184, "kuai_jian.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {194, "zelkoguide_en.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {195, "ZEKGUIDE_en.HTM", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {196, "ZEKEditGuide_en.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {197, "morvalenguide_en.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {198, "input_samples_en.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {193, "input_assist_en.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {199, "fast_steps_en.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {200, "pinyin_pinxing_en.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {201, "kuai_jian_en.htm", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {185, "Zek_pane.png", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {186, "zek_prompt.png", kReadOnly, kHidden, kIgnore, kAlways, 50},
    {119, "Welcome_zekedit.bmp", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {171, kUninstallerFileName, kReadOnly, kVisible, kIgnore, kAlways, 50},
    {190, "Welcome_morvalen.bmp", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {210, "pysampci_manual3.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {211, "pysampcaret.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {212, "pysampci_manual.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {213, "pysampci_manual1.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {214, "pysampci_manual2.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {215, "PYSAMP1.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {216, "pysampci_manual4.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {217, "pysampci_manual5.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {218, "pysampci1.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {219, "pysampci2.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {220, "pysampci3.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {221, "pysampci4.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {222, "pysampci5.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {223, "pysampci6.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {224, "pysampci7.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {225, "pysampci8.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {226, "pysampforecast.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {227, "pysampshengdiao3.PNG", kReadOnly, kVisible, kIgnore, kAlways, 50},
    {139, "VarneloDemo.exe", kReadOnly, kVisible, kAbort, kAlways, 55},
    {126, "pxcizudic.idx", kWritable, kVisible, kIgnore, kWordBase, 65},
    {128, kWordBaseFileName, kWritable, kVisible, kAbort, kWordBase, 70},
    {129, "py2_3ZiCi1stZuMu.idx", kWritable, kVisible, kAbort, kWordBase, 70},
    {109, kNotesFileName, kReadOnly, kVisible, kAbort, kAlways, 70},
    {1021, kEditorFileName, kReadOnly, kVisible, kIgnore, kAlways, 90},
    {1022, "readme2he.igb", kReadOnly, kHidden, kIgnore, kAlways, 90},
    {1023, "Mswd6_32.wpc", kReadOnly, kHidden, kIgnore, kAlways, 90},
    {187, "b52Gbs.tab", kWritable, kVisible, kIgnore, kAlways, 90},
    {188, "Gb2b5s.tab", kWritable, kVisible, kIgnore, kAlways, 90},
    {145, "ZiDef.dic", kReadOnly, kHidden, kIgnore, kAlways, 90},
};

constexpr size_t kManifestCount = sizeof kManifest / sizeof kManifest[0];
static_assert(kManifestCount == 95, "the product has 95 files");

// The longest file name of the manifest: the install folder must leave room
// for it.
constexpr size_t LongestManifestName() {
    size_t longest = 0;
    for (const ManifestEntry& entry : kManifest) {
        size_t length = 0;
        while (entry.fileName[length] != '\0') ++length;
        if (length > longest) longest = length;
    }
    return longest;
}

constexpr bool ProgressNeverGoesBack() {
    for (size_t i = 1; i < kManifestCount; ++i) {
        if (kManifest[i].progressStep < kManifest[i - 1].progressStep) return false;
    }
    return true;
}
static_assert(ProgressNeverGoesBack(), "progress positions rise through the manifest");
