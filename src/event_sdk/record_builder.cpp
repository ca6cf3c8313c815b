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

// "$time" becomes the record's time; without one the record is stamped now.
int64_t TakeTime(PropertiesNode& all, int64_t now) {
    const PropertyValue* value = all.Find("$time");
    if (!value) return now;
    int64_t time = now;
    if (value->type() == PropertyValue::Type::DateTime) {
        const DateTime t = value->dateTime();
        // Unsigned arithmetic: an absurd date must not be undefined behaviour.
        time = static_cast<int64_t>(static_cast<uint64_t>(t.seconds) * 1000u + static_cast<uint64_t>(t.milliseconds));
    }
    all.Erase("$time");
    return time;
}

std::string TakeProject(PropertiesNode& all) {
    const PropertyValue* value = all.Find("$project");
    if (!value) return {};
    std::string project = value->type() == PropertyValue::Type::String ? value->string() : std::string();
    all.Erase("$project");
    return project;
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
    PropertiesNode all;
    if (track && context.superProperties) all = *context.superProperties;
    all.Merge(properties);
    const int64_t time = TakeTime(all, context.nowMilliseconds);
    const std::string project = TakeProject(all);
    if (context.isLoginId) all.SetBool("$is_login_id", true);

    // Keys in byte order, the order every record is written in.
    std::string out;
    out.reserve(256);
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
