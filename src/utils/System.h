#pragma once
// Questions to the system: connectivity, administrator rights, the console
// user, and a short message pump.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Connectivity.h"

namespace Utils {

// Low 16 bits: connectivity flags; high 16 bits: verdict (0 internet,
// 1 no network at all, 2 a network without internet). 0 when nothing can be
// asked, so an unknown state never blocks an installation. Callers treat a
// result above 0xFFFF as "no usable connection".
uint32_t CheckNetwork();
// The same verdict for a state already known (what CheckNetwork does with the system's answer).
uint32_t CheckNetwork(const Platform::Connectivity& state);

bool IsProcessAdmin();
bool IsAdminAccount(const std::wstring& userName);
bool GetConsoleUserName(std::wstring& userName);

// Lets queued window messages be handled for about 100 ms, e.g. so a window
// repaints before a product starts. `window` is the UI's own window object,
// opaque here; when it no longer exists the pump stops. Returns true when it
// stopped because its time was up, false when the window was gone or the
// application is quitting.
bool PumpMessages(void* window);

// The UI's event loop plugs in here; until it does, PumpMessages only lets the time pass.
using MessagePump = std::function<bool(void* window)>;
void SetMessagePump(MessagePump pump);

}  // namespace Utils
