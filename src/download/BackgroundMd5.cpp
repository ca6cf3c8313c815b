#include "download/BackgroundMd5.h"

BackgroundMd5::BackgroundMd5() : m_thread([this] { Run(); }) { m_pending.reserve(kBlockBytes); }

BackgroundMd5::~BackgroundMd5() { Finish(); }

bool BackgroundMd5::UpdateFromFile(const std::string& path, std::uint64_t size) {
    std::lock_guard lock(m_mutex);
    // Nothing is queued yet, so the hashing thread is idle and the digest is ours for now.
    return m_digest.UpdateFromFile(path, size);
}

void BackgroundMd5::Update(const char* data, size_t size) {
    while (size > 0) {
        const size_t n = std::min(size, kBlockBytes - m_pending.size());
        m_pending.insert(m_pending.end(), data, data + n);
        data += n;
        size -= n;
        if (m_pending.size() == kBlockBytes) HandOver();
    }
}

void BackgroundMd5::HandOver() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.size() < kMaxQueued; });
    std::vector<char> next;
    if (!m_spare.empty()) {
        next = std::move(m_spare.back());
        m_spare.pop_back();
    }
    m_queue.push_back(std::move(m_pending));
    m_pending = std::move(next);
    m_pending.clear();
    m_pending.reserve(kBlockBytes);
    m_changed.notify_all();
}

std::string BackgroundMd5::Finish() {
    if (!m_thread.joinable()) return {};
    if (!m_pending.empty()) HandOver();
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    m_thread.join();
    return m_digest.Finish();
}

void BackgroundMd5::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_closing; });
        if (m_queue.empty()) return;
        std::vector<char> block = std::move(m_queue.front());
        m_queue.pop_front();
        m_changed.notify_all();
        lock.unlock();
        m_digest.Update(block.data(), block.size());
        lock.lock();
        if (m_spare.size() < 2) m_spare.push_back(std::move(block));
    }
}
