#include "analytics/UsageTrackerImpl.h"

#include <chrono>
#include <cstdlib>
#include <mutex>

#include "analytics/ZrException.h"
#include "analytics/ZrPresetKeys.h"
#include "analytics/ZrSystemInfo.h"
#include "event_sdk/properties.h"
#include "event_sdk/sdk.h"

namespace zerin::analytics {
namespace {

constexpr const char* kUnit = "UsageTrackerImpl";

std::mutex g_screenMutex;
ScreenSizeSource g_screenSource;

std::optional<std::pair<int, int>> screenSize() {
    std::lock_guard lock(g_screenMutex);
    return g_screenSource ? g_screenSource() : std::nullopt;
}

// The user's default language and country ("zh" and "CN" from "zh_CN.UTF-8"),
// each cut to 16 characters. A neutral C locale reads as "en_US".
std::pair<std::string, std::string> systemLocale() {
    std::string name;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            name = value;
            break;
        }
    }
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return {"en", "US"};
    const size_t underscore = name.find('_');
    std::string language = name.substr(0, underscore).substr(0, 16);
    std::string country = underscore == std::string::npos ? std::string() : name.substr(underscore + 1).substr(0, 16);
    return {language, country};
}

}  // namespace

void setScreenSizeSource(ScreenSizeSource source) {
    std::lock_guard lock(g_screenMutex);
    g_screenSource = std::move(source);
}

UsageTrackerImpl::UsageTrackerImpl(const TrackerInitInfo& info, TrackerRoots roots, TrackerSender::Hooks senderHooks)
    : serverUrl(info.serverUrl),
      appName(info.appName),
      appVersion(info.appVersion),
      appStore(info.appStore),
      dlAppId(info.dlAppId),
      dlAppVersion(info.dlAppVersion),
      edition(info.edition),
      state(std::make_unique<TrackerState>(info.logPath)),
      m_roots(std::move(roots)),
      m_sender(state->pending, std::move(senderHooks)) {}

UsageTrackerImpl::~UsageTrackerImpl() {
    try {
        if (!state->configPath.empty()) state->save();
        // No background send may run past this point: they update our state.
        m_sender.stop();
        if (m_sdkStarted) {
            m_sender.flushNow(3, std::chrono::milliseconds(0));
            event_sdk::Sdk::Shutdown();
            m_sdkStarted = false;
        }
    } catch (...) {
        // Shutdown runs at exit; nothing here may end the program.
    }
    if (trackLogger) trackLogger->close();
    trackLogger.reset();
}

void UsageTrackerImpl::init() {
    if (appName.empty()) ZR_THROW(kUnit, "init", "appName is empty");
    if (appVersion.empty()) ZR_THROW(kUnit, "init", "appVersion is empty");
    if (appStore.empty()) ZR_THROW(kUnit, "init", "appStore is empty");
    state->pending.store(0);
    state->locateFiles(appName, m_roots);
    if (serverUrl.empty()) serverUrl = keys::kDefaultServerUrl;
    state->load();
    state->checkEndpoint(serverUrl);
    if (state->logPath.empty()) state->logPath = state->dataFolder + appName + "_ZRSLog.txt";
    trackLogger = std::make_unique<NativeTrackLogger>();
    trackLogger->open(state->logPath);

    const bool loggedIn = state->isLogined;
    const std::string& id = loggedIn ? state->userId : state->distinctId;
    if (!event_sdk::Sdk::Init(state->dataFolder + appName + "_ZRSEvents.txt", serverUrl, id, loggedIn)) {
        ZR_THROW(kUnit, "init", "event_sdk::Sdk::Init is failed");
    }
    m_sdkStarted = true;
    registerSuperProperties();
    state->writeUninstallInfo(appStore, appName, appVersion);
}

void UsageTrackerImpl::registerSuperProperties() {
    const RunningSystem& system = runningSystem();
    event_sdk::PropertiesNode super;
    super.SetString(keys::kAppId, appName);
    super.SetString(keys::kAppVersion, appVersion);
    super.SetString(keys::kSdkAppId, appName);
    super.SetString(keys::kAppStore, appStore);
    super.SetString(keys::kEdition, toString(edition));
    if (!dlAppId.empty()) super.SetString(keys::kDlAppId, dlAppId);
    if (!dlAppVersion.empty()) super.SetString(keys::kDlAppVersion, dlAppVersion);
    super.SetString(keys::kAppPlatform, system.name);
    super.SetString(keys::kTrackType, keys::kTrackTypeClient);
    super.SetString(keys::kSdkVersion, keys::kLibraryVersion);
    super.SetString(keys::kSdk, keys::kLibraryKind);
    super.SetString(keys::kOs, system.name);
    super.SetString(keys::kOsVersion, system.version);
    if (const auto size = screenSize()) {
        super.SetInt(keys::kScreenHeight, size->second);
        super.SetInt(keys::kScreenWidth, size->first);
    }
    if (!state->userId.empty()) super.SetString(keys::kUserId, state->userId);
    event_sdk::Sdk::RegisterSuperProperties(super);
    registerLocale();
}

void UsageTrackerImpl::setLocale(const std::string& locale) {
    state->locale = locale;
    registerLocale();
}

void UsageTrackerImpl::registerLocale() {
    std::string locale = state->locale;
    std::string language;
    std::string country;
    if (const size_t underscore = locale.find('_'); underscore != std::string::npos) {
        language = locale.substr(0, underscore);
        country = locale.substr(underscore + 1);
    }
    if (language.empty()) {
        std::tie(language, country) = systemLocale();
        locale = language + "_" + country;
    }
    event_sdk::PropertiesNode node;
    node.SetString(keys::kLocale, locale);
    node.SetString(keys::kLanguage, language);
    node.SetString(keys::kCountry, country);
    event_sdk::Sdk::RegisterSuperProperties(node);
}

std::string UsageTrackerImpl::getPrimaryDistinctId() { return state->primaryDistinctId; }

void UsageTrackerImpl::send(std::string_view eventName, const event_sdk::PropertiesNode& properties, bool flush) {
    event_sdk::Sdk::Track(eventName, properties);
    addPending(1);
    sendPending(flush);
}

}  // namespace zerin::analytics
