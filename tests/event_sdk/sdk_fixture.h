#pragma once
// A fresh SDK per test whose error output is captured instead of printed.

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "common/test_files.h"
#include "event_sdk/output.h"
#include "event_sdk/sdk.h"

namespace event_sdk::test {

class ErrorCapture {
public:
    ErrorCapture() {
        SetErrorOutput([this](std::string_view line) {
            std::lock_guard lock(m_mutex);
            m_lines.emplace_back(line);
        });
    }
    ~ErrorCapture() { SetErrorOutput({}); }
    std::vector<std::string> Lines() const {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_lines.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// Small stand-in records whose order is easy to check: {"n":N}.
inline std::string Numbered(int n) { return "{\"n\":" + std::to_string(n) + "}"; }

inline std::vector<std::string> NumberedRange(int first, int last) {
    std::vector<std::string> records;
    for (int n = first; n <= last; ++n) records.push_back(Numbered(n));
    return records;
}

// The track id is random; tests compare records with it replaced by 0.
inline std::string WithoutTrackId(const std::string& record) {
    static const std::regex trackId(R"re(^\{"_track_id":\d{1,9},)re");
    return std::regex_replace(record, trackId, "{\"_track_id\":0,");
}

class SdkTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = lexivar::test::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        m_stagingPath = (m_folder / "staging.txt").string();
    }
    void TearDown() override { Sdk::Shutdown(); }

    // An endpoint nobody listens on: these tests look at the queue only.
    void Init(const std::string& distinctId = "device-1", bool isLoginId = false) {
        ASSERT_TRUE(Sdk::Init(m_stagingPath, "http://127.0.0.1:9/collect?project=pc", distinctId, isLoginId));
    }
    std::vector<std::string> Records() const {
        std::vector<std::string> records;
        for (const auto& r : Sdk::QueuedRecords()) records.push_back(WithoutTrackId(r));
        return records;
    }

    ErrorCapture m_errors;
    std::filesystem::path m_folder;
    std::string m_stagingPath;
};

}  // namespace event_sdk::test
