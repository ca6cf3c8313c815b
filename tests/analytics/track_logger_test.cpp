#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "analytics/NativeTrackLogger.h"
#include "support/temp_dir.h"

namespace zerin::analytics {
namespace {

TEST(NativeTrackLogger, OpenCreatesAnEmptyFileOnce) {
    test::TempDir dir;
    const std::string path = dir.path() / "app_ZRSLog.txt";
    NativeTrackLogger logger;
    logger.open(path);
    ASSERT_TRUE(logger.isOpen());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    std::ofstream(path, std::ios::app) << "a\tb\n";
    logger.open(path);  // same path: nothing changes, the content stays
    std::vector<TrackLogger::Line> lines;
    logger.read(lines, 0, -1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], (TrackLogger::Line{"a", "b"}));

    logger.clear();
    logger.close();
    EXPECT_EQ(std::filesystem::file_size(path), 1u);  // one empty line
}

TEST(NativeTrackLogger, UnopenableFileLeavesTheStreamClosed) {
    test::TempDir dir;
    NativeTrackLogger logger;
    logger.open((dir.path() / "missing" / "log.txt").string());
    EXPECT_FALSE(logger.isOpen());
    std::vector<TrackLogger::Line> lines;
    logger.read(lines, 0, -1);
    EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace zerin::analytics
