#pragma once
// A downloader that plays prepared runs: each Start plays the next list of
// events on a fresh thread. A run that ends in success first places the
// scripted stand-in at the target path as the "downloaded" package.
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "child_fixture.h"
#include "download/Downloader.h"
#include "event_log.h"

class ScriptedDownloader final : public CDownloader {
public:
    ScriptedDownloader(StatusCallback callback, std::wstring target, std::vector<std::vector<Event>> runs,
                       std::vector<std::string> packageScript)
        : m_callback(std::move(callback)),
          m_target(std::move(target)),
          m_runs(std::move(runs)),
          m_packageScript(std::move(packageScript)) {}

    ~ScriptedDownloader() override {
        // Joined here only, so a Start from inside a run never waits for itself.
        std::vector<std::thread> threads;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            threads.swap(m_threads);
        }
        for (auto& t : threads) t.join();
    }

    void Start() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        const size_t run = m_started++;
        m_threads.emplace_back([this, run] { Play(run); });
    }

    size_t Started() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_started;
    }

private:
    void Play(size_t run) {
        if (run >= m_runs.size()) return;
        for (const Event& e : m_runs[run]) {
            if (e.code == DL_CODE_START || e.code == DL_CODE_SUCCESS || e.code == DL_CODE_FAIL) {
                // A partial or complete file is at the target in either case.
                if (e.code != DL_CODE_START) PlaceScriptedChild(std::filesystem::path(m_target), m_packageScript);
            }
            m_callback(e.code, e.value, e.text.c_str());
        }
    }

    StatusCallback m_callback;
    std::wstring m_target;
    std::vector<std::vector<Event>> m_runs;
    std::vector<std::string> m_packageScript;
    std::mutex m_mutex;
    size_t m_started = 0;
    std::vector<std::thread> m_threads;
};
