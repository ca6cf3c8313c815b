#pragma once
// Is there a network, and does it reach the internet? Flags use the values the
// installer's callers know from the system's network list:
// 0 disconnected, 0x20 local network only, 0x40 internet (IPv4).
#include <cstdint>
#include <optional>
#include <string_view>

namespace Platform {

inline constexpr uint32_t kConnectivityDisconnected = 0x0;
inline constexpr uint32_t kConnectivityLocalNetwork = 0x20;
inline constexpr uint32_t kConnectivityInternet = 0x40;

struct Connectivity {
    bool managerAvailable = false;  // false: nothing could be asked
    uint32_t flags = kConnectivityDisconnected;
    bool connectedToInternet = false;
};

// NetworkManager's connectivity state (1 none, 2 portal, 3 limited, 4 full);
// nothing for 0 (unknown), which leaves the question to the routing table.
std::optional<Connectivity> FromNetworkManagerState(uint32_t state);
// A default route ("00000000" destination) on an interface that is up.
bool HasDefaultRoute(std::string_view procNetRoute);

// NetworkManager over D-Bus when it answers, else /proc/net/route.
Connectivity GetConnectivity();

}  // namespace Platform
