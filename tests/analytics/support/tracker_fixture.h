#pragma once

#include <gtest/gtest.h>
#include <json/json.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "analytics/TrackerOutput.h"
#include "analytics/UsageTrackerImpl.h"
#include "analytics/ZrSystemInfo.h"
#include "event_sdk/output.h"
#include "event_sdk/sdk.h"
#include "common/json_text.h"
#include "support/temp_dir.h"

namespace zerin::analytics::test {

using lexivar::test::ParseJson;

inline ZrEventClick clickNamed(std::string name) {
    ZrEventClick e;
    e.name = std::move(name);
    return e;
}
inline ZrEventView viewNamed(std::string name) {
    ZrEventView e;
    e.name = std::move(name);
    return e;
}
inline ZrEventTask taskNamed(std::string name) {
    ZrEventTask e;
    e.name = std::move(name);
    return e;
}

// A tracker on scratch folders whose sends are observed instead of made: the
// records stay in the SDK's queue for the test to read.
class TrackerTest : public ::testing::Test {
protected:
    void SetUp() override {
        event_sdk::SetErrorOutput([](std::string_view) {});
        setTrackerDebugOutput([this](std::string_view line) {
            std::lock_guard lock(m_mutex);
            m_debugLines.emplace_back(line);
        });
    }
    void TearDown() override {
        m_tracker.reset();
        event_sdk::Sdk::Shutdown();
        setTrackerDebugOutput({});
        event_sdk::SetErrorOutput({});
    }

    TrackerRoots roots() const { return {(m_dir.path() / "exe").string(), (m_dir.path() / "data").string()}; }

    static TrackerInitInfo info(std::string serverUrl = "http://127.0.0.1:9/collect?project=pc") {
        TrackerInitInfo i;
        i.appName = "Lexivar.downloader";
        i.appVersion = "1.7.9";
        i.appStore = "lexivar-setup";
        i.dlAppId = "Lexivar";
        i.dlAppVersion = "2.0.1";
        i.serverUrl = std::move(serverUrl);
        return i;
    }

    // Observed sends: the SDK's last-send flag is `m_lastSendOk`, a flush only counts.
    TrackerSender::Hooks observedHooks() {
        return {[this] { return m_lastSendOk.load(); },
                [this] {
                    std::lock_guard lock(m_mutex);
                    m_flushThreads.push_back(std::this_thread::get_id());
                    return true;
                }};
    }

    UsageTrackerImpl& start(TrackerInitInfo i = info()) {
        m_tracker = std::make_unique<UsageTrackerImpl>(i, roots(), observedHooks());
        m_tracker->init();
        return *m_tracker;
    }

    // Queued records whose "event" is not one of the SDK's own.
    std::vector<Json::Value> records() const {
        std::vector<Json::Value> out;
        for (const auto& text : event_sdk::Sdk::QueuedRecords()) out.push_back(ParseJson(text));
        return out;
    }
    Json::Value lastRecord() const {
        auto all = records();
        return all.empty() ? Json::Value() : all.back();
    }
    std::vector<std::thread::id> flushThreads() {
        std::lock_guard lock(m_mutex);
        return m_flushThreads;
    }
    std::vector<std::string> debugLines() {
        std::lock_guard lock(m_mutex);
        return m_debugLines;
    }

    TempDir m_dir;
    std::unique_ptr<UsageTrackerImpl> m_tracker;
    std::atomic<bool> m_lastSendOk{true};
    std::mutex m_mutex;
    std::vector<std::thread::id> m_flushThreads;
    std::vector<std::string> m_debugLines;
};

}  // namespace zerin::analytics::test
