#include "platform/Connectivity.h"

#include "platform/Bus.h"
#include "platform/FileSystem.h"

#include <cstdlib>
#include <string>

namespace Platform {
namespace {

constexpr int kDbusTimeoutMs = 1000;

std::optional<uint32_t> NetworkManagerState()
{
    auto connection = BusConnection::Open(DBUS_BUS_SYSTEM);
    if (!connection) return std::nullopt;
    DBusConnection* bus = connection->get();
    DBusError error;
    dbus_error_init(&error);
    std::optional<uint32_t> state;
    BusMessage call(dbus_message_new_method_call("org.freedesktop.NetworkManager", "/org/freedesktop/NetworkManager",
                                                 "org.freedesktop.DBus.Properties", "Get"));
    const char* iface = "org.freedesktop.NetworkManager";
    const char* property = "Connectivity";
    if (call.get() != nullptr &&
        dbus_message_append_args(call.get(), DBUS_TYPE_STRING, &iface, DBUS_TYPE_STRING, &property, DBUS_TYPE_INVALID)) {
        BusMessage reply(dbus_connection_send_with_reply_and_block(bus, call.get(), kDbusTimeoutMs, &error));
        DBusMessageIter top, variant;
        if (reply.get() != nullptr && dbus_message_iter_init(reply.get(), &top) &&
            dbus_message_iter_get_arg_type(&top) == DBUS_TYPE_VARIANT) {
            dbus_message_iter_recurse(&top, &variant);
            if (dbus_message_iter_get_arg_type(&variant) == DBUS_TYPE_UINT32) {
                dbus_uint32_t value = 0;
                dbus_message_iter_get_basic(&variant, &value);
                state = value;
            }
        }
    }
    dbus_error_free(&error);
    return state;
}

}  // namespace

std::optional<Connectivity> FromNetworkManagerState(uint32_t state)
{
    switch (state) {
    case 1: return Connectivity{true, kConnectivityDisconnected, false};
    case 2:
    case 3: return Connectivity{true, kConnectivityLocalNetwork, false};
    case 4: return Connectivity{true, kConnectivityInternet, true};
    default: return std::nullopt;
    }
}

bool HasDefaultRoute(std::string_view table)
{
    size_t pos = table.find('\n');  // skip the header line
    while (pos != std::string_view::npos && pos + 1 < table.size()) {
        size_t next = table.find('\n', pos + 1);
        std::string_view line = table.substr(pos + 1, next == std::string_view::npos ? std::string_view::npos
                                                                                      : next - pos - 1);
        pos = next;
        // Iface Destination Gateway Flags ...; flag 0x1 = route is up.
        size_t f1 = line.find('\t');
        if (f1 == std::string_view::npos) continue;
        size_t f2 = line.find('\t', f1 + 1);
        size_t f3 = f2 == std::string_view::npos ? f2 : line.find('\t', f2 + 1);
        size_t f4 = f3 == std::string_view::npos ? f3 : line.find('\t', f3 + 1);
        if (f4 == std::string_view::npos) continue;
        std::string_view destination = line.substr(f1 + 1, f2 - f1 - 1);
        std::string flags(line.substr(f3 + 1, f4 - f3 - 1));
        unsigned long value = std::strtoul(flags.c_str(), nullptr, 16);
        if (destination == "00000000" && (value & 0x1) != 0) return true;
    }
    return false;
}

Connectivity GetConnectivity()
{
    if (auto state = NetworkManagerState()) {
        if (auto known = FromNetworkManagerState(*state)) return *known;
    }
    auto table = ReadWholeFile("/proc/net/route", 1u << 20);
    if (!table) return Connectivity{};
    bool route = HasDefaultRoute(*table);
    // A default route is the best this system can tell without a connectivity service.
    return Connectivity{true, route ? kConnectivityInternet : kConnectivityDisconnected, route};
}

}  // namespace Platform
