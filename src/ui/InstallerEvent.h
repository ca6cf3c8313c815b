#pragma once
// One job event on its way from a worker thread to the window thread.
#include <cstdint>
#include <memory>
#include <mutex>
#include <map>
#include <string>

#include "toolkit/message.h"

// The window message that carries an installer-event record (WM_USER + 1000).
inline constexpr uint32_t kInstallerEventMessage = toolkit::wm::User + 1000;

struct InstallerEventRecord {
    int32_t code = 0;
    double value = 0.0;
    std::wstring text;
};

// Owns every record that is posted but not yet handled. The message carries
// the record's address; the window takes the record back out of here, so a
// message that arrives after its window is gone, or never arrives, still has
// its record freed with the mailbox.
class InstallerEventMailbox final {
public:
    // Any thread: queues the record as message 2024 to `window`; the record is
    // freed at once when the window no longer exists.
    void Post(toolkit::WindowHandle window, int32_t code, double value, const wchar_t* text);
    // Window thread: the record the message pointed at, now owned by the caller;
    // null for an address this mailbox never posted or already gave back.
    std::unique_ptr<InstallerEventRecord> Take(intptr_t address);

private:
    std::mutex m_mutex;
    std::map<intptr_t, std::unique_ptr<InstallerEventRecord>> m_pending;
};
