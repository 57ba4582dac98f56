// Damaged files: every broken size, count or offset ends Open with false and a message, never with
// a crash, a read past a buffer or a scan that does not end.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "avi/AviFormat.h"
#include "avi/AviSplit.h"
#include "avi/AviTestFile.h"
#include "support/TestEnv.h"

namespace {

using avitest::AviPlan;
using avitest::BuiltAvi;
using avitest::TestChunk;

std::vector<TestChunk> Mixed(int frames) {
    std::vector<TestChunk> out;
    for (int n = 0; n < frames; ++n) {
        out.push_back({0, uint32_t(200 + 7 * n), n % 4 == 0});
        if (n % 2) out.push_back({1, 64, false});
    }
    return out;
}

// Two RIFFs with standard indexes, an "idx1" for the first, a "dmlh" and two streams: every
// level a reader walks through.
BuiltAvi Reference(bool openDml) {
    AviPlan plan;
    plan.chunks = Mixed(12);
    if (openDml) {
        plan.riffBreaks = {10};
        plan.superIndex = true;
        plan.odmlFrames = 12;
    }
    return avitest::MakeAvi(plan);
}

struct Outcome {
    bool opened = false;
    std::string error;
};

Outcome OpenBytes(const testing_support::TempDir& dir, const std::string& bytes) {
    // A new file each time: rewriting one file in place makes the file system flush it on close.
    const std::string path = dir.Write("damaged.avi", bytes);
    struct Remove {
        const std::string& path;
        ~Remove() { std::filesystem::remove(path); }
    } remove{path};
    TAVISplitSearch search;
    Outcome out{search.Open(path), search.LastError()};
    if (out.opened) {
        // Whatever was accepted must be usable.
        int64_t frames = 0;
        for (const auto& e : search.Index()) {
            frames += e.IsVideo();
            EXPECT_LE(e.Offset + int64_t(e.Size), search.FileSize());
        }
        const int32_t cut = search.FindSplitFrame(0, 1);
        EXPECT_GE(cut, 0);
        EXPECT_LE(cut, frames);
        EXPECT_LE(search.FindSplitFrame(cut, 1), frames);
    } else {
        EXPECT_EQ(out.error.find(path), 0u) << out.error;
    }
    return out;
}

std::string WithU32(std::string bytes, int64_t pos, uint32_t value) {
    bytes.replace(size_t(pos), 4, avitest::U32(value));
    return bytes;
}

TEST(AviSplitDamage, BrokenSizesAtEveryLevelNeverCrashOrHang) {
    testing_support::TempDir dir;
    for (bool openDml : {false, true}) {
        const BuiltAvi avi = Reference(openDml);
        const std::string good = avi.bytes.Flatten();
        ASSERT_TRUE(OpenBytes(dir, good).opened);
        for (const auto& [name, pos] : avi.at) {
            const uint32_t real =
                avi::LoadU32(reinterpret_cast<const uint8_t*>(good.data()) + pos + 4);
            for (uint32_t bad : {0u, 1u, 3u, 4u, real - 1, real + 1, real + 100000, 0x7FFFFFFFu,
                                 0xFFFFFFF0u, 0xFFFFFFFFu}) {
                SCOPED_TRACE(name + " size " + std::to_string(bad));
                OpenBytes(dir, WithU32(good, pos + 4, bad));
            }
        }
    }
}

TEST(AviSplitDamage, SizesPastTheirParentOrTheFileAreReportedWithTheOffset) {
    testing_support::TempDir dir;
    const BuiltAvi plain = Reference(false);
    const BuiltAvi odml = Reference(true);
    struct Case {
        const BuiltAvi* avi;
        std::string mark;
        uint32_t size;
        std::string words;
    };
    const std::vector<Case> cases = {
        {&plain, "avih", 0xFFFFFF00u, "main header \"avih\""},
        {&plain, "hdrl", 0x7FFFFFF0u, "runs past the end of the file"},
        {&plain, "strh0", 5000, "runs past the end of the list that holds it"},
        {&plain, "idx1", 1u << 30, "\"idx1\" index"},
        {&odml, "movi0", 0xFFFFFFF0u, "list at offset"},
        {&odml, "dmlh", 2, "too short to hold the frame count"},
        {&odml, "indx0", 10, "too small for a header"},
    };
    for (const auto& c : cases) {
        const std::string bytes = WithU32(c.avi->bytes.Flatten(), c.avi->at.at(c.mark) + 4, c.size);
        const Outcome out = OpenBytes(dir, bytes);
        EXPECT_FALSE(out.opened) << c.mark;
        EXPECT_NE(out.error.find(c.words), std::string::npos) << c.mark << ": " << out.error;
        EXPECT_NE(out.error.find("at offset " + std::to_string(c.avi->at.at(c.mark))),
                  std::string::npos)
            << out.error;
    }
}

TEST(AviSplitDamage, ARiffLongerThanTheFileIsReadAsACutFile) {
    testing_support::TempDir dir;
    const BuiltAvi avi = Reference(false);
    EXPECT_TRUE(OpenBytes(dir, WithU32(avi.bytes.Flatten(), 4, 0xFFFFFFF0u)).opened);
}

TEST(AviSplitDamage, CountsLargerThanTheirChunksAreRefused) {
    testing_support::TempDir dir;
    const BuiltAvi avi = Reference(true);
    const std::string good = avi.bytes.Flatten();
    // Entry counts sit 12 bytes into both index chunks (after code, size, and four header bytes).
    for (const std::string mark : {"indx0", "indx1", "ix0.0", "ix1.1"}) {
        for (uint32_t count : {9u, 1000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            const Outcome out = OpenBytes(dir, WithU32(good, avi.at.at(mark) + 12, count));
            EXPECT_FALSE(out.opened) << mark << count;
            EXPECT_NE(out.error.find("entries but its chunk holds"), std::string::npos)
                << out.error;
        }
    }
}

TEST(AviSplitDamage, SuperIndexEntriesThatPointNowhereAreRefused) {
    testing_support::TempDir dir;
    const BuiltAvi avi = Reference(true);
    const std::string good = avi.bytes.Flatten();
    const int64_t firstEntry = avi.at.at("indx0") + 8 + 24;
    const uint32_t ix1 = uint32_t(avi.at.at("ix0.1"));
    for (uint32_t target : {uint32_t(good.size()), uint32_t(good.size()) - 20, ix1, 0u, 12u}) {
        const Outcome out = OpenBytes(dir, WithU32(good, firstEntry, target));
        EXPECT_FALSE(out.opened) << target << ": " << out.error;
    }
    // The second super index entry's offset made huge (its high word).
    EXPECT_FALSE(OpenBytes(dir, WithU32(good, firstEntry + 16 + 4, 0x80000000u)).opened);
}

TEST(AviSplitDamage, StandardIndexEntriesPastTheFileAreRefused) {
    testing_support::TempDir dir;
    const BuiltAvi avi = Reference(true);
    const std::string good = avi.bytes.Flatten();
    const int64_t firstEntry = avi.at.at("ix0.0") + 8 + 24;
    const Outcome far = OpenBytes(dir, WithU32(good, firstEntry, 0xFFFFFF00u));
    EXPECT_FALSE(far.opened);
    EXPECT_NE(far.error.find("points past the end of the file"), std::string::npos) << far.error;
    // A size of nearly 2 GiB, with the key-frame bit clear.
    EXPECT_FALSE(OpenBytes(dir, WithU32(good, firstEntry + 4, 0x7FFFFFF0u)).opened);
    // A base offset past the end of the file.
    EXPECT_FALSE(
        OpenBytes(dir, WithU32(good, avi.at.at("ix1.1") + 8 + 12 + 4, 0x10000000u)).opened);
}

TEST(AviSplitDamage, EveryTruncationIsRefused) {
    testing_support::TempDir dir;
    for (bool openDml : {false, true}) {
        const std::string good = Reference(openDml).bytes.Flatten();
        for (size_t length = 0; length < good.size(); ++length) {
            const Outcome out = OpenBytes(dir, good.substr(0, length));
            ASSERT_FALSE(out.opened) << length << " of " << good.size();
        }
    }
}

TEST(AviSplitDamage, RandomlyFlippedBytesNeverCrash) {
    testing_support::TempDir dir;
    std::mt19937 random(20240611);
    for (bool openDml : {false, true}) {
        const std::string good = Reference(openDml).bytes.Flatten();
        for (int round = 0; round < 1500; ++round) {
            std::string bytes = good;
            const int flips = 1 + int(random() % 4);
            for (int k = 0; k < flips; ++k) bytes[random() % bytes.size()] = char(random());
            OpenBytes(dir, bytes);
        }
    }
}

std::string Nested(int depth) {
    std::string inner = avitest::Chunk("avih", std::string(56, '\0'));
    for (int k = 0; k < depth; ++k) inner = avitest::List("LIST", "hdrl", inner);
    return inner;
}

TEST(AviSplitDamage, DeeplyNestedListsAreRefused) {
    testing_support::TempDir dir;
    const Outcome out = OpenBytes(dir, avitest::List("RIFF", "AVI ", Nested(5000)));
    EXPECT_FALSE(out.opened);
    EXPECT_NE(out.error.find("nested"), std::string::npos) << out.error;
}

TEST(AviSplitDamage, EmptyChunksAndListsEndTheScan) {
    testing_support::TempDir dir;
    std::string body = avitest::List("LIST", "hdrl",
                                     avitest::Head("JUNK", 0) + avitest::List("LIST", "odml", "") +
                                         avitest::List("LIST", "strl", avitest::Head("strh", 0)) +
                                         std::string(64, '\0'));
    for (int k = 0; k < 1000; ++k) body += avitest::Head("JUNK", 0);
    body += avitest::List("LIST", "movi", avitest::Chunk("00dc", "ab"));
    body += avitest::Chunk("idx1", "00dc" + avitest::U32(0x10) + avitest::U32(4) + avitest::U32(2));
    EXPECT_TRUE(OpenBytes(dir, avitest::List("RIFF", "AVI ", body)).opened);
    // A list whose size leaves no room for its type.
    const Outcome out =
        OpenBytes(dir, avitest::List("RIFF", "AVI ", avitest::Head("LIST", 0) + body));
    EXPECT_FALSE(out.opened);
    EXPECT_NE(out.error.find("no room for a list type"), std::string::npos) << out.error;
}

TEST(AviSplitDamage, AnIndexClaimingMillionsOfEntriesIsRefusedBeforeAllocating) {
    testing_support::TempDir dir;
    // A sparse file of 1.2 GiB whose "idx1" claims 80 million entries.
    const uint32_t idx1Size = 80u << 24;
    const std::string head = avitest::Head("RIFF", idx1Size + 4 + 8 + 12) + "AVI " +
                             avitest::List("LIST", "movi", "") + avitest::Head("idx1", idx1Size);
    const std::string path = dir.Write("huge.avi", head);
    std::filesystem::resize_file(path, head.size() + idx1Size);
    TAVISplitSearch search;
    EXPECT_FALSE(search.Open(path));
    EXPECT_NE(search.LastError().find("more than a film has"), std::string::npos)
        << search.LastError();
}

}  // namespace
