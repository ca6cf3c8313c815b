#include "event_sdk/properties.h"

#include <algorithm>

#include "event_sdk/json_writer.h"
#include "event_sdk/output.h"
#include "event_sdk/validation.h"

namespace event_sdk {

PropertyValue PropertyValue::Number(double value) { return PropertyValue(Payload(std::in_place_index<0>, value)); }
PropertyValue PropertyValue::Integer(int64_t value) { return PropertyValue(Payload(std::in_place_index<1>, value)); }
PropertyValue PropertyValue::String(std::string value) {
    return PropertyValue(Payload(std::in_place_index<2>, std::move(value)));
}
PropertyValue PropertyValue::List(std::vector<std::string> values) {
    return PropertyValue(Payload(std::in_place_index<3>, std::move(values)));
}
PropertyValue PropertyValue::Time(DateTime value) { return PropertyValue(Payload(std::in_place_index<4>, value)); }
PropertyValue PropertyValue::Bool(bool value) { return PropertyValue(Payload(std::in_place_index<5>, value)); }
PropertyValue PropertyValue::Object(const PropertiesNode& node) {
    return PropertyValue(Payload(std::in_place_index<6>, std::make_shared<const PropertiesNode>(node)));
}

void PropertyValue::AppendJson(std::string& out) const {
    switch (type()) {
        case Type::Number: AppendJsonNumber(out, number()); break;
        case Type::Integer: AppendJsonInteger(out, integer()); break;
        case Type::String: AppendJsonString(out, string()); break;
        case Type::List: {
            out += '[';
            for (size_t i = 0; i < list().size(); ++i) {
                if (i) out += ',';
                AppendJsonString(out, list()[i]);
            }
            out += ']';
            break;
        }
        case Type::DateTime: AppendJsonDateTime(out, dateTime()); break;
        case Type::Bool: out += boolean() ? "true" : "false"; break;
        case Type::Object: object().AppendJson(out); break;
        case Type::Unset: break;
    }
}

namespace utils {

ObjectNode::Map::iterator ObjectNode::LowerBound(std::string_view key) {
    return std::lower_bound(m_values.begin(), m_values.end(), key,
                            [](const auto& entry, std::string_view k) { return std::string_view(entry.first) < k; });
}

ObjectNode::Map::const_iterator ObjectNode::LowerBound(std::string_view key) const {
    return const_cast<ObjectNode*>(this)->LowerBound(key);
}

// Event sets grow to a few dozen keys one by one; growing in bigger steps
// saves most of the moves a doubling vector would make on the way.
void ObjectNode::InsertGrowing(Map::iterator at, std::string_view key, PropertyValue value) {
    const auto index = at - m_values.begin();
    m_values.reserve(std::max<size_t>(32, m_values.size() * 2));
    m_values.emplace(m_values.begin() + index, std::string(key), std::move(value));
}

void ObjectNode::Set(std::string_view key, PropertyValue value) {
    auto it = LowerBound(key);
    if (it != m_values.end() && it->first == key)
        it->second = std::move(value);
    else if (m_values.size() == m_values.capacity() && m_values.size() < 32)
        InsertGrowing(it, key, std::move(value));
    else
        m_values.emplace(it, std::string(key), std::move(value));
}

const PropertyValue* ObjectNode::Find(std::string_view key) const {
    auto it = LowerBound(key);
    return it != m_values.end() && it->first == key ? &it->second : nullptr;
}

bool ObjectNode::Erase(std::string_view key) {
    auto it = LowerBound(key);
    if (it == m_values.end() || it->first != key) return false;
    m_values.erase(it);
    return true;
}

void ObjectNode::AppendJson(std::string& out) const {
    out += '{';
    bool first = true;
    for (const auto& [key, value] : m_values) {
        if (value.type() == PropertyValue::Type::Unset) continue;
        if (!first) out += ',';
        first = false;
        // Keys of valid records are plain names; escaping them keeps a nested
        // object with an odd key from breaking the surrounding JSON.
        AppendJsonString(out, key);
        out += ':';
        value.AppendJson(out);
    }
    out += '}';
}

std::string ObjectNode::ToJson() const {
    std::string out;
    AppendJson(out);
    return out;
}

}  // namespace utils

bool PropertiesNode::SetString(std::string_view key, std::string_view text) {
    if (auto message = CheckStringValue(key, text); !message.empty()) {
        WriteError(message);
        return false;
    }
    Set(key, PropertyValue::String(std::string(text)));
    return true;
}

void PropertiesNode::SetInt(std::string_view key, int64_t value) { Set(key, PropertyValue::Integer(value)); }

void PropertiesNode::SetNumber(std::string_view key, double value) { Set(key, PropertyValue::Number(value)); }

void PropertiesNode::SetBool(std::string_view key, bool value) { Set(key, PropertyValue::Bool(value)); }

void PropertiesNode::SetDateTime(std::string_view key, int64_t seconds, int32_t milliseconds) {
    // Carry whole seconds out of the milliseconds so the value stays 0..999.
    int64_t carry = milliseconds / 1000;
    int32_t rest = milliseconds % 1000;
    if (rest < 0) {
        rest += 1000;
        --carry;
    }
    Set(key, PropertyValue::Time({seconds + carry, rest}));
}

void PropertiesNode::SetList(std::string_view key, std::vector<std::string> values) {
    Set(key, PropertyValue::List(std::move(values)));
}

void PropertiesNode::SetObject(std::string_view key, const PropertiesNode& node) {
    Set(key, PropertyValue::Object(node));
}

void PropertiesNode::Merge(const PropertiesNode& other) {
    for (const auto& [key, value] : other) Set(key, value);
}

}  // namespace event_sdk
