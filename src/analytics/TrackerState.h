#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "analytics/ZrEvents.h"

namespace zerin::analytics {

// Where the tracker looks for its files. Both are folders without a trailing
// "/"; tests point them at a scratch folder.
struct TrackerRoots {
    std::string exeFolder;     // holds the "Set.ini" pointer file
    std::string localAppData;  // parent of "ZRLocal/"
    static TrackerRoots fromSystem();
};

// The tracker's persisted identity and the paths around it.
class TrackerState final {
public:
    explicit TrackerState(std::string logPath) : logPath(std::move(logPath)) {}

    // Works out configPath and dataFolder for `appName`, creating folders as
    // needed. Failures are silent: later writes then fail and the ids live in
    // memory for this run only.
    void locateFiles(const std::string& appName, const TrackerRoots& roots);
    // Reads the identity; makes and saves a new distinct id when there is none.
    void load();
    // An identity belongs to one endpoint: another endpoint starts afresh
    // from the primary id, logged out.
    void checkEndpoint(const std::string& endpoint);
    void save() const;
    void writeUninstallInfo(const std::string& appStore, const std::string& appName,
                            const std::string& appVersion) const;

    // Keeps a login's user record for a later profile update; a busy lock drops it.
    void holdBackLogin(const ZrUserInfo& user, int64_t nowMilliseconds);
    int64_t heldBackTime();

    bool isLogined = false;
    std::string userId;
    std::string distinctId;
    std::string primaryDistinctId;
    int32_t vipLevel = 0;

    std::string logPath;
    std::string locale;
    std::string dataFolder;  // ends with "/"
    std::string configPath;
    std::string url;

    std::atomic<int32_t> pending{0};

    // The application this one replaced, when known.
    std::string previousAppId;
    std::string previousAppVersion;
    std::string previousAppStore;

private:
    std::string read(const char* key) const;

    std::mutex m_heldMutex;
    ZrUserInfo m_heldUser;
    int64_t m_heldTime = -1;
};

}  // namespace zerin::analytics
