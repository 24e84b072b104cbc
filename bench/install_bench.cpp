// Timings and memory of the install engine, measured side by side in one
// process so that a noisy shared machine affects both sides of each ratio:
//   - the whole install run (RunInstall of the 95 files into a fresh folder,
//     progress bar present, no questions) against the floor: the same payloads
//     inflated into one buffer and each written with a single fwrite, no
//     attributes, no shortcuts, no configuration edit;
//   - the check that runs inside RunInstall before its first change
//     (CheckInstallCanFinish), alone, into a fresh folder and over the
//     product just installed, against the floor;
//   - what each other step of the run adds over the floor (TimeSteps);
//   - the word base written through its weighted transcoding against the same
//     number of bytes written unchanged;
//   - the peak working set of this process around the first install run,
//     against the memory of the blocks the install inflates into.
// Prints one line per figure as "key value" pairs for scripts/bench.sh to
// tabulate. Not a test: nothing here passes or fails on a time.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/bounded.h"
#include "app/globals.h"
#include "bench/timing.h"
#include "app/busy_queue.h"
#include "install/config_file.h"
#include "install/earlier_install.h"
#include "install/file_attributes.h"
#include "install/inflate_ahead.h"
#include "install/install_folder.h"
#include "install/install_run.h"
#include "install/manifest.h"
#include "install/payload.h"
#include "install/preflight.h"
#include "install/shortcut_names.h"
#include "install/shortcuts.h"
#include "install/uninstall_entry.h"
#include "install/word_base.h"
#include "resources/resource_ids.h"

namespace {

size_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize;
}

size_t WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.WorkingSetSize;
}

// The wizard as the engine sees it: a window with the progress bar child.
HWND MakeWizardWindow() {
    InitCommonControls();
    HWND window = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPED, 0, 0, 300, 100, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 10, 10, 200, 16, window,
                    reinterpret_cast<HMENU>(IDC_PROGRESS), GetModuleHandleA(nullptr), nullptr);
    return window;
}

bool FreshFolder(char* out, size_t size, const char* base, const char* kind, int run) {
    if (snprintf(out, size, "%s\\%s-%d", base, kind, run) >= static_cast<int>(size)) return false;
    return CreateDirectoryA(out, nullptr) != 0;
}

// A fresh install folder made as the wizard and the silent run make it
// (EnterOrCreateInstallFolder), so that the run knows it was made for it.
bool FolderMadeForRun(char (&out)[MAX_PATH], const char* base, const char* kind, int run) {
    bool created = false;
    if (snprintf(out, sizeof out, "%s\\%s-%d", base, kind, run) >= static_cast<int>(sizeof out)) return false;
    return CopyBounded(g_installFolder, out) && EnterOrCreateInstallFolder(&created) && created;
}

// One install run into a fresh folder; returns milliseconds or -1.
double TimeInstall(const char* base, int run) {
    char folder[MAX_PATH];
    if (!FolderMadeForRun(folder, base, "install", run)) return -1;
    // The wizard's default answers, with desktop icons off and the word base
    // replaced, as before.
    InstallAnswers answers = {};
    if (!CopyBounded(answers.folder, folder)) return -1;
    answers.language = 1;
    answers.wordBase = kWordBaseReplace;
    double start = Now();
    int ok = RunInstall(answers) == kInstallDone;
    double end = Now();
    return ok ? end - start : -1;
}

// The check alone, as RunInstall makes it, for the install folder `folder`
// (made for the run, or holding the product); returns milliseconds or -1.
double TimeCheck(const char* folder) {
    if (!CopyBounded(g_installFolder, folder)) return -1;
    double start = Now();
    uint32_t productBytes;
    InstallCheck check = CheckInstallCanFinish(false, TakeInstallFolderMadeForRun(), &productBytes);
    double end = Now();
    return check == kInstallCanFinish ? end - start : -1;
}

// The floor: inflate each manifest payload into the same buffer and write it
// with one fwrite.
double TimeFloor(const char* base, int run, uint8_t* buffer) {
    char folder[MAX_PATH];
    if (!FreshFolder(folder, sizeof folder, base, "floor", run)) return -1;
    double start = Now();
    for (const ManifestEntry& entry : kManifest) {
        uint32_t length = 0;
        if (!LoadPayload(entry.identifier, buffer, kInstallBufferSize, &length)) return -1;
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s\\%s", folder, entry.fileName);
        FILE* file = fopen(path, "wb");
        if (file == nullptr) return -1;
        bool written = fwrite(buffer, 1, length, file) == length;
        if (fclose(file) != 0 || !written) return -1;
    }
    return Now() - start;
}

