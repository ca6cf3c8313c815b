#include "ui/InstallerEvent.h"

#include "toolkit/message_loop.h"

void InstallerEventMailbox::Post(toolkit::WindowHandle window, int32_t code, double value, const wchar_t* text)
{
    auto record = std::make_unique<InstallerEventRecord>(InstallerEventRecord{code, value, text ? text : L""});
    const auto address = reinterpret_cast<intptr_t>(record.get());
    {
        std::lock_guard lock(m_mutex);
        m_pending.emplace(address, std::move(record));
    }
    if (!toolkit::MessageLoop::Instance().Post(window, kInstallerEventMessage, 0, address)) Take(address);
}

std::unique_ptr<InstallerEventRecord> InstallerEventMailbox::Take(intptr_t address)
{
    std::lock_guard lock(m_mutex);
    auto node = m_pending.extract(address);
    return node ? std::move(node.mapped()) : nullptr;
}
