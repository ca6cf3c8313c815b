#include "event_sdk/record_builder.h"

#include <chrono>

#include "event_sdk/json_writer.h"
#include "event_sdk/output.h"
#include "event_sdk/validation.h"

namespace event_sdk {
namespace {

bool IsTrackKind(std::string_view type) { return type.find("track") != std::string_view::npos; }

std::string ValidateRecord(const RecordContext& context, const PropertiesNode& properties) {
    if (auto message = CheckProperties(properties); !message.empty()) return message;
    if (context.type == "track") return CheckName(context.eventName, "Event Name");
    if (context.type == "track_signup") return CheckLength(context.originalId, "Original ID");
    return {};
}

// The record's properties are the super properties (track kinds only), the
// given ones over them, and the login flag over both, minus "$time" and
// "$project" which move to the record itself. They are written by merging the
// sorted sources on the fly instead of copying them into one set first.
class MergedProperties {
public:
    MergedProperties(const PropertiesNode* super, const PropertiesNode& given, bool isLoginId)
        : m_super(super), m_given(given) {
        if (isLoginId) m_login.SetBool("$is_login_id", true);
    }

    // Highest priority first.
    const PropertyValue* Find(std::string_view key) const {
        if (auto* v = m_login.Find(key)) return v;
        if (auto* v = m_given.Find(key)) return v;
        return m_super ? m_super->Find(key) : nullptr;
    }

    void AppendJson(std::string& out) const {
        using It = utils::ObjectNode::Map::const_iterator;
        // Lowest priority first, so a later source with the same key wins.
        std::pair<It, It> sources[3] = {{m_login.end(), m_login.end()}, {m_given.begin(), m_given.end()},
                                        {m_login.begin(), m_login.end()}};
        if (m_super) sources[0] = {m_super->begin(), m_super->end()};
        out += '{';
        bool first = true;
        for (;;) {
            const std::string* key = nullptr;
            for (auto& [it, end] : sources)
                if (it != end && (!key || it->first < *key)) key = &it->first;
            if (!key) break;
            const PropertyValue* value = nullptr;
            const std::string_view current = *key;  // the map node outlives the walk
            for (auto& [it, end] : sources)
                if (it != end && it->first == current) value = &(it++)->second;
            if (current == "$time" || current == "$project" || value->type() == PropertyValue::Type::Unset) continue;
            if (!first) out += ',';
            first = false;
            AppendJsonString(out, current);
            out += ':';
            value->AppendJson(out);
        }
        out += '}';
    }

private:
    const PropertiesNode* m_super;
    const PropertiesNode& m_given;
    PropertiesNode m_login;
};

// "$time" becomes the record's time; without one the record is stamped now.
int64_t RecordTime(const MergedProperties& all, int64_t now) {
    const PropertyValue* value = all.Find("$time");
    if (!value || value->type() != PropertyValue::Type::DateTime) return now;
    const DateTime t = value->dateTime();
    // Unsigned arithmetic: an absurd date must not be undefined behaviour.
    return static_cast<int64_t>(static_cast<uint64_t>(t.seconds) * 1000u + static_cast<uint64_t>(t.milliseconds));
}

std::string_view RecordProject(const MergedProperties& all) {
    const PropertyValue* value = all.Find("$project");
    if (!value || value->type() != PropertyValue::Type::String) return {};
    return value->string();
}

void AppendKey(std::string& out, std::string_view key) {
    out += '"';
    out += key;
    out += "\":";
}

}  // namespace

std::optional<std::string> BuildRecord(const RecordContext& context, const PropertiesNode& properties) {
    if (auto message = ValidateRecord(context, properties); !message.empty()) {
        WriteError(message);
        return std::nullopt;
    }
    const bool track = IsTrackKind(context.type);
    const MergedProperties all(track ? context.superProperties : nullptr, properties, context.isLoginId);
    const int64_t time = RecordTime(all, context.nowMilliseconds);
    const std::string_view project = RecordProject(all);

    // Keys in byte order, the order every record is written in.
    std::string out;
    // Room for the fixed fields and a typical property without regrowing.
    out.reserve(320 + 48 * (properties.size() + (track && context.superProperties ? context.superProperties->size() : 0)));
    out += '{';
    AppendKey(out, "_track_id");
    AppendJsonInteger(out, context.trackId);
    out += ',';
    AppendKey(out, "distinct_id");
    AppendJsonString(out, context.distinctId);
    if (track) {
        out += ',';
        AppendKey(out, "event");
        AppendJsonString(out, context.eventName);
    }
    out += ",\"lib\":{\"$lib\":\"cpp\",\"$lib_method\":\"code\",\"$lib_version\":\"0.9\"}";
    if (context.type == "track_signup") {
        out += ',';
        AppendKey(out, "original_id");
        AppendJsonString(out, context.originalId);
    }
    if (!project.empty()) {
        out += ',';
        AppendKey(out, "project");
        AppendJsonString(out, project);
    }
    out += ',';
    AppendKey(out, "properties");
    all.AppendJson(out);
    out += ',';
    AppendKey(out, "time");
    AppendJsonInteger(out, time);
    out += ',';
    AppendKey(out, "type");
    AppendJsonString(out, context.type);
    out += '}';
    return out;
}

int64_t MakeTrackId(std::mt19937& random, int64_t nowMilliseconds) {
    const int64_t first = (random() % 99 + 100) % 100;
    const int64_t second = (random() % 999 + 1000) % 1000;
    const int64_t third = ((nowMilliseconds % 10000) + 10000) % 10000;
    return first * 10'000'000 + second * 10'000 + third;
}

int64_t CurrentTimeMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace event_sdk
