#include "analytics/ZrContextProperties.h"

#include <ctime>
#include <cstdio>

#include "analytics/ZrException.h"

namespace zerin::analytics {
namespace {

constexpr const char* kUnit = "ZrContextProperties";
// Largest value still read as seconds (early in the year 6970); any larger
// count can only be milliseconds.
constexpr int64_t kMaxSeconds = 157789439999;

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string overflowMessage(int32_t type) { return "ZrEvent[" + std::to_string(type) + "] overflow!"; }

}  // namespace

void splitTime(ZrTime time, int64_t& seconds, int& millis) {
    if (time.value > kMaxSeconds) {
        seconds = time.value / 1000;
        millis = static_cast<int>(time.value % 1000);
    } else {
        seconds = time.value;
        millis = 0;
    }
}

std::string formatLocalTime(ZrTime time) {
    int64_t seconds = 0;
    int millis = 0;
    splitTime(time, seconds, millis);
    const auto t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, millis);
    return text;
}

ZrContextProperties::ZrContextProperties() : m_index(8) { m_index.max_load_factor(1.0f); }

void ZrContextProperties::add(const std::string& key, Kind kind, Value value,
                              const std::vector<ZrEventType>& types) {
    if (m_index.contains(key)) ZR_THROW(kUnit, "setProperty", "Property[" + key + "] already exist!");
    auto shared = std::make_shared<const Value>(std::move(value));
    m_index.emplace(key, shared);
    for (ZrEventType type : types) {
        const auto raw = static_cast<int32_t>(type);
        if (raw < 0 || raw >= kZrEventTypeCount) ZR_THROW(kUnit, "setProperty", overflowMessage(raw));
        m_lists[static_cast<size_t>(raw)].push_back(Entry{kind, shared, key});
    }
}

void ZrContextProperties::setProperty(const std::string& key, const std::string& value,
                                      const std::vector<ZrEventType>& types) {
    add(key, Kind::String, value, types);
}
void ZrContextProperties::setProperty(const std::string& key, bool value, const std::vector<ZrEventType>& types) {
    add(key, Kind::Bool, value, types);
}
void ZrContextProperties::setProperty(const std::string& key, ZrTime value, const std::vector<ZrEventType>& types) {
    add(key, Kind::Time, value, types);
}
void ZrContextProperties::setProperty(const std::string& key, double value, const std::vector<ZrEventType>& types) {
    add(key, Kind::Number, value, types);
}
void ZrContextProperties::setProperty(const std::string& key, const std::vector<std::string>& value,
                                      const std::vector<ZrEventType>& types) {
    add(key, Kind::StringList, value, types);
}

const ZrContextProperties::EntryList& ZrContextProperties::getEventProperties(ZrEventType type) const {
    const auto raw = static_cast<int32_t>(type);
    if (raw < 0 || raw >= kZrEventTypeCount) ZR_THROW(kUnit, "getEventProperties", overflowMessage(raw));
    return m_lists[static_cast<size_t>(raw)];
}

bool ZrContextProperties::isValidABValue(const std::string& value) {
    if (value.empty()) return false;
    if (value.size() >= 4) ZR_THROW(kUnit, "isValidABValue", "value's length is great than 3.");
    if (!isUpper(value[0])) ZR_THROW(kUnit, "isValidABValue", "First char is not in A to Z");
    if (value.size() >= 2 && !isUpper(value[1]) && !isDigit(value[1])) {
        ZR_THROW(kUnit, "isValidABValue", "second char is not in A to Z and 0 to 9");
    }
    if (value.size() == 3 && !isUpper(value[2]) && !isDigit(value[2])) {
        ZR_THROW(kUnit, "isValidABValue", "third char is not in A to Z and 0 to 9");
    }
    return true;
}

}  // namespace zerin::analytics
