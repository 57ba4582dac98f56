#include "platform/debug_channel.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "platform/process.h"
#include "support/TestEnv.h"

namespace {

using platform::DebugChannel;
using platform::Process;
using testing_support::ScopedEnv;
using Records = std::vector<std::string>;

std::string HelperLine(const std::string& name, const std::string& args) {
    return platform::QuoteArgument(std::string(MOVREX_TEST_HELPER_DIR) + "/" + name) + " " + args;
}

std::string Header(uint32_t length) {
    std::string header(4, '\0');
    for (int i = 0; i < 4; ++i) header[i] = static_cast<char>(length >> (8 * i));
    return header;
}

std::string Record(const std::string& text) {
    return Header(static_cast<uint32_t>(text.size())) + text;
}

struct Capture {
    bool clean = false;
    Records records;
};

Capture ReadChannel(DebugChannel& channel) {
    Capture capture;
    capture.clean = channel.ReadAll([&](const std::string& r) { capture.records.push_back(r); });
    return capture;
}

// Feeds `pieces` into a pipe one write at a time, pausing between them so that the reader sees
// records cut at every boundary the pieces make.
Capture ReadPieces(const std::vector<std::string>& pieces) {
    int fds[2];
    EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0);
    std::thread writer([&] {
        for (const std::string& piece : pieces) {
            EXPECT_EQ(write(fds[1], piece.data(), piece.size()), ssize_t(piece.size()));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        close(fds[1]);
    });
    DebugChannel channel;
    channel.Adopt(fds[0]);
    Capture capture = ReadChannel(channel);
    writer.join();
    return capture;
}

Capture StartAndRead(const std::string& actions, int* exitCode = nullptr) {
    DebugChannel channel;
    Process child;
    std::string error;
    platform::StartOptions options{platform::ShowState::MinimizedNoActivate,
                                   platform::PriorityClass::Idle, true};
    EXPECT_TRUE(child.Start(HelperLine("proc_debug", actions), options, &error, &channel)) << error;
    Capture capture = ReadChannel(channel);
    int code = child.Wait();
    if (exitCode) *exitCode = code;
    return capture;
}

TEST(DebugChannel, ReadsRecordsHoweverTheyArriveAndRejectsMalformedOnes) {
    const std::string max(platform::kMaxDebugRecord, 'm');
    const struct {
        const char* name;
        std::vector<std::string> pieces;
        bool clean;
        Records records;
    } cases[] = {
        {"nothing", {}, true, {}},
        {"whole records",
         {Record("one") + Record("") + Record("Decimate: 13: 1.53")},
         true,
         {"one", "", "Decimate: 13: 1.53"}},
        {"cut everywhere",
         {"\x03", std::string("\0\0", 2), std::string("\0t", 2), "w", "o"},
         true,
         {"two"}},
        {"largest record", {Record(max)}, true, {max}},
        {"length too large",
         {Record("ok") + Header(platform::kMaxDebugRecord + 1) + "x"},
         false,
         {"ok"}},
        {"ends in a body", {Record("ok") + Header(10) + "abc"}, false, {"ok"}},
        {"ends in a header", {Record("ok") + std::string("\x01\0", 2)}, false, {"ok"}},
    };
    for (const auto& c : cases) {
        Capture capture = ReadPieces(c.pieces);
        EXPECT_EQ(capture.clean, c.clean) << c.name;
        EXPECT_EQ(capture.records, c.records) << c.name;
    }
}

TEST(DebugChannel, ExceptionFromTheConsumerLeavesTheChannelClosable) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    std::string bytes = Record("boom");
    ASSERT_EQ(write(fds[1], bytes.data(), bytes.size()), ssize_t(bytes.size()));
    DebugChannel channel;
    channel.Adopt(fds[0]);
    EXPECT_THROW(channel.ReadAll([](const std::string&) { throw std::runtime_error("x"); }),
                 std::runtime_error);
    channel.Close();
    EXPECT_EQ(channel.Fd(), -1);
    EXPECT_FALSE(channel.ReadAll([](const std::string&) {}));
    close(fds[1]);
}

