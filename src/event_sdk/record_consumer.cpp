#include "event_sdk/record_consumer.h"

#include <exception>

#include "event_sdk/batch_encoder.h"
#include "event_sdk/output.h"
#include "event_sdk/request_client.h"
#include "event_sdk/staging_file.h"

namespace event_sdk {
namespace {

struct SendStatus {
    std::mutex mutex;
    bool lastSendOk = false;
};

SendStatus& TheSendStatus() {
    static SendStatus status;
    return status;
}

void SetLastSendOk(bool ok) {
    std::lock_guard lock(TheSendStatus().mutex);
    TheSendStatus().lastSendOk = ok;
}

}  // namespace

bool LastSendOk() {
    std::lock_guard lock(TheSendStatus().mutex);
    return TheSendStatus().lastSendOk;
}

RecordConsumer::RecordConsumer(std::string serverUrl, std::string stagingFilePath)
    : m_serverUrl(std::move(serverUrl)), m_stagingFilePath(std::move(stagingFilePath)) {}

RecordConsumer::~RecordConsumer() = default;

void RecordConsumer::Add(std::string recordJson) {
    std::lock_guard lock(m_queueMutex);
    m_queue.push_back(std::move(recordJson));
    if (m_queue.size() > kCapacity) m_queue.pop_front();
}

void RecordConsumer::SetCookie(std::string cookie) {
    std::lock_guard lock(m_queueMutex);
    m_cookie = std::move(cookie);
}

std::vector<std::string> RecordConsumer::QueuedRecords() const {
    std::lock_guard lock(m_queueMutex);
    return {m_queue.begin(), m_queue.end()};
}

size_t RecordConsumer::QueueSize() const {
    std::lock_guard lock(m_queueMutex);
    return m_queue.size();
}

// Caller holds m_queueMutex.
void RecordConsumer::LoadStagingOnce() {
    if (!m_stagingLoadPending) return;
    m_stagingLoadPending = false;
    auto staged = LoadAndTruncateStagingFile(m_stagingFilePath, kCapacity - m_queue.size());
    // Staged records are older than anything queued in this run.
    m_queue.insert(m_queue.begin(), std::make_move_iterator(staged.begin()), std::make_move_iterator(staged.end()));
}

std::vector<std::string> RecordConsumer::TakeBatch() {
    std::lock_guard lock(m_queueMutex);
    if (m_closed) return {};
    const size_t n = std::min(m_queue.size(), kBatchSize);
    std::vector<std::string> batch(std::make_move_iterator(m_queue.begin()),
                                   std::make_move_iterator(m_queue.begin() + static_cast<std::ptrdiff_t>(n)));
    m_queue.erase(m_queue.begin(), m_queue.begin() + static_cast<std::ptrdiff_t>(n));
    return batch;
}

// A failed batch goes back in front, as far as the queue has room; when new
// records filled the queue meanwhile, the batch's oldest records give way.
void RecordConsumer::PutBack(std::vector<std::string>& batch) {
    std::lock_guard lock(m_queueMutex);
    const size_t room = kCapacity - std::min(kCapacity, m_queue.size());
    const size_t keep = std::min(room, batch.size());
    m_queue.insert(m_queue.begin(), std::make_move_iterator(batch.end() - static_cast<std::ptrdiff_t>(keep)),
                   std::make_move_iterator(batch.end()));
}

bool RecordConsumer::SendBatch(const std::vector<std::string>& batch, bool& compressed) {
    const auto body = BuildRequestBody(batch);
    compressed = body.has_value();
    if (!compressed) return false;
    std::string cookie;
    {
        std::lock_guard lock(m_queueMutex);
        cookie = m_cookie;
    }
    SdkResponse response;
    try {
        response = SdkRequestClient().Post(m_serverUrl, *body, cookie);
    } catch (const std::exception& e) {
        WriteError(e.what());
        response.status = -1;
    }
    if (response.status == 200) return true;
    WriteDebug("[events] Event SDK send failed");
    WriteError("Event SDK send failed: " + response.body);
    return false;
}

bool RecordConsumer::FlushOneBatch() {
    {
        std::lock_guard lock(m_queueMutex);
        LoadStagingOnce();
    }
    std::lock_guard flushLock(m_flushMutex);
    std::vector<std::string> batch = TakeBatch();
    if (batch.empty()) return true;
    try {
        bool compressed = false;
        const bool ok = SendBatch(batch, compressed);
        // A batch that never left (compression failed) says nothing about the endpoint.
        if (compressed) SetLastSendOk(ok);
        if (!ok) PutBack(batch);
        return ok;
    } catch (const std::exception& e) {
        WriteError("Exception when flush failed: (" + std::string(e.what()) + ") ");
        return false;
    }
}

bool RecordConsumer::Flush() {
    {
        std::lock_guard lock(m_queueMutex);
        LoadStagingOnce();
    }
    while (QueueSize() != 0) {
        {
            std::lock_guard lock(m_queueMutex);
            if (m_closed) return false;
        }
        if (!FlushOneBatch()) return false;
    }
    return true;
}

void RecordConsumer::Close() {
    // A batch in flight comes back to the queue on failure, so wait for it
    // before the queue is written out.
    std::lock_guard flushLock(m_flushMutex);
    std::lock_guard lock(m_queueMutex);
    if (m_closed) return;
    m_closed = true;
    LoadStagingOnce();
    WriteStagingFile(m_stagingFilePath, m_queue);
    m_queue.clear();
}

}  // namespace event_sdk
