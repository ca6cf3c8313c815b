#include "utils/InstanceMutex.h"
#include "utils/Stopwatch.h"
#include "utils/System.h"

#include "common/test_files.h"
#include "platform/DebugOutput.h"
#include "utils/ScopedEnv.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(CheckNetwork, FlagsAndVerdict)
{
    std::vector<std::string> lines;
    Platform::SetDebugOutputSink([&](std::string_view line) { lines.emplace_back(line); });
    struct Case {
        Platform::Connectivity state;
        uint32_t result;
        const char* logged;
    } cases[] = {
        {{false, 0, false}, 0x0, nullptr},
        {{true, 0x0, false}, 0x10000, "GetConnectivity 0"},
        {{true, 0x20, false}, 0x20020, "get_IsConnectedToInternet:0"},
        {{true, 0x40, true}, 0x40, nullptr},
    };
    for (const Case& c : cases) {
        lines.clear();
        EXPECT_EQ(Utils::CheckNetwork(c.state), c.result);
        if (c.logged == nullptr) {
            EXPECT_TRUE(lines.empty());
        } else {
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_NE(lines[0].find("(Utils::CheckNetwork)"), std::string::npos);
            EXPECT_EQ(lines[0].substr(lines[0].size() - std::string(c.logged).size()), c.logged);
        }
    }
    Platform::SetDebugOutputSink({});
}

TEST(InstanceMutex, SecondHolderIsRefused)
{
    lexivar::test::ScopedEnv env("XDG_RUNTIME_DIR", lexivar::test::ScratchDir("InstanceMutex").string());
    Utils::InstanceMutex first(L"Installer_Lexivar"), second(L"Installer_Lexivar");
    EXPECT_EQ(first.FullName(), L"D1A547DB89C0BC61_Installer_Lexivar");
    first.Acquire();
    first.Acquire();
    second.Acquire();
    EXPECT_TRUE(first.IsHeld());
    EXPECT_FALSE(second.IsHeld());
    first.Release();
    second.Acquire();
    EXPECT_TRUE(second.IsHeld());
}

TEST(PumpMessages, UsesThePluggedLoop)
{
    int windowObject = 0;
    void* seen = nullptr;
    Utils::SetMessagePump([&](void* window) {
        seen = window;
        return false;
    });
    EXPECT_FALSE(Utils::PumpMessages(&windowObject));
    EXPECT_EQ(seen, &windowObject);
    Utils::SetMessagePump({});
    EXPECT_TRUE(Utils::PumpMessages(nullptr));  // the stand-in only lets the time pass
}

TEST(Stopwatch, ZeroUnlessRunning)
{
    Utils::Stopwatch watch;
    EXPECT_EQ(watch.Elapsed(), 0.0f);
    watch.Start();
    EXPECT_GE(watch.Elapsed(), 0.0f);
    EXPECT_LT(watch.Elapsed(), 5.0f);
    watch.Stop();
    EXPECT_EQ(watch.Elapsed(), 0.0f);
}
