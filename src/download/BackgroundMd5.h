#pragma once
// An MD5 computed on a thread of its own from blocks handed over by a download
// as it writes them, so that receiving and hashing overlap instead of adding up.

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "utils/Md5.h"

class BackgroundMd5 final {
public:
    BackgroundMd5();
    ~BackgroundMd5();
    BackgroundMd5(const BackgroundMd5&) = delete;
    BackgroundMd5& operator=(const BackgroundMd5&) = delete;

    // Hashes the first `size` bytes of a file before any Update (a resumed download).
    bool UpdateFromFile(const std::string& path, std::uint64_t size);
    void Update(const char* data, size_t size);
    // Waits for the hashing to catch up; 32 lower-case hex digits or empty after a failure.
    std::string Finish();

private:
    static constexpr size_t kBlockBytes = 1 << 20;
    static constexpr size_t kMaxQueued = 4;  // bounds the memory a slow hasher can hold

    void HandOver();
    void Run();

    Utils::Md5Stream m_digest;  // touched only by the hashing thread once it runs
    std::vector<char> m_pending;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<char>> m_queue;
    std::vector<std::vector<char>> m_spare;
    bool m_closing = false;
    std::thread m_thread;
};
