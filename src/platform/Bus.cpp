#include "platform/Bus.h"

namespace Platform {

std::unique_ptr<BusConnection> BusConnection::Open(DBusBusType type)
{
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_bus_get_private(type, &error);
    dbus_error_free(&error);
    if (bus == nullptr) return nullptr;
    dbus_connection_set_exit_on_disconnect(bus, FALSE);
    return std::unique_ptr<BusConnection>(new BusConnection(bus));
}

BusConnection::~BusConnection()
{
    dbus_connection_close(m_connection);
    dbus_connection_unref(m_connection);
}

}  // namespace Platform