// What each step of the run adds over the floor, each timed alone:
//   - check: the check before the run, into a fresh folder;
//   - dictionaries: the 64 deletions of learned dictionaries (none there);
//   - attributes: every file written by the run's own writer with the
//     read-only and hidden bits the manifest asks for, less the same writes
//     without them, each into a fresh folder;
//   - progress: the progress bar's moves and repaints, and the looks at the
//     queue between files and steps;
//   - configuration: the update of zerezizu.ini;
//   - shortcuts: the Start-menu folder and its three shortcuts, through the
//     shell;
//   - entry: the uninstall entry in the registry;
//   - writer: every file through the run's writer without attributes,
//     inflated ahead on the second thread and written as it comes (less the
//     floor, in main: below zero where the two overlap).
// The word base's transcoding is timed apart (weighted against plain write);
// what is left is the run less the floor and all of these.
struct StepTimes {
    double check, dictionaries, attributes, progress, configuration, shortcuts, entry, writer;
};

// Every manifest file through the run's writer into a fresh folder, with the
// manifest's attributes or none, inflated ahead as the run does; milliseconds
// or -1.
double TimeWriter(const char* base, const char* kind, int run, bool attributes) {
    char folder[MAX_PATH];
    if (!FreshFolder(folder, sizeof folder, base, kind, run) || !CopyBounded(g_installFolder, folder)) return -1;
    int payloads[kManifestCount];
    for (size_t i = 0; i < kManifestCount; ++i) payloads[i] = kManifest[i].identifier;
    double start = Now();
    InflateAheadRun inflating(payloads, kManifestCount);
    if (!inflating.started) return -1;
    for (const ManifestEntry& entry : kManifest) {
        if (!WriteInflatedPayload(entry.fileName, attributes && entry.readOnly, attributes && entry.hidden)) {
            return -1;
        }
    }
    StopInflateAhead();
    return Now() - start;
}

bool TimeSteps(const char* base, int run, StepTimes* times) {
    char fresh[MAX_PATH];
    if (!FolderMadeForRun(fresh, base, "steps", run)) return false;
    double start = Now();
    uint32_t productBytes = 0;
    if (CheckInstallCanFinish(false, TakeInstallFolderMadeForRun(), &productBytes) != kInstallCanFinish) return false;
    times->check = Now() - start;

    start = Now();
    DeleteLearnedDictionaries();
    times->dictionaries = Now() - start;

    double plain = TimeWriter(base, "writer-plain", run, false);
    double withAttributes = TimeWriter(base, "writer", run, true);
    if (plain < 0 || withAttributes < 0) return false;
    times->attributes = withAttributes - plain;
    // The weighted transcoding is in both writes: taken out in main with the
    // word base's own figures.
    times->writer = plain;

    HWND bar = GetDlgItem(g_wizardWindow, IDC_PROGRESS);
    start = Now();
    for (size_t i = 0; i < kManifestCount; ++i) {
        AnswerSentMessagesNowAndThen();
        if (i + 1 == kManifestCount || kManifest[i + 1].progressStep != kManifest[i].progressStep) {
            SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(kManifest[i].progressStep), 0);
            UpdateWindow(bar);
            AnswerSentMessages();
        }
    }
    for (int position : {10, 94, 97, 100}) {   // before the files, and after the shortcuts
        SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        UpdateWindow(bar);
        AnswerSentMessages();
    }
    times->progress = Now() - start;

    // The configuration file as the writer left it in the last folder.
    start = Now();
    UpdateConfigFile();
    times->configuration = Now() - start;

    const ShortcutNames& names = ShortcutNamesFor(g_systemLanguage);
    start = Now();
    CreateStartMenuEntry(names.folderName, names.rows, kFolderPrograms);
    times->shortcuts = Now() - start;

    start = Now();
    WriteUninstallEntry(productBytes);
    times->entry = Now() - start;
    return true;
}

