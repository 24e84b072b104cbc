// Damaged payload streams against the payload store and the file writer.
//
// The fixtures are copies of one real product payload with single bits
// flipped, cut short, with a wrong checksum or with bytes after the end, plus
// streams sized to each buffer the program inflates into. The one property
// that matters for every one of them: the program never writes a file with
// wrong content. Either the payload is refused (result 0, no file created, an
// older file of that name left exactly as it was) or it is accepted with
// exactly the original bytes. Some flips land in bits that inflating passes
// over (padding after the final block, unused code lengths); those are
// accepted, and the counts per outcome are printed.
#include <windows.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/payload.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

enum Region { kHeader, kDeflate, kTrailer };
constexpr const char* kRegionNames[] = {"header", "deflate data", "Adler-32 trailer"};

struct BitFlip {
    int id;
    uint32_t byte;
    int bit;
    Region region;
};
struct Truncation {
    int id;
    uint32_t length;
};
struct TrailingBytes {
    int id;
    const char* what;
};
struct SizedStream {
    int exactId;   // inflates to exactly `size` bytes
    int overId;    // inflates to size + 1 bytes
    uint32_t size;
};

#include "damaged_streams.inc"

enum Outcome { kRefused, kOriginal, kWrongContent };
constexpr const char* kOutcomeNames[] = {"refused", "original bytes", "WRONG CONTENT"};

// Bytes past the capacity that inflating must never touch.
constexpr uint32_t kGuardBytes = 64;
constexpr uint8_t kGuardFill = 0xA5;
const Bytes kOlderBytes = {'o', 'l', 'd', 'e', 'r'};

Bytes OriginalBytes() {
    Bytes bytes(kOriginalLength);
    uint32_t length = 0;
    if (!LoadPayload(kOriginalStream, bytes.data(), kOriginalLength, &length) || length != kOriginalLength ||
        crc32(0, bytes.data(), length) != kOriginalCrc32) {
        return {};
    }
    return bytes;
}

// The bytes the sized streams inflate to; the generator makes the same.
Bytes SizedBytes(uint32_t size) {
    Bytes bytes(size);
    for (uint32_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(((i % 251) * 7 + 3) % 251);
    return bytes;
}

class DamagedPayloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyBounded(g_installFolder, folder.path().c_str()));
        original = OriginalBytes();
        ASSERT_EQ(kOriginalLength, original.size()) << "the undamaged stream must inflate";
    }
    void TearDown() override { g_installFolder[0] = '\0'; }

    // Loads and extracts payload `id` with a buffer of `capacity` bytes and
    // checks the property above against `expected`; returns the outcome.
    Outcome Check(int id, uint32_t capacity, const Bytes& expected) {
        Bytes buffer(capacity + kGuardBytes, kGuardFill);
        uint32_t length = 0;
        const int loaded = LoadPayload(id, buffer.data(), capacity, &length);
        for (uint32_t i = capacity; i < buffer.size(); ++i) {
            if (buffer[i] != kGuardFill) {
                ADD_FAILURE() << "inflating wrote past the capacity at byte " << i;
                break;
            }
        }
        Outcome outcome = kRefused;
        if (loaded) {
            outcome = length == expected.size() && std::equal(expected.begin(), expected.end(), buffer.begin())
                          ? kOriginal : kWrongContent;
        }

        // A new file: created only for an accepted payload.
        const std::string fresh = folder / "fresh.bin";
        EXPECT_EQ(loaded, ExtractPayload(id, "fresh.bin", buffer.data(), capacity, 1, 1, nullptr));
        if (loaded) {
            EXPECT_TRUE(ReadBytes(fresh) == expected) << "file content";
        } else {
            EXPECT_FALSE(FileExists(fresh)) << "a refused payload created a file";
        }

        // An older read-only hidden file of that name: replaced only by an
        // accepted payload, otherwise not touched at all.
        const std::string older = folder / "older.bin";
        EXPECT_TRUE(WriteBytes(older, kOlderBytes));
        EXPECT_TRUE(SetReadOnlyHidden(older));
        EXPECT_EQ(loaded, ExtractPayload(id, "older.bin", buffer.data(), capacity, 0, 0, nullptr));
        if (loaded) {
            EXPECT_TRUE(ReadBytes(older) == expected) << "replaced file content";
            EXPECT_EQ(0, ReadOnlyHiddenBits(older));
        } else {
            EXPECT_EQ(kOlderBytes, ReadBytes(older)) << "a refused payload changed the older file";
            EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ReadOnlyHiddenBits(older));
        }
        RemoveTree(fresh);
        RemoveTree(older);
        return outcome;
    }

    TempFolder folder;
    Bytes original;
};

