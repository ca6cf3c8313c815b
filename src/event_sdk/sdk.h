#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "event_sdk/properties.h"

namespace event_sdk {

// The process's one recording SDK. Every operation is static and does nothing
// (Flush returns false) until Init has succeeded and after Shutdown.
class Sdk final {
public:
    static constexpr const char* kLibName = "cpp";
    static constexpr const char* kLibVersion = "0.9";

    // Refuses a distinct id that is empty or over 255 bytes. A second Init
    // while the SDK exists changes nothing and returns true.
    static bool Init(const std::string& stagingFilePath, const std::string& serverUrl,
                     const std::string& distinctId, bool isLoginId);

    static void Track(std::string_view eventName, const PropertiesNode& properties);
    static void TrackLaunch();
    static void TrackActivity(const PropertiesNode& properties);
    // Records the sign-up and from then on uses the login id as the distinct id.
    static void SignUp(const std::string& loginId);

    static void ProfileSet(const PropertiesNode& properties);
    static void ProfileSetString(std::string_view key, std::string_view text);
    static void ProfileSetInt(std::string_view key, int32_t value);
    static void ProfileSetNumber(std::string_view key, double value);
    static void ProfileSetOnce(const PropertiesNode& properties);
    static void ProfileSetOnceString(std::string_view key, std::string_view text);
    static void ProfileSetOnceInt(std::string_view key, int32_t value);
    static void ProfileSetOnceNumber(std::string_view key, double value);
    static void ProfileIncrement(const PropertiesNode& properties);
    static void ProfileIncrementInt(std::string_view key, int32_t value);
    static void ProfileAppend(std::string_view key, std::string_view text);

    static void RegisterSuperProperties(const PropertiesNode& properties);

    // Sends the whole queue; false at the first batch that fails.
    static bool Flush();
    // Stages every queued record for the next run and ends the SDK.
    static void Shutdown();

    static bool IsInitialized();
    // Copies of the queued record texts, oldest first (for diagnostics).
    static std::vector<std::string> QueuedRecords();
};

}  // namespace event_sdk