TEST(OutputDebugString, WritesCutRecordsOnlyToAPipeAndSurvivesAGoneReader) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    {
        ScopedEnv fd("MOVREX_DEBUG_FD", std::to_string(fds[1]));
        EXPECT_EQ(platform::InheritedDebugFd(), fds[1]);
        platform::OutputDebugString("first");
        platform::OutputDebugString(std::string(5000, 'x'));
        platform::OutputDebugString("");
    }
    close(fds[1]);
    DebugChannel channel;
    channel.Adopt(fds[0]);
    Capture capture = ReadChannel(channel);
    EXPECT_TRUE(capture.clean);
    EXPECT_EQ(capture.records, Records({"first", std::string(platform::kMaxDebugRecord, 'x'), ""}));

    // Descriptors that are not a pipe's writing end, or no number at all, get nothing.
    testing_support::TempDir dir;
    int file = open(dir.File("f").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    for (std::string value : {std::to_string(file), std::to_string(fds[0]), std::string("9x"),
                              std::string("-1"), std::string("99999999999"), std::string()}) {
        ScopedEnv fd("MOVREX_DEBUG_FD", value);
        EXPECT_EQ(platform::InheritedDebugFd(), -1) << value;
        platform::OutputDebugString("stray");
    }
    EXPECT_EQ(std::filesystem::file_size(dir.File("f")), 0u);
    close(file);

    // The reader has gone: the write fails quietly instead of ending this process.
    close(fds[0]);
    ScopedEnv fd("MOVREX_DEBUG_FD", std::to_string(fds[1]));
    platform::OutputDebugString("nobody listens");
    sigset_t pending;
    sigpending(&pending);
    EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
    close(fds[1]);
}

TEST(DebugChannel, CarriesAChildsRecords) {
    int exitCode = -1;
    Capture capture = StartAndRead("say:one \"say:two words\" big say:ü", &exitCode);
    EXPECT_TRUE(capture.clean);
    EXPECT_EQ(capture.records,
              Records({"one", "two words", std::string(platform::kMaxDebugRecord, 'x'), "ü"}));
    EXPECT_EQ(exitCode, 0);
}

TEST(DebugChannel, LastsUntilAGrandchildHoldingItEnds) {
    DebugChannel channel;
    Process child;
    ASSERT_TRUE(child.Start(HelperLine("proc_debug", "say:first child orphan say:late"),
                            {{}, {}, true}, nullptr, &channel));
    bool childEndedFirst = false;
    Records records;
    EXPECT_TRUE(channel.ReadAll([&](const std::string& r) {
        if (r == "late") childEndedFirst = child.WaitFor(0).has_value();
        records.push_back(r);
    }));
    EXPECT_EQ(records, Records({"first", "late"}));
    EXPECT_TRUE(childEndedFirst);
}

TEST(DebugChannel, MalformedRecordFromAChildEndsTheCaptureWithoutHangingIt) {
    int exitCode = -1;
    // After the bad record the child goes on writing; it must neither block nor die of SIGPIPE.
    std::string more;
    for (int i = 0; i < 40; ++i) more += " big";
    Capture capture = StartAndRead("say:ok raw" + more, &exitCode);
    EXPECT_FALSE(capture.clean);
    EXPECT_EQ(capture.records, Records({"ok"}));
    EXPECT_EQ(exitCode, 0);

    capture = StartAndRead("say:ok half", &exitCode);
    EXPECT_FALSE(capture.clean);
    EXPECT_EQ(capture.records, Records({"ok"}));
}

bool HoldsPipe(platform::ProcessId pid, ino_t inode) {
    std::string wanted = "pipe:[" + std::to_string(inode) + "]";
    std::error_code ec;
    for (const auto& entry :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        if (std::filesystem::read_symlink(entry.path(), ec).string() == wanted) return true;
    }
    return false;
}

TEST(DebugChannel, ChildrenStartedMeanwhileByOtherThreadsDoNotHoldIt) {
    std::atomic<bool> stop{false};
    std::vector<Process> sleepers;
    std::thread starter([&] {
        while (!stop && sleepers.size() < 200) {
            Process sleeper;
            if (sleeper.Start(HelperLine("proc_sleeper", "20000"), {})) {
                sleepers.push_back(std::move(sleeper));
            }
        }
    });
    std::vector<ino_t> channels;
    for (int round = 0; round < 10; ++round) {
        DebugChannel channel;
        Process child;
        ASSERT_TRUE(
            child.Start(HelperLine("proc_debug", "say:x"), {{}, {}, true}, nullptr, &channel));
        struct stat st;
        ASSERT_EQ(fstat(channel.Fd(), &st), 0);
        channels.push_back(st.st_ino);
        // A sleeper holding the writing end would keep this waiting until it ends.
        Capture capture = ReadChannel(channel);
        EXPECT_TRUE(capture.clean);
        EXPECT_EQ(capture.records, Records({"x"}));
        EXPECT_EQ(child.Wait(), 0);
    }
    stop = true;
    starter.join();
    for (Process& sleeper : sleepers)
        for (ino_t inode : channels) EXPECT_FALSE(HoldsPipe(sleeper.Id(), inode));
    ASSERT_FALSE(sleepers.empty());
    for (Process& sleeper : sleepers) {
        EXPECT_TRUE(sleeper.Running());
        sleeper.Terminate();
        sleeper.Wait();
    }
}

}  // namespace