// Room for the original and a little more, so that damage which makes the
// output longer is not masked by a full buffer.
constexpr uint32_t kRoomyCapacity = kOriginalLength + 4096;

TEST_F(DamagedPayloadTest, SingleBitFlipsNeverGiveAFileWithWrongContent) {
    int counts[3][3] = {};
    for (const BitFlip& flip : kBitFlips) {
        SCOPED_TRACE(testing::Message() << kRegionNames[flip.region] << ": byte " << flip.byte << " bit "
                                        << flip.bit << " (payload " << flip.id << ")");
        const Outcome outcome = Check(flip.id, kRoomyCapacity, original);
        EXPECT_NE(kWrongContent, outcome);
        // Every header flip breaks its check bits and every trailer flip the
        // checksum: those must always be refused.
        if (flip.region != kDeflate) {
            EXPECT_EQ(kRefused, outcome);
        }
        ++counts[flip.region][outcome];
    }
    for (int region = 0; region < 3; ++region) {
        printf("[ flips    ] %-17s: %3d refused, %d original bytes, %d wrong content\n", kRegionNames[region],
               counts[region][kRefused], counts[region][kOriginal], counts[region][kWrongContent]);
    }
    // The program's inflater passes over exactly the bits a reference
    // inflater passes over; any other acceptance would be suspicious.
    EXPECT_EQ(kReferenceHarmlessFlips, counts[kDeflate][kOriginal]);
}

TEST_F(DamagedPayloadTest, CutOrMisCheckedStreamsAreRefused) {
    struct Case {
        std::string what;
        int id;
    };
    std::vector<Case> cases = {{"zero-length stream", kEmptyStream}, {"wrong Adler-32", kWrongAdlerStream}};
    for (const Truncation& cut : kTruncations) {
        cases.push_back({"first " + std::to_string(cut.length) + " of " + std::to_string(kStreamLength) +
                             " bytes", cut.id});
    }
    PayloadRecord empty;
    ASSERT_TRUE(FindPayloadRecord(kEmptyStream, &empty)) << "the zero-length fixture has no record";
    ASSERT_EQ(0u, empty.storedBytes) << "the zero-length fixture is not empty";

    // With a buffer of exactly the original size, too: a stream cut inside
    // its trailer has inflated all its data by then.
    for (uint32_t capacity : {kOriginalLength, kRoomyCapacity}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << ", capacity " << capacity);
            EXPECT_EQ(kRefused, Check(c.id, capacity, original));
        }
    }
    printf("[ cuts     ] %zu streams, each with two capacities\n", cases.size());
}

// Bytes after a complete stream are not part of it: inflating stops at the
// stream's end, so the payload is still exactly the original.
TEST_F(DamagedPayloadTest, BytesAfterTheStreamNeverChangeTheFile) {
    for (const TrailingBytes& t : kTrailingBytes) {
        SCOPED_TRACE(t.what);
        const Outcome outcome = Check(t.id, kRoomyCapacity, original);
        EXPECT_NE(kWrongContent, outcome);
        printf("[ trailing ] %-16s: %s\n", t.what, kOutcomeNames[outcome]);
    }
}

// Each buffer the program inflates into takes a payload of exactly its size
// and refuses one byte more, without writing past its end.
TEST_F(DamagedPayloadTest, EachBufferTakesExactlyItsSize) {
    const uint32_t capacities[] = {kAgreementBufferSize, kGlyphFontBufferSize, kInstallBufferSize,
                                   kSpeechModuleBufferSize};
    ASSERT_EQ(std::size(capacities), std::size(kSizedStreams));
    for (size_t i = 0; i < std::size(capacities); ++i) {
        const SizedStream& sized = kSizedStreams[i];
        SCOPED_TRACE(testing::Message() << "capacity " << capacities[i]);
        ASSERT_EQ(capacities[i], sized.size) << "the fixture and the program disagree on a buffer size";
        const Bytes exact = SizedBytes(sized.size);
        EXPECT_EQ(kOriginal, Check(sized.exactId, sized.size, exact));
        EXPECT_EQ(kRefused, Check(sized.overId, sized.size, exact));
    }
}

}  // namespace