// The weighted transcoding as it was first written: one stream call per ASCII
// run, per group and per weight byte. Kept to show, in the same run, what
// filling a block of our own gains, and to check that both give the same bytes.
bool PutPiece(const uint8_t* bytes, size_t count, FILE* out) {
    return fwrite(bytes, 1, count, out) == count;
}

int WriteWeightedPerPiece(const uint8_t* data, size_t length, FILE* out) {
    const uint8_t marker = kWeightedWordBaseMarker;
    if (!PutPiece(&marker, 1, out)) return 0;
    size_t pos = 0;
    while (pos < length && data[pos] != 0) {
        size_t runStart = pos;
        while (pos < length && data[pos] != 0 && data[pos] < 0x80) ++pos;
        if (pos > runStart && !PutPiece(data + runStart, pos - runStart, out)) return 0;
        uint8_t weight = kFirstGroupWeight;
        while (pos < length && data[pos] >= 0x80) {
            if (length - pos < 3) return 1;
            if (!PutPiece(data + pos, 3, out)) return 0;
            if (!PutPiece(&weight, 1, out)) return 0;
            if (weight > 1) --weight;
            pos += 3;
        }
    }
    return 1;
}

int WriteToStdio(void* stream, const uint8_t* bytes, size_t count) {
    return fwrite(bytes, 1, count, static_cast<FILE*>(stream)) == count;
}

enum WordBaseWay { kWeighted, kWeightedPerPiece, kPlain };

double TimeWordBase(const char* path, const uint8_t* data, uint32_t length, WordBaseWay way) {
    double start = Now();
    FILE* file = fopen(path, "wb");
    if (file == nullptr) return -1;
    bool written = way == kWeighted           ? WriteWeightedWordBase(data, length, WriteToStdio, file) != 0
                   : way == kWeightedPerPiece ? WriteWeightedPerPiece(data, length, file) != 0
                                              : fwrite(data, 1, length, file) == length;
    if (fclose(file) != 0 || !written) return -1;
    return Now() - start;
}

// The weighted transcoding alone, into a sink that takes every byte and
// keeps none: what the weighted write costs beyond its bytes.
double TimeTranscodingAlone(const uint8_t* data, uint32_t length) {
    double start = Now();
    int done = WriteWeightedWordBase(data, length, [](void*, const uint8_t*, size_t) { return 1; }, nullptr);
    double end = Now();
    return done ? end - start : -1;
}

bool SameFileBytes(const char* pathA, const char* pathB) {
    FILE* a = fopen(pathA, "rb");
    FILE* b = fopen(pathB, "rb");
    bool same = a != nullptr && b != nullptr;
    while (same) {
        int x = fgetc(a), y = fgetc(b);
        if (x != y) same = false;
        if (x == EOF || y == EOF) break;
    }
    if (a) fclose(a);
    if (b) fclose(b);
    return same;
}

}  // namespace

