// Shared set-up and checks of the install-run tests; see install_run_fixture.h.
#include "install_run_fixture.h"

#include <cstring>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/payload.h"

const std::vector<ExpectedFile> kExpectedFiles = {
    {106, "pykeys.dic", "RH"},
    {131, "gbkflat.dic", "RH"},
    {143, "py_1key.dic", "RH"},
    {111, "sort.dic", "-H"},
    {153, "chdicres.bin", "RH"},
    {123, "ChnDic2.bin", "RH"},
    {118, "duplicat.dic", "R-"},
    {137, "ch2key.bin", "RH"},
    {114, "readme2.igb", "RH"},
    {115, "readme3.igb", "RH"},
    {120, "zerezizu.ini", "RH"},
    {203, "tips.txt", "RH"},
    {204, "tips_en.txt", "RH"},
    {164, "cikuguide.txt", "RH"},
    {110, "ChnBmp.bin", "RH"},
    {116, "keymap.bmp", "RH"},
    {136, "keymapPY.bmp", "RH"},
    {138, "keymapPYStd.bmp", "RH"},
    {140, "keymapSP.bmp", "RH"},
    {141, "keymapSPStd.bmp", "RH"},
    {149, "keymapSP1.bmp", "RH"},
    {151, "keymapSPStd1.bmp", "RH"},
    {150, "keymapSP2.bmp", "RH"},
    {152, "keymapSPStd2.bmp", "RH"},
    {127, "CiZuFlat.igb", "--"},
    {130, "ch2py.bin", "RH"},
    {191, "ch2pypz1.bin", "RH"},
    {192, "ch2pypz2.bin", "RH"},
    {132, "bihuaku.bin", "RH"},
    {144, "vmodewords.dic", "RH"},
    {162, "gbk2b5.bin", "RH"},
    {189, "b5gbk.bin", "RH"},
    {173, "fccdic.bin", "RH"},
    {241, "depend1.map", "RH"},
    {240, "depend2.map", "RH"},
    {248, "mi_bihua1_dups_prefered_codes.bin", "RH"},
    {249, "mi_bihua1.bin", "RH"},
    {250, "mi_bihua1_danjianzuhe.bin", "RH"},
    {251, "ZiPartsBase.dat", "RH"},
    {252, "ZiParts.dat", "RH"},
    {253, "Pelta9Show.exe", "RH"},
    {175, "zelkoguide.htm", "R-"},
    {176, "ZEKGUIDE.HTM", "R-"},
    {177, "ZEKEditGuide.htm", "R-"},
    {178, "morvalenguide.htm", "R-"},
    {179, "input_samples.htm", "R-"},
    {174, "input_assist.htm", "R-"},
    {180, "fast_steps.htm", "R-"},
    {181, "pinyin_pinxing.htm", "R-"},
    {182, "xingmaguide.htm", "R-"},
    {183, "xingmajiyi.htm", "R-"},
    {184, "kuai_jian.htm", "R-"},
    {194, "zelkoguide_en.htm", "R-"},
    {195, "ZEKGUIDE_en.HTM", "R-"},
    {196, "ZEKEditGuide_en.htm", "R-"},
    {197, "morvalenguide_en.htm", "R-"},
    {198, "input_samples_en.htm", "R-"},
    {193, "input_assist_en.htm", "R-"},
    {199, "fast_steps_en.htm", "R-"},
    {200, "pinyin_pinxing_en.htm", "R-"},
    {201, "kuai_jian_en.htm", "R-"},
    {185, "Zek_pane.png", "RH"},
    {186, "zek_prompt.png", "RH"},
    {119, "Welcome_zekedit.bmp", "R-"},
    {171, "ZEKEditUnInstall.exe", "R-"},
    {190, "Welcome_morvalen.bmp", "R-"},
    {210, "pysampci_manual3.PNG", "R-"},
    {211, "pysampcaret.PNG", "R-"},
    {212, "pysampci_manual.PNG", "R-"},
    {213, "pysampci_manual1.PNG", "R-"},
    {214, "pysampci_manual2.PNG", "R-"},
    {215, "PYSAMP1.PNG", "R-"},
    {216, "pysampci_manual4.PNG", "R-"},
    {217, "pysampci_manual5.PNG", "R-"},
    {218, "pysampci1.PNG", "R-"},
    {219, "pysampci2.PNG", "R-"},
    {220, "pysampci3.PNG", "R-"},
    {221, "pysampci4.PNG", "R-"},
    {222, "pysampci5.PNG", "R-"},
    {223, "pysampci6.PNG", "R-"},
    {224, "pysampci7.PNG", "R-"},
    {225, "pysampci8.PNG", "R-"},
    {226, "pysampforecast.PNG", "R-"},
    {227, "pysampshengdiao3.PNG", "R-"},
    {139, "VarneloDemo.exe", "R-"},
    {126, "pxcizudic.idx", "--"},
    {128, "pycizudic.idx", "--"},
    {129, "py2_3ZiCi1stZuMu.idx", "--"},
    {109, "Morvalen.exe", "R-"},
    {1021, "ZEKEdit.exe", "R-"},
    {1022, "readme2he.igb", "RH"},
    {1023, "Mswd6_32.wpc", "RH"},
    {187, "b52Gbs.tab", "--"},
    {188, "Gb2b5s.tab", "--"},
    {145, "ZiDef.dic", "RH"},
};

