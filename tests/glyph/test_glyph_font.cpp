// Loading and releasing the glyph font: the real payload, fixture payloads
// that fail to inflate or inflate too big, and device failures part-way
// through (by using up the process's GDI handles) and an allocation failure
// (by using up its address space). After every outcome the release must leave
// no handle of the font alive.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "app/globals.h"
#include "glyph/glyph.h"
#include "glyph_test_support.h"
#include "install/payload.h"
#include "runtime/heap.h"

namespace {

constexpr int kGlyphFontPayload = 110;

// Every handle the loaded glyph font recorded.
std::vector<HGDIOBJ> RecordedHandles() {
    const GlyphFontState& font = LoadedGlyphFont();
    std::vector<HGDIOBJ> handles;
    for (int k = 0; k < kGlyphStripCount; ++k) {
        if (font.strips[k]) handles.push_back(font.strips[k]);
        if (font.contexts[k]) handles.push_back(font.contexts[k]);
    }
    return handles;
}

// The same count without allocating, for use while memory is used up.
size_t CountRecordedHandles() {
    const GlyphFontState& font = LoadedGlyphFont();
    size_t count = 0;
    for (int k = 0; k < kGlyphStripCount; ++k) {
        count += (font.strips[k] != nullptr) + (font.contexts[k] != nullptr);
    }
    return count;
}

// Releases the font and checks that none of its handles is still an object.
void ExpectReleaseFreesEverything() {
    std::vector<HGDIOBJ> handles = RecordedHandles();
    ReleaseGlyphFont();
    for (HGDIOBJ handle : handles) EXPECT_EQ(GetObjectType(handle), 0u) << handle;
    EXPECT_TRUE(RecordedHandles().empty());
    for (int k = 0; k < kGlyphStripCount; ++k) EXPECT_EQ(GlyphDeviceContext(k), nullptr);
    ReleaseGlyphFont();   // a second release has nothing left to do
}

TEST(LoadGlyphFont, RealPayloadMakesFourStripsInTheirOwnContexts) {
    g_instance = nullptr;
    std::unique_ptr<uint8_t[]> payload(new uint8_t[kGlyphFontBufferSize]);
    uint32_t length = 0;
    ASSERT_EQ(LoadPayload(kGlyphFontPayload, payload.get(), kGlyphFontBufferSize, &length), 1);
    ASSERT_EQ(length, static_cast<uint32_t>(kGlyphFontBytes));

    ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded);
    const GlyphFontState& font = LoadedGlyphFont();
    for (int k = 0; k < kGlyphStripCount; ++k) {
        SCOPED_TRACE(k);
        BITMAP strip = {};
        ASSERT_EQ(GetObjectA(font.strips[k], sizeof strip, &strip), static_cast<int>(sizeof strip));
        EXPECT_EQ(strip.bmWidth, 512);
        EXPECT_EQ(strip.bmHeight, 944);
        EXPECT_EQ(strip.bmPlanes, 1);
        EXPECT_EQ(strip.bmBitsPixel, 1);
        EXPECT_EQ(GetObjectType(font.contexts[k]), static_cast<DWORD>(OBJ_MEMDC));
        EXPECT_EQ(GlyphDeviceContext(k), font.contexts[k]);
        EXPECT_EQ(GetCurrentObject(font.contexts[k], OBJ_BITMAP), font.strips[k]);
        EXPECT_NE(font.previousBitmaps[k], nullptr);
        // Strip k is bytes k * 60,416 onward of the inflated font.
        std::vector<uint8_t> bits(kGlyphStripBytes);
        ASSERT_EQ(GetBitmapBits(font.strips[k], kGlyphStripBytes, bits.data()), kGlyphStripBytes);
        EXPECT_EQ(memcmp(bits.data(), payload.get() + k * kGlyphStripBytes, kGlyphStripBytes), 0);
    }
    EXPECT_EQ(GlyphDeviceContext(-1), nullptr);
    EXPECT_EQ(GlyphDeviceContext(kGlyphStripCount), nullptr);

    ExpectReleaseFreesEverything();
}

TEST(LoadGlyphFont, LoadingTwiceKeepsOnlyTheSecondFont) {
    g_instance = nullptr;
    ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded);
    std::vector<HGDIOBJ> first = RecordedHandles();
    ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded);
    for (HGDIOBJ handle : first) EXPECT_EQ(GetObjectType(handle), 0u) << handle;
    ExpectReleaseFreesEverything();
}

struct PayloadCase {
    const char* fixture;   // glyph_fixture_<name>.dll, or null: a module without payload 110
    GlyphFontOutcome outcome;
};

