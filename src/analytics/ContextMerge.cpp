#include "analytics/ContextMerge.h"

#include "event_sdk/properties.h"

namespace zerin::analytics {
namespace {

void setEntry(const ZrContextProperties::Entry& entry, event_sdk::PropertiesNode& record) {
    const auto& value = *entry.value;
    if (const auto* b = std::get_if<bool>(&value)) {
        record.SetBool(entry.key, *b);
    } else if (const auto* t = std::get_if<ZrTime>(&value)) {
        int64_t seconds = 0;
        int millis = 0;
        splitTime(*t, seconds, millis);
        record.SetDateTime(entry.key, seconds, millis);
    } else if (const auto* d = std::get_if<double>(&value)) {
        record.SetNumber(entry.key, *d);
    } else if (const auto* s = std::get_if<std::string>(&value)) {
        record.SetString(entry.key, *s);
    } else if (const auto* list = std::get_if<std::vector<std::string>>(&value)) {
        record.SetList(entry.key, *list);
    }
}

}  // namespace

bool mergeContextProperties(const ZrContextProperties* props, ZrEventType type, event_sdk::PropertiesNode& record) {
    if (props == nullptr) return false;
    const auto& entries = props->getEventProperties(type);
    for (const auto& entry : entries) setEntry(entry, record);
    return !entries.empty();
}

}  // namespace zerin::analytics