int main(int argc, char** argv) {
    // bench_install <work folder> [install runs] [word-base runs]
    if (argc < 2) {
        fprintf(stderr, "usage: bench_install <work folder> [install runs] [word-base runs]\n");
        return 2;
    }
    const char* base = argv[1];
    int installRuns = argc > 2 ? atoi(argv[2]) : 5;
    int wordBaseRuns = argc > 3 ? atoi(argv[3]) : 9;
    if (installRuns < 1) installRuns = 1;
    if (wordBaseRuns < 1) wordBaseRuns = 1;
    CreateDirectoryA(base, nullptr);

    g_instance = GetModuleHandleA(nullptr);
    g_wizardWindow = MakeWizardWindow();
    g_systemLanguage = 0;
    g_uiLanguage = 1;
    g_chineseDisplayOk = 1;
    g_wantDesktopIcons = 0;

    // Memory: the first install run, before this program allocates anything
    // of its own, so the peak is the engine's.
    size_t before = WorkingSet();
    double first = TimeInstall(base, 0);
    size_t peak = PeakWorkingSet();
    if (first < 0) {
        printf("error install run 0 failed\n");
        return 1;
    }
    printf("memory working_set_before %lu peak_working_set %lu work_buffer %lu\n",
           static_cast<unsigned long>(before), static_cast<unsigned long>(peak),
           static_cast<unsigned long>(kInflatedBlocks * kInflatedBlockSize));
    fflush(stdout);

    std::vector<uint8_t> buffer(kInstallBufferSize);
    // Install and floor alternate, each run into its own fresh folder; the
    // first run above warmed the payload pages and the disk cache.
    // The check goes once into a fresh folder and once over the product the
    // run before it installed, where it opens every file.
    std::vector<double> install, floor, checkFresh, checkInstalled;
    std::vector<double> stepCheck, dictionaries, attributes, progress, configuration, shortcuts, entry, writer;
    for (int run = 1; run <= installRuns; ++run) {
        double a = TimeInstall(base, run);
        double b = TimeFloor(base, run, buffer.data());
        char fresh[MAX_PATH], installed[MAX_PATH];
        double c = FolderMadeForRun(fresh, base, "check", run) ? TimeCheck(fresh) : -1;
        snprintf(installed, sizeof installed, "%s\\install-%d", base, run);
        double d = TimeCheck(installed);
        StepTimes steps;
        bool stepsTimed = TimeSteps(base, run, &steps);
        if (a < 0 || b < 0 || c < 0 || d < 0 || !stepsTimed) {
            printf("error run %d failed (install %.1f, floor %.1f, check %.1f, %.1f, steps %d)\n", run, a, b, c, d,
                   stepsTimed);
            return 1;
        }
        install.push_back(a);
        floor.push_back(b);
        checkFresh.push_back(c);
        checkInstalled.push_back(d);
        stepCheck.push_back(steps.check);
        dictionaries.push_back(steps.dictionaries);
        attributes.push_back(steps.attributes);
        progress.push_back(steps.progress);
        configuration.push_back(steps.configuration);
        shortcuts.push_back(steps.shortcuts);
        entry.push_back(steps.entry);
        writer.push_back(steps.writer - b);
    }
    Print("install", install);
    Print("floor", floor);
    Print("check_fresh", checkFresh);
    Print("check_installed", checkInstalled);
    Print("step_check", stepCheck);
    Print("step_dictionaries", dictionaries);
    Print("step_attributes", attributes);
    Print("step_progress", progress);
    Print("step_configuration", configuration);
    Print("step_shortcuts", shortcuts);
    Print("step_entry", entry);
    Print("step_writer", writer);
    fflush(stdout);

    // Word base: the source-form payload, written both ways into one file.
    uint32_t length = 0;
    if (!LoadPayload(128, buffer.data(), kInstallBufferSize, &length)) {
        printf("error word base payload does not load\n");
        return 1;
    }
    char path[MAX_PATH], referencePath[MAX_PATH];
    snprintf(path, sizeof path, "%s\\%s", base, kWordBaseFileName);
    snprintf(referencePath, sizeof referencePath, "%s\\per-piece-%s", base, kWordBaseFileName);
    std::vector<double> weighted, perPiece, plain, alone;
    for (int run = 0; run <= wordBaseRuns; ++run) {
        double a = TimeWordBase(path, buffer.data(), length, kWeighted);
        double b = TimeWordBase(referencePath, buffer.data(), length, kWeightedPerPiece);
        double c = TimeWordBase(path, buffer.data(), length, kPlain);
        double d = TimeTranscodingAlone(buffer.data(), length);
        if (a < 0 || b < 0 || c < 0 || d < 0) {
            printf("error word base write failed\n");
            return 1;
        }
        if (run == 0) {   // warm-up; and the two transcodings must agree byte for byte
            TimeWordBase(path, buffer.data(), length, kWeighted);
            printf("wordbase_same_bytes %d\n", SameFileBytes(path, referencePath) ? 1 : 0);
            continue;
        }
        weighted.push_back(a);
        perPiece.push_back(b);
        plain.push_back(c);
        alone.push_back(d);
        // The ratio within the run as well: the plain write's time wanders
        // more than the weighted one's, and a run's two writes share its moment.
        printf("wordbase_ratio %.4f\n", a / c);
    }
    printf("wordbase_bytes %lu\n", static_cast<unsigned long>(length));
    Print("wordbase_weighted", weighted);
    Print("wordbase_per_piece", perPiece);
    Print("wordbase_plain", plain);
    Print("wordbase_transcoding_alone", alone);
    DestroyWindow(g_wizardWindow);
    return 0;
}
