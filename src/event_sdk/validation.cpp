#include "event_sdk/validation.h"

#include "event_sdk/properties.h"

namespace event_sdk {
namespace {

constexpr bool IsContinuation(unsigned char c) { return c >= 0x80 && c <= 0xBF; }

constexpr bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

constexpr bool IsNameStart(unsigned char c) { return IsLetter(c) || c == '$' || c == '_'; }

constexpr bool IsNamePart(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

// Bytes a sequence that starts with `lead` occupies, and the range its second
// byte must fall in; zero length means the lead byte itself is refused.
struct LeadRule {
    int length;
    unsigned char secondMin;
    unsigned char secondMax;
};

constexpr LeadRule RuleFor(unsigned char lead) {
    if (lead == '\t' || lead == '\n' || lead == '\r' || (lead >= 0x20 && lead <= 0x7E)) return {1, 0, 0};
    if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};
    if (lead == 0xED) return {3, 0x80, 0x9F};  // no surrogates
    if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};  // nothing above U+10FFFF
    return {0, 0, 0};
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const LeadRule rule = RuleFor(*p);
        if (rule.length == 0 || end - p < rule.length) return false;
        if (rule.length > 1) {
            if (p[1] < rule.secondMin || p[1] > rule.secondMax) return false;
            for (int i = 2; i < rule.length; ++i)
                if (!IsContinuation(p[i])) return false;
        }
        p += rule.length;
    }
    return true;
}

std::string CheckName(std::string_view name, std::string_view label) {
    if (name.empty() || name.size() > kMaxNameLength)
        return "The " + std::string(label) + " is empty or too long, max length is 100";
    bool valid = IsNameStart(static_cast<unsigned char>(name[0]));
    for (size_t i = 1; valid && i < name.size(); ++i) valid = IsNamePart(static_cast<unsigned char>(name[i]));
    if (!valid) return "The " + std::string(label) + " need to be a valid variable name.";
    return {};
}

std::string CheckLength(std::string_view id, std::string_view label) {
    if (id.empty()) return "The " + std::string(label) + " is empty.";
    if (id.size() > kMaxIdLength) return "The " + std::string(label) + " is too long, max length is 255.";
    return {};
}

std::string CheckProperties(const PropertiesNode& properties) {
    for (const auto& [key, value] : properties) {
        if (auto message = CheckName(key, "Property Key"); !message.empty()) return message;
        if (key == "$time" && value.type() != PropertyValue::Type::DateTime)
            return "The property '$time' should be DateTime type.";
        if (key == "$project" && value.type() != PropertyValue::Type::String)
            return "The property '$project' should be String type.";
    }
    return {};
}

std::string CheckStringValue(std::string_view key, std::string_view text) {
    if (text.size() > kMaxStringLength)
        return "String property '" + std::string(key) + "' is too long, value: " + std::string(text);
    if (!IsValidUtf8(text))
        return "String property '" + std::string(key) + "' is not valid UTF-8 string, value: " + std::string(text);
    return {};
}

}  // namespace event_sdk
