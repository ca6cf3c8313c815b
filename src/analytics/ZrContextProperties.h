#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "analytics/ZrEnums.h"

namespace zerin::analytics {

// A point in time for a context property: seconds since 1970, or milliseconds
// when the value is too large to be a plausible count of seconds.
struct ZrTime {
    int64_t value = 0;
};

// Local time text "YYYY-MM-DD hh:mm:ss.mmm" of a ZrTime; milliseconds are 000
// for a value given in seconds.
std::string formatLocalTime(ZrTime time);
// The same instant as whole seconds and the millisecond remainder.
void splitTime(ZrTime time, int64_t& seconds, int& millis);

// Per-event context properties that a caller adds to the events it tracks,
// e.g. the A/B group. Built and used on one thread; it has no lock.
class ZrContextProperties final {
public:
    enum class Kind : int32_t { Bool = 0, Time = 1, Number = 2, String = 3, StringList = 4 };
    using Value = std::variant<bool, ZrTime, double, std::string, std::vector<std::string>>;

    struct Entry {
        Kind kind;
        std::shared_ptr<const Value> value;
        std::string key;
    };
    using EntryList = std::vector<Entry>;

    ZrContextProperties();

    // Each setter refuses a key that is already present and an event type of 15
    // or more; types listed before a bad one keep their entry.
    void setProperty(const std::string& key, const std::string& value, const std::vector<ZrEventType>& types);
    void setProperty(const std::string& key, bool value, const std::vector<ZrEventType>& types);
    void setProperty(const std::string& key, ZrTime value, const std::vector<ZrEventType>& types);
    void setProperty(const std::string& key, double value, const std::vector<ZrEventType>& types);
    void setProperty(const std::string& key, const std::vector<std::string>& value,
                     const std::vector<ZrEventType>& types);

    const EntryList& getEventProperties(ZrEventType type) const;

    // The A/B group rule: empty is "not valid" without complaint; otherwise one
    // to three characters, an upper-case letter first, then letters or digits.
    static bool isValidABValue(const std::string& value);

private:
    void add(const std::string& key, Kind kind, Value value, const std::vector<ZrEventType>& types);

    std::unordered_map<std::string, std::shared_ptr<const Value>> m_index;
    std::array<EntryList, kZrEventTypeCount> m_lists;
};

}  // namespace zerin::analytics
