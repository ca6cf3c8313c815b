#include "analytics/TrackerSender.h"

#include "analytics/TrackerOutput.h"
#include "event_sdk/record_consumer.h"
#include "event_sdk/sdk.h"

namespace zerin::analytics {
namespace {

// Flushes never overlap, whichever tracker or thread asks for them.
std::mutex g_sendMutex;

}  // namespace

TrackerSender::TrackerSender(std::atomic<int32_t>& pending, Hooks hooks) : m_pending(pending), m_hooks(std::move(hooks)) {
    if (!m_hooks.lastSendOk) m_hooks.lastSendOk = [] { return event_sdk::LastSendOk(); };
    if (!m_hooks.flush) m_hooks.flush = [] { return event_sdk::Sdk::Flush(); };
}

TrackerSender::~TrackerSender() { stop(); }

void TrackerSender::request(bool flush) {
    // Without a flush there is nothing to send yet: noting that records wait
    // is all, and it must stay cheap because it runs on the window thread.
    if (!flush) {
        m_pending.fetch_add(1);
        return;
    }
    if (m_hooks.lastSendOk()) {
        flushNow(3, std::chrono::milliseconds(1));
        return;
    }
    writeTrackerDebug("[Tracker] Sending messages asynchronously");
    startBackground();
}

void TrackerSender::flushNow(int attempts, std::chrono::milliseconds pause) {
    std::lock_guard lock(g_sendMutex);
    attempt(attempts, pause, false);
}

void TrackerSender::sendInBackground() {
    std::lock_guard lock(g_sendMutex);
    // Shutdown flushes on its own; a send that only now gets its turn has nothing left to do.
    if (m_stopping.load()) return;
    attempt(3, std::chrono::milliseconds(1), true);
}

void TrackerSender::attempt(int attempts, std::chrono::milliseconds pause, bool background) {
    for (int i = 0; i < attempts && m_pending.load() > 0; ++i) {
        if (m_hooks.flush()) {
            m_pending.store(0);
            return;
        }
        // A background send that is being stopped gives up between attempts.
        if (background && m_stopping.load()) return;
        if (pause.count() > 0) std::this_thread::sleep_for(pause);
    }
}

void TrackerSender::startBackground() {
    std::lock_guard lock(m_workersMutex);
    reapFinishedLocked();
    if (m_stopping.load()) return;
    auto worker = m_workers.emplace(m_workers.end());
    worker->thread = std::thread([this, worker] {
        sendInBackground();
        std::lock_guard done(m_workersMutex);
        worker->done = true;
        m_workersChanged.notify_all();
    });
}

void TrackerSender::reapFinishedLocked() {
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if (!it->done) {
            ++it;
            continue;
        }
        it->thread.join();
        it = m_workers.erase(it);
    }
}

bool TrackerSender::waitIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_workersMutex);
    return m_workersChanged.wait_for(lock, timeout, [this] {
        for (const auto& w : m_workers) {
            if (!w.done) return false;
        }
        return true;
    });
}

void TrackerSender::stop() {
    std::list<Worker> workers;
    {
        std::lock_guard lock(m_workersMutex);
        m_stopping.store(true);
        workers.swap(m_workers);
    }
    for (auto& w : workers) w.thread.join();
}

}  // namespace zerin::analytics
