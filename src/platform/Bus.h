#pragma once
// Small owners for libdbus objects, shared by the services that ask the
// desktop over D-Bus. Only the platform layer includes this header.
#include <dbus/dbus.h>

#include <memory>

namespace Platform {

// A message reference, released when the owner goes.
class BusMessage final {
public:
    explicit BusMessage(DBusMessage* message = nullptr) : m_message(message) {}
    ~BusMessage()
    {
        if (m_message != nullptr) dbus_message_unref(m_message);
    }
    BusMessage(const BusMessage&) = delete;
    BusMessage& operator=(const BusMessage&) = delete;
    DBusMessage* get() const { return m_message; }

private:
    DBusMessage* m_message;
};

// A private connection: nothing is shared with other users of the bus in this
// process, and a bus that goes away never ends the process.
class BusConnection final {
public:
    // Null when the bus cannot be reached.
    static std::unique_ptr<BusConnection> Open(DBusBusType type);
    ~BusConnection();
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;
    DBusConnection* get() const { return m_connection; }

private:
    explicit BusConnection(DBusConnection* connection) : m_connection(connection) {}
    DBusConnection* m_connection;
};

}  // namespace Platform