TEST(LoadGlyphFont, OutcomeFollowsTheInflateOfThePayload) {
    const PayloadCase cases[] = {
        {"font", kGlyphFontLoaded},
        {"exact", kGlyphFontLoaded},             // inflates to exactly 307,200 bytes
        {"oversize", kGlyphFontInflateFailed},   // inflates to 307,201 bytes
        {"damaged", kGlyphFontInflateFailed},
        {nullptr, kGlyphFontInflateFailed},
    };
    for (const PayloadCase& c : cases) {
        SCOPED_TRACE(c.fixture ? c.fixture : "no payload 110");
        std::unique_ptr<PayloadModule> module;
        if (c.fixture) {
            module.reset(new PayloadModule(c.fixture));
            ASSERT_NE(module->module, nullptr);
        } else {
            g_instance = GetModuleHandleA("gdi32.dll");
        }
        EXPECT_EQ(LoadGlyphFont(), c.outcome);
        if (c.outcome == kGlyphFontLoaded) {
            EXPECT_EQ(RecordedHandles().size(), 2u * kGlyphStripCount);
        } else {
            EXPECT_TRUE(RecordedHandles().empty());
        }
        ExpectReleaseFreesEverything();
        g_instance = nullptr;
    }
}

// Holds every GDI handle the process can still get, then gives `spare` back.
struct GdiHandleHog {
    explicit GdiHandleHog(int spare) {
        for (;;) {
            HBITMAP bitmap = CreateBitmap(1, 1, 1, 1, nullptr);
            if (!bitmap) break;
            held.push_back(bitmap);
        }
        for (int i = 0; i < spare && !held.empty(); ++i) {
            DeleteObject(held.back());
            held.pop_back();
        }
    }
    ~GdiHandleHog() {
        for (HBITMAP bitmap : held) DeleteObject(bitmap);
    }
    std::vector<HBITMAP> held;
};

// LoadGlyphFont makes bitmap 0, DC 0, bitmap 1, DC 1, ... in this order, one
// handle each; with `spare` handles left it stops at the next one.
TEST(LoadGlyphFont, DeviceFailurePartWayKeepsWhatWasMadeForRelease) {
    g_instance = nullptr;
    const int spares[] = {0, 1, 2, 3, 7};
    for (int spare : spares) {
        SCOPED_TRACE(spare);
        GlyphFontOutcome outcome;
        std::vector<HGDIOBJ> handles;
        {
            GdiHandleHog hog(spare);
            ASSERT_GT(hog.held.size(), 1000u);
            outcome = LoadGlyphFont();
            handles = RecordedHandles();
            // Released while the handles are still short, so none of the
            // font's handle numbers can have been given out again.
            ExpectReleaseFreesEverything();
        }
        EXPECT_EQ(outcome, kGlyphFontDeviceFailed);
        EXPECT_EQ(handles.size(), static_cast<size_t>(spare));
    }
}

// Reserves all free address space and then takes the program's heap's
// remaining blocks of the glyph font's buffer size (through the runtime's
// AllocateBlock, as the font loader does), until it cannot give one more.
// Its own lists are sized beforehand: they must not grow meanwhile.
struct AddressSpaceHog {
    AddressSpaceHog() {
        reserved.reserve(65536);
        taken.reserve(4096);
        for (SIZE_T size = 1u << 30; size >= 65536;) {
            void* block = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
            if (block && reserved.size() < reserved.capacity()) {
                reserved.push_back(block);
            } else {
                if (block) VirtualFree(block, 0, MEM_RELEASE);
                size /= 2;
            }
        }
        for (;;) {
            void* block = AllocateBlock(kGlyphFontBufferSize);
            if (!block) break;
            taken.push_back(block);
            if (taken.size() == taken.capacity()) break;
        }
    }
    ~AddressSpaceHog() {
        for (void* block : taken) FreeBlock(block);
        for (void* block : reserved) VirtualFree(block, 0, MEM_RELEASE);
    }
    std::vector<void*> reserved;
    std::vector<void*> taken;
};

TEST(LoadGlyphFont, NoMemoryForTheWorkBufferMakesNothing) {
    g_instance = nullptr;
    GlyphFontOutcome outcome;
    size_t handleCount;
    {
        AddressSpaceHog hog;
        outcome = LoadGlyphFont();
        handleCount = CountRecordedHandles();
    }
    EXPECT_EQ(outcome, kGlyphFontNoMemory);
    EXPECT_EQ(handleCount, 0u);
    ExpectReleaseFreesEverything();
}

}  // namespace
