// A program may leave through exit() while the global tracker still runs (an
// error path, a library that gives up). The tracker must then shut down
// while everything it uses still exists, and keep its queue for the next run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "analytics/GlobalTracker.h"
#include "analytics/UsageTrackerWrapper.h"
#include "common/test_files.h"
#include "support/tracker_fixture.h"

namespace zerin::analytics::test {
namespace {

namespace fs = std::filesystem;

using GlobalTrackerExit = TrackerTest;

TEST_F(GlobalTrackerExit, ExitWithoutReleaseStagesTheQueue) {
    const fs::path dir = m_dir.path();
    // The child runs only the statement and ends in exit(): no release, no stop.
    EXPECT_EXIT(
        {
            setenv("XDG_DATA_HOME", dir.c_str(), 1);
            createGlobalTracker(info());
            globalTracker()->trackTask(taskNamed("exit-without-release"), nullptr);
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");

    std::string staged;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.path().filename().string().ends_with("_ZRSEvents.txt"))
            staged += lexivar::test::ReadFile(entry.path());
    EXPECT_NE(staged.find("exit-without-release"), std::string::npos) << staged;
}

}  // namespace
}  // namespace zerin::analytics::test
