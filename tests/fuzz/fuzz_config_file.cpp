// Fuzz target of the configuration update. The first input byte chooses the
// wizard's answers, the file's read-only and hidden bits and how full the
// disk is; the rest is the old zerezizu.ini, whatever it holds. The update
// runs through the program's own file layer against an in-memory volume, and
// its result is checked three ways: against a model of the update, against
// the rule that no byte but a key's one-character value changes and only the
// defined texts are appended, and on a disk that fills up during the append.
// Any mismatch traps, so the fuzzer keeps the input.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/config_file.h"
#include "memory_volume.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr char kFolder[] = "C:\\Zelko";
constexpr char kPath[] = "C:\\Zelko\\zerezizu.ini";
const std::string kBmpFontKey = "UseBmpFont=";
const std::string kLanguageKey = "ForceLanguage=";
const std::string kSectionAppended = "\r\n\r\n[Config]\r\n\r\n";
constexpr uint32_t kOtherAttribute = FILE_ATTRIBUTE_ARCHIVE;

[[noreturn]] void Fail(const char* what, size_t detail) {
    fprintf(stderr, "configuration update mismatch: %s (%zu)\n", what, detail);
    __builtin_trap();
}

void Append(Bytes* bytes, const std::string& text) {
    bytes->insert(bytes->end(), text.begin(), text.end());
}

std::string KeyLine(const std::string& key, char value) { return key + value; }

// The model. The file is read in pieces of at most 255 characters in which
// CR LF counts as one line end; a piece that is a whole line made of a key
// and a value as long as the new one has its value replaced; reading stops
// once both keys were replaced. Whatever was not found is appended at the end.
Bytes ExpectedFile(const Bytes& old, char bmpFontValue, char languageValue) {
    const std::string bmpFontLine = KeyLine(kBmpFontKey, bmpFontValue);
    const std::string languageLine = KeyLine(kLanguageKey, languageValue);
    Bytes out = old;
    bool sectionSeen = false, bmpFontDone = false, languageDone = false;
    bool atLineStart = true;
    size_t at = 0;
    while (!(bmpFontDone && languageDone) && at < old.size()) {
        size_t start = at;
        std::string text;
        bool endsLine = false;
        while (text.size() < 255) {
            if (at == old.size()) {
                endsLine = true;
                break;
            }
            char c = static_cast<char>(old[at++]);
            if (c == '\r' && at < old.size() && old[at] == '\n') {
                c = '\n';
                ++at;
            }
            text += c;
            if (c == '\n') {
                endsLine = true;
                break;
            }
        }
        // The keys are looked for as text: a zero byte hides what follows it.
        std::string visible = text.substr(0, text.find('\0'));
        if (visible.find("[Config]") != std::string::npos) sectionSeen = true;
        size_t textLength = text.size() - (text.back() == '\n' ? 1 : 0);
        auto replaceable = [&](const std::string& key, const std::string& line) {
            return atLineStart && endsLine && text.compare(0, key.size(), key) == 0 &&
                   textLength == line.size();
        };
        if (replaceable(kBmpFontKey, bmpFontLine)) {
            out[start + kBmpFontKey.size()] = static_cast<uint8_t>(bmpFontValue);
            bmpFontDone = true;
        } else if (replaceable(kLanguageKey, languageLine)) {
            out[start + kLanguageKey.size()] = static_cast<uint8_t>(languageValue);
            languageDone = true;
        }
        atLineStart = text.back() == '\n';
    }
    if (!sectionSeen) Append(&out, kSectionAppended);
    if (!bmpFontDone) Append(&out, "\r\n" + bmpFontLine + "\r\n");
    if (!languageDone) Append(&out, "\r\n" + languageLine + "\r\n");
    return out;
}

// Whether old[at] is the value of `key` standing at the start of a line.
bool IsValueOf(const Bytes& old, size_t at, const std::string& key) {
    if (at < key.size()) return false;
    size_t keyStart = at - key.size();
    if (keyStart > 0 && old[keyStart - 1] != '\n') return false;
    return std::equal(key.begin(), key.end(), old.begin() + keyStart);
}