const std::vector<int> kAllPositions = {10, 15, 20, 25, 30, 35, 45, 50, 55, 65, 70, 90, 94, 97, 100};

bool IsWordBaseFile(const std::string& name) {
    return name == "CiZuFlat.igb" || name == "pxcizudic.idx" || name == "pycizudic.idx" ||
           name == "py2_3ZiCi1stZuMu.idx";
}

Bytes PayloadBytes(int identifier) {
    Bytes bytes(kInstallBufferSize);
    uint32_t length = 0;
    if (!LoadPayload(identifier, bytes.data(), kInstallBufferSize, &length)) return {};
    bytes.resize(length);
    return bytes;
}

Bytes Weighted(const Bytes& source) {
    Bytes out = {0x80};
    size_t at = 0;
    while (at < source.size() && source[at] != 0) {
        while (at < source.size() && source[at] != 0 && source[at] < 0x80) out.push_back(source[at++]);
        int weight = 25;
        while (at + 3 <= source.size() && source[at] >= 0x80) {
            out.insert(out.end(), source.begin() + at, source.begin() + at + 3);
            out.push_back(static_cast<uint8_t>(weight));
            if (weight > 1) --weight;
            at += 3;
        }
        if (at < source.size() && source[at] >= 0x80) break;  // a group cut short
    }
    return out;
}

Bytes InstalledBytes(const ExpectedFile& file) {
    Bytes bytes = PayloadBytes(file.identifier);
    if (strcmp(file.name, "pycizudic.idx") == 0 && !bytes.empty() && bytes[0] < 0x80) return Weighted(bytes);
    return bytes;
}

void InstallRunTest::SetUp() {
    UseInstallFolder(folder / "Zelko");
    g_wizardWindow = wizard.window();
    g_systemLanguage = 0;
    g_uiLanguage = 1;
    g_chineseDisplayOk = 1;
    g_wantDesktopIcons = 0;
    ResetMessages(IDYES);
    EnsureShellFolders();
    RemoveProductShortcuts();
}

void InstallRunTest::TearDown() {
    RemoveProductShortcuts();
    g_installFolder[0] = '\0';
    g_wizardWindow = nullptr;
}

void InstallRunTest::UseInstallFolder(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
    installFolder_ = path;
    ASSERT_TRUE(CopyBounded(g_installFolder, path.c_str())) << path;
}

void InstallRunTest::ExpectInstalled(const ExpectedFile& expected) {
    SCOPED_TRACE(expected.name);
    const std::string path = file(expected.name);
    Bytes wanted = InstalledBytes(expected);
    ASSERT_FALSE(wanted.empty()) << "payload " << expected.identifier << " is not in this test program";
    Bytes actual = ReadBytes(path);
    EXPECT_EQ(wanted.size(), actual.size());
    EXPECT_TRUE(wanted == actual) << "bytes differ";
    int bits = (expected.attributes[0] == 'R' ? FILE_ATTRIBUTE_READONLY : 0) |
               (expected.attributes[1] == 'H' ? FILE_ATTRIBUTE_HIDDEN : 0);
    EXPECT_EQ(bits, ReadOnlyHiddenBits(path));
}

Bytes InstallRunTest::ExpectedConfigFile(char useBmpFont, int forceLanguage) {
    Bytes payload = PayloadBytes(120);
    std::string text(payload.begin(), payload.end());
    size_t at = text.find("\r\nUseBmpFont=");
    if (at != std::string::npos) text[at + strlen("\r\nUseBmpFont=")] = useBmpFont;
    text += "\r\nForceLanguage=" + std::to_string(forceLanguage) + "\r\n";
    return Bytes(text.begin(), text.end());
}

void InstallRunTest::RemoveProductShortcuts() {
    for (int code = 0; code <= 2; ++code) {
        ExpectedNames names = NamesForSystemLanguage(code);
        RemoveTree(ExpectedProgramsFolder() + "\\" + names.folder);
        RemoveTree(ExpectedDesktopFolder() + "\\" + names.editor + ".lnk");
        RemoveTree(ExpectedDesktopFolder() + "\\" + names.notes + ".lnk");
    }
}
