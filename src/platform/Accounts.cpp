#include "platform/Accounts.h"

#include "platform/FileSystem.h"

#include <cstdlib>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace Platform {
namespace {

bool UserNameOf(uid_t uid, std::string& name)
{
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return false;
    name = found->pw_name;
    return !name.empty();
}

bool ActiveSeatUser(std::string& name)
{
    auto seat = ReadWholeFile("/run/systemd/seats/seat0", 1u << 16);
    if (!seat) return false;
    const std::string key = "ACTIVE_UID=";
    auto pos = seat->find(key);
    if (pos == std::string::npos || (pos > 0 && (*seat)[pos - 1] != '\n')) return false;
    char* end = nullptr;
    unsigned long uid = std::strtoul(seat->c_str() + pos + key.size(), &end, 10);
    if (end == seat->c_str() + pos + key.size()) return false;
    return UserNameOf(static_cast<uid_t>(uid), name);
}

}  // namespace

bool IsProcessAdmin() { return geteuid() == 0; }

bool IsAdminAccount(const std::string& userName)
{
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (userName.empty() || getpwnam_r(userName.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr)
        return false;
    if (found->pw_uid == 0) return true;
    int count = 64;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    if (getgrouplist(userName.c_str(), found->pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<size_t>(count));
        if (getgrouplist(userName.c_str(), found->pw_gid, groups.data(), &count) < 0) return false;
    }
    groups.resize(static_cast<size_t>(count));
    for (const char* adminGroup : {"sudo", "wheel", "admin"}) {
        group g{};
        group* hit = nullptr;
        std::vector<char> gbuf(16384);
        if (getgrnam_r(adminGroup, &g, gbuf.data(), gbuf.size(), &hit) != 0 || hit == nullptr) continue;
        for (gid_t gid : groups)
            if (gid == hit->gr_gid) return true;
    }
    return false;
}

bool GetConsoleUserName(std::string& userName)
{
    if (ActiveSeatUser(userName)) return true;
    char login[256];
    if (getlogin_r(login, sizeof login) == 0 && login[0] != '\0') {
        userName = login;
        return true;
    }
    return UserNameOf(getuid(), userName);
}

}  // namespace Platform