// The rule, independent of how the file is read: every old byte stays but a
// key's value, which can only take the new value, and what follows the old
// bytes is one of the defined appendices.
void CheckChangesAreTheDefinedOnes(const Bytes& old, const Bytes& out, char bmpFontValue,
                                   char languageValue) {
    if (out.size() < old.size()) Fail("file shorter than before", out.size());
    for (size_t i = 0; i < old.size(); ++i) {
        if (out[i] == old[i]) continue;
        bool allowed = (IsValueOf(old, i, kBmpFontKey) && out[i] == bmpFontValue) ||
                       (IsValueOf(old, i, kLanguageKey) && out[i] == languageValue);
        if (!allowed) Fail("a byte other than a key's value changed", i);
    }
    std::string tail(out.begin() + static_cast<ptrdiff_t>(old.size()), out.end());
    for (int parts = 0; parts < 8; ++parts) {
        std::string defined;
        if (parts & 1) defined += kSectionAppended;
        if (parts & 2) defined += "\r\n" + KeyLine(kBmpFontKey, bmpFontValue) + "\r\n";
        if (parts & 4) defined += "\r\n" + KeyLine(kLanguageKey, languageValue) + "\r\n";
        if (tail == defined) return;
    }
    Fail("appended text is not a defined one", tail.size());
}

// Runs the update on a volume holding `old`, growing to at most capacity.
Bytes Update(const Bytes& old, uint32_t attributes, size_t capacity) {
    g_volume = MemoryVolume{};
    g_volume.path = kPath;
    g_volume.exists = true;
    g_volume.bytes = old;
    g_volume.attributes = attributes;
    g_volume.capacity = capacity;
    if (UpdateConfigFile() != 1) Fail("result", 0);
    if (g_volume.openHandles != 0) Fail("handles left open", g_volume.openHandles);
    uint32_t expected = attributes | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    if (g_volume.attributes != expected) Fail("attributes afterwards", g_volume.attributes);
    return g_volume.bytes;
}

void CheckMissingFileIsNotMade() {
    g_volume = MemoryVolume{};
    g_volume.path = kPath;
    UpdateConfigFile();
    if (g_volume.exists || g_volume.openHandles != 0) Fail("a missing file was made", 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    uint8_t choices = data[0];
    Bytes old(data + 1, data + size);

    if (!CopyBounded(g_installFolder, kFolder)) Fail("install folder", 0);
    g_chineseDisplayOk = choices & 1;
    g_uiLanguage = (choices >> 1 & 3) % 3;
    char bmpFontValue = g_chineseDisplayOk ? '0' : '1';
    char languageValue = static_cast<char>('0' + g_uiLanguage);
    uint32_t attributes = kOtherAttribute | (choices >> 3 & 3);

    Bytes expected = ExpectedFile(old, bmpFontValue, languageValue);
    Bytes out = Update(old, attributes, SIZE_MAX);
    if (out != expected) {
        size_t at = 0;
        while (at < out.size() && at < expected.size() && out[at] == expected[at]) ++at;
        Fail("file differs from the model at byte", at);
    }
    CheckChangesAreTheDefinedOnes(old, out, bmpFontValue, languageValue);

    // A disk that fills up while the keys are appended: the in-place changes
    // are made, and only the start of the appended text reaches the file.
    size_t growth = expected.size() - old.size();
    if (growth > 0) {
        size_t capacity = old.size() + (choices >> 5) * 5 % growth;
        Bytes cut = Update(old, attributes, capacity);
        if (cut.size() < old.size() || cut.size() > capacity ||
            !std::equal(cut.begin(), cut.end(), expected.begin())) {
            Fail("full disk: the file is not the start of the updated one", cut.size());
        }
    }

    CheckMissingFileIsNotMade();
    return 0;
}
