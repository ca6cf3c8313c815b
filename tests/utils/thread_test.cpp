#include "utils/Thread.h"

#include "platform/DebugOutput.h"

#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <vector>

namespace {

std::string ThreadNameOf(uint32_t tid)
{
    std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

}  // namespace

TEST(Thread, RunsOnlyAfterResumeAndLogsBeginEnd)
{
    std::mutex m;
    std::vector<std::string> lines;
    Platform::SetDebugOutputSink([&](std::string_view line) {
        std::lock_guard<std::mutex> lock(m);
        lines.emplace_back(line);
    });
    std::atomic<int> runs{0};
    int value = 41;
    std::string seenName;
    {
        Utils::Thread thread(&value, L"downloader-worker", [&](void* arg) {
            ++*static_cast<int*>(arg);
            ++runs;
        });
        ASSERT_TRUE(thread.IsValid());
        ASSERT_NE(thread.GetThreadId(), 0u);
        seenName = ThreadNameOf(thread.GetThreadId());
        EXPECT_EQ(runs.load(), 0);  // created suspended
        thread.Resume();
        thread.Join();
        EXPECT_EQ(thread.GetThreadId(), 0xFFFFFFFFu);
    }
    Platform::SetDebugOutputSink({});
    EXPECT_EQ(runs.load(), 1);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(seenName, "downloader-work");  // the kernel keeps 15 bytes
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("(Utils::Thread::CallBack)"), std::string::npos);
    EXPECT_NE(lines[0].find("THREAD BEGIN\r\n"), std::string::npos);
    EXPECT_NE(lines[1].find("THREAD END\r\n"), std::string::npos);
}

TEST(Thread, EmptyNameAndNeverResumed)
{
    std::atomic<bool> ran{false};
    {
        Utils::Thread thread(nullptr, L"", [&](void*) { ran = true; });
        EXPECT_EQ(ThreadNameOf(thread.GetThreadId()), "t" + std::to_string(thread.GetThreadId()));
    }  // destroyed without Resume: must not hang, must not run
    EXPECT_FALSE(ran.load());

    Utils::Thread noWork(nullptr, L"x", nullptr);
    noWork.Resume();
    noWork.Join();
}
