#include "analytics/TrackerState.h"

#include <charconv>

#include "analytics/ZrSystemInfo.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/PrivateProfile.h"

namespace zerin::analytics {
namespace {

constexpr const char* kBase = "Base";
// Values are read into buffers of this size, so at most 127 bytes survive.
constexpr size_t kValueBuffer = 128;

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

void ensureFolder(const std::string& folder) {
    if (!Platform::IsDirectory(folder)) Platform::MakeDirectory(folder);
}

// Creates every missing level of `folder` in turn.
void ensureFolderTree(const std::string& folder) {
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        ensureFolder(folder.substr(0, slash));
    }
    ensureFolder(folder);
}

void write(const std::string& path, const char* section, const char* key, const std::string& value) {
    const std::string k = key;
    Platform::WritePrivateProfileStringA(section, &k, &value, path);
}

}  // namespace

TrackerRoots TrackerRoots::fromSystem() {
    return {Platform::DirectoryPart(Platform::ExecutablePath()),
            Platform::GetKnownFolder(Platform::KnownFolder::LocalAppData)};
}

void TrackerState::locateFiles(const std::string& appName, const TrackerRoots& roots) {
    configPath.clear();
    const std::string pointer = withSlash(roots.exeFolder) + "Set.ini";
    if (!roots.exeFolder.empty() && Platform::PathExists(pointer)) {
        configPath = Platform::GetPrivateProfileStringA("Install", "ZRAnalyticsIni", "", 260, pointer);
        for (char& c : configPath) {
            if (c == '\\') c = '/';  // the pointer may have been written with Windows separators
        }
    }
    const size_t slash = configPath.rfind('/');
    if (configPath.empty() || slash == std::string::npos) {
        dataFolder = withSlash(roots.localAppData) + "ZRLocal/";
        // A fresh account may not have its data folder yet.
        ensureFolderTree(dataFolder);
        dataFolder += appName + "/";
        ensureFolder(dataFolder);
        configPath = dataFolder + appName + "_ZRSConfigure.ini";
    } else {
        dataFolder = configPath.substr(0, slash + 1);
        if (!Platform::IsDirectory(dataFolder)) ensureFolderTree(dataFolder);
    }
}

std::string TrackerState::read(const char* key) const {
    return Platform::GetPrivateProfileStringA(kBase, key, "", kValueBuffer, configPath);
}

void TrackerState::load() {
    isLogined = false;
    userId = distinctId = primaryDistinctId = url = {};
    vipLevel = 0;
    if (Platform::PathExists(configPath)) {
        distinctId = read("DistinctId");
        primaryDistinctId = read("PrimaryDistinctId");
        userId = read("UserId");
        const std::string level = read("UserVipLevel");
        int32_t parsed = 0;
        if (std::from_chars(level.data(), level.data() + level.size(), parsed).ec == std::errc()) vipLevel = parsed;
        url = read("URL");
        isLogined = read("isLogined") == "OK";
    }
    if (primaryDistinctId.empty()) primaryDistinctId = distinctId;
    if (distinctId.empty()) {
        distinctId = generateId();
        save();
    }
}

void TrackerState::checkEndpoint(const std::string& endpoint) {
    if (url != endpoint) {
        userId.clear();
        isLogined = false;
        if (primaryDistinctId.empty()) {
            distinctId = generateId();
            primaryDistinctId = distinctId;
        } else {
            distinctId = primaryDistinctId;
        }
        url = endpoint;
        save();
    }
    if (userId.empty()) isLogined = false;
}

void TrackerState::save() const {
    write(configPath, kBase, "DistinctId", distinctId);
    write(configPath, kBase, "PrimaryDistinctId", primaryDistinctId);
    write(configPath, kBase, "UserId", userId);
    write(configPath, kBase, "UserVipLevel", std::to_string(vipLevel));
    write(configPath, kBase, "URL", url);
    write(configPath, kBase, "isLogined", isLogined ? "OK" : "NG");
}

void TrackerState::writeUninstallInfo(const std::string& appStore, const std::string& appName,
                                      const std::string& appVersion) const {
    write(configPath, "UninstallInfo", "AppStore", appStore);
    write(configPath, "UninstallInfo", "AppName", appName);
    write(configPath, "UninstallInfo", "AppVersion", appVersion);
}

void TrackerState::holdBackLogin(const ZrUserInfo& user, int64_t nowMilliseconds) {
    std::unique_lock lock(m_heldMutex, std::try_to_lock);
    if (!lock.owns_lock()) return;
    m_heldUser = user;
    m_heldTime = nowMilliseconds;
}

int64_t TrackerState::heldBackTime() {
    std::lock_guard lock(m_heldMutex);
    return m_heldTime;
}

}  // namespace zerin::analytics
