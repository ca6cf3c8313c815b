#include "utils/System.h"

#include "platform/Accounts.h"
#include "platform/Clock.h"
#include "utils/Log.h"
#include "utils/Text.h"

#include <mutex>

namespace Utils {
namespace {

constexpr uint32_t kPumpMilliseconds = 100;

std::mutex& PumpMutex()
{
    static std::mutex m;
    return m;
}

MessagePump& Pump()
{
    static MessagePump pump;
    return pump;
}

}  // namespace

uint32_t CheckNetwork(const Platform::Connectivity& state)
{
    if (!state.managerAvailable) return 0;
    uint32_t verdict = 0;
    if (state.flags == Platform::kConnectivityDisconnected) {
        Log(L"Utils::CheckNetwork", __LINE__, L"GetConnectivity %d", static_cast<int>(state.flags));
        verdict = 1;
    } else if (!state.connectedToInternet) {
        Log(L"Utils::CheckNetwork", __LINE__, L"get_IsConnectedToInternet:%d", 0);
        verdict = 2;
    }
    return state.flags | (verdict << 16);
}

uint32_t CheckNetwork() { return CheckNetwork(Platform::GetConnectivity()); }

bool IsProcessAdmin() { return Platform::IsProcessAdmin(); }

bool IsAdminAccount(const std::wstring& userName) { return Platform::IsAdminAccount(ToNarrow(userName, CP_UTF8)); }

bool GetConsoleUserName(std::wstring& userName)
{
    std::string name;
    if (!Platform::GetConsoleUserName(name)) return false;
    userName = ToWide(name, CP_UTF8);
    return true;
}

bool PumpMessages(void* window)
{
    MessagePump pump;
    {
        std::lock_guard<std::mutex> lock(PumpMutex());
        pump = Pump();
    }
    if (pump) return pump(window);
    Platform::SleepMilliseconds(kPumpMilliseconds);
    return true;
}

void SetMessagePump(MessagePump pump)
{
    std::lock_guard<std::mutex> lock(PumpMutex());
    Pump() = std::move(pump);
}

}  // namespace Utils
