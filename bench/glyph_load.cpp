// How long the glyph font takes to load at start-up: LoadGlyphFont with the
// real payload 110 (inflate into the work buffer, four strips made and
// selected into their DCs, buffer freed), and for comparison the inflate
// alone. Prints the fastest, median and slowest of a number of runs in
// milliseconds. Not a test: nothing here passes or fails.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/globals.h"
#include "glyph/glyph.h"
#include "install/payload.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kRuns = 50;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    printf("%-28s min %7.3f ms   median %7.3f ms   max %7.3f ms   (%d runs)\n", what, times.front(),
           times[times.size() / 2], times.back(), static_cast<int>(times.size()));
}

}  // namespace

int main() {
    g_instance = nullptr;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);

    std::vector<double> load;
    for (int i = 0; i <= kRuns; ++i) {
        QueryPerformanceCounter(&start);
        GlyphFontOutcome outcome = LoadGlyphFont();
        QueryPerformanceCounter(&end);
        ReleaseGlyphFont();
        if (outcome != kGlyphFontLoaded) {
            printf("LoadGlyphFont failed with outcome %d\n", outcome);
            return 1;
        }
        if (i > 0) load.push_back(Milliseconds(start, end, frequency));   // run 0 warms up
    }

    std::unique_ptr<uint8_t[]> buffer(new uint8_t[kGlyphFontBufferSize]);
    std::vector<double> inflate;
    for (int i = 0; i <= kRuns; ++i) {
        QueryPerformanceCounter(&start);
        int ok = LoadPayload(IDP_GLYPH_FONT, buffer.get(), kGlyphFontBufferSize, nullptr);
        QueryPerformanceCounter(&end);
        if (!ok) return 1;
        if (i > 0) inflate.push_back(Milliseconds(start, end, frequency));
    }

    Report("LoadGlyphFont", load);
    Report("inflate of payload 110 only", inflate);
    return 0;
}
