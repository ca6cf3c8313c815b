#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace event_sdk {

// Whether the most recent batch request was answered with status 200. The
// value is process-wide and read under its own lock, so a caller can decide
// cheaply whether to send on its own thread or in the background.
bool LastSendOk();

// Keeps record texts in a bounded queue, stages what is left at close in a
// file for the next run, and sends the queue in compressed batches.
class RecordConsumer final {
public:
    static constexpr size_t kCapacity = 1024;
    static constexpr size_t kBatchSize = 30;

    RecordConsumer(std::string serverUrl, std::string stagingFilePath);
    ~RecordConsumer();
    RecordConsumer(const RecordConsumer&) = delete;
    RecordConsumer& operator=(const RecordConsumer&) = delete;

    // Appends one record's JSON text; drops the oldest record when the queue
    // would exceed its capacity. Never waits on the network.
    void Add(std::string recordJson);

    // Sends batch after batch until the queue is empty (true) or a batch
    // fails (false; that batch is back at the front of the queue).
    bool Flush();

    // Sends at most one batch; true when it was accepted or there was nothing to send.
    bool FlushOneBatch();

    // Writes every queued record (and any still unread staged ones) to the
    // staging file. Nothing is sent. Waits for a batch that is in flight.
    void Close();

    void SetCookie(std::string cookie);
    std::vector<std::string> QueuedRecords() const;
    size_t QueueSize() const;

private:
    void LoadStagingOnce();
    std::vector<std::string> TakeBatch();
    void PutBack(std::vector<std::string>& batch);
    bool SendBatch(const std::vector<std::string>& batch, bool& compressed);

    const std::string m_serverUrl;
    const std::string m_stagingFilePath;
    std::string m_cookie;

    mutable std::mutex m_queueMutex;  // guards m_queue, m_stagingLoadPending, m_closed, m_cookie
    std::deque<std::string> m_queue;
    bool m_stagingLoadPending = true;
    bool m_closed = false;

    std::mutex m_flushMutex;  // one batch in flight at a time
};

}  // namespace event_sdk
