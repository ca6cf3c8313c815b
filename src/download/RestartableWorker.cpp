#include "download/RestartableWorker.h"


void RestartableWorker::Start() {
    if (std::this_thread::get_id() == m_workerId.load()) {
        std::lock_guard lock(m_mutex);
        if (!m_stopped) m_repeat = true;
        return;
    }
    Join();
    {
        std::lock_guard lock(m_mutex);
        if (m_stopped) return;
        m_repeat = false;
    }
    m_thread = std::make_unique<Utils::Thread>(this, L"ABDEF",
                                               [](void* self) { static_cast<RestartableWorker*>(self)->Loop(); });
    if (m_thread->IsValid()) m_thread->Resume();
}

void RestartableWorker::Join() {
    if (m_thread) m_thread->Join();
}

void RestartableWorker::StopRepeating() {
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    m_repeat = false;
}

void RestartableWorker::Loop() {
    m_workerId.store(std::this_thread::get_id());
    do {
        m_run();
    } while (TakeRepeat());
    m_workerId.store(std::thread::id());
}

bool RestartableWorker::TakeRepeat() {
    std::lock_guard lock(m_mutex);
    bool repeat = m_repeat;
    m_repeat = false;
    return repeat;
}
