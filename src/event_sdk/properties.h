#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace event_sdk {

class PropertiesNode;

// A point in time as the SDK stores it: whole seconds since 1970 plus the
// milliseconds within that second.
struct DateTime {
    int64_t seconds = 0;
    int32_t milliseconds = 0;
    bool operator==(const DateTime&) const = default;
};

// One typed property value. The numeric tags are part of the record format's
// history and are kept stable.
class PropertyValue final {
public:
    enum class Type : int { Number = 0, Integer = 1, String = 2, List = 3, DateTime = 4, Bool = 5, Object = 6, Unset = 7 };

    PropertyValue() = default;
    static PropertyValue Number(double value);
    static PropertyValue Integer(int64_t value);
    static PropertyValue String(std::string value);
    static PropertyValue List(std::vector<std::string> values);
    static PropertyValue Time(DateTime value);
    static PropertyValue Bool(bool value);
    static PropertyValue Object(const PropertiesNode& node);

    Type type() const { return static_cast<Type>(m_payload.index()); }

    double number() const { return std::get<0>(m_payload); }
    int64_t integer() const { return std::get<1>(m_payload); }
    const std::string& string() const { return std::get<2>(m_payload); }
    const std::vector<std::string>& list() const { return std::get<3>(m_payload); }
    DateTime dateTime() const { return std::get<4>(m_payload); }
    bool boolean() const { return std::get<5>(m_payload); }
    const PropertiesNode& object() const { return *std::get<6>(m_payload); }

    // Appends the JSON form of the value; an unset value appends nothing.
    void AppendJson(std::string& out) const;

private:
    // Nested objects are shared and immutable, so copying a value stays cheap.
    using Payload = std::variant<double, int64_t, std::string, std::vector<std::string>, DateTime, bool,
                                 std::shared_ptr<const PropertiesNode>, std::monostate>;
    explicit PropertyValue(Payload payload) : m_payload(std::move(payload)) {}

    Payload m_payload{std::monostate{}};
};

namespace utils {

// Ordered map from key to value, kept as a sorted vector: an event has a few
// dozen keys at most, and one block of memory builds much faster than a node
// per key. Keys compare through char_traits<char>, i.e. byte-wise as unsigned
// char, which is the order the records are written in.
class ObjectNode {
public:
    using Map = std::vector<std::pair<std::string, PropertyValue>>;

    void Set(std::string_view key, PropertyValue value);
    const PropertyValue* Find(std::string_view key) const;
    bool Erase(std::string_view key);
    bool empty() const { return m_values.empty(); }
    size_t size() const { return m_values.size(); }
    Map::const_iterator begin() const { return m_values.begin(); }
    Map::const_iterator end() const { return m_values.end(); }

    // {"key":value,...} with no blanks, keys in map order.
    void AppendJson(std::string& out) const;
    std::string ToJson() const;

protected:
    Map::iterator LowerBound(std::string_view key);
    Map::const_iterator LowerBound(std::string_view key) const;
    void InsertGrowing(Map::iterator at, std::string_view key, PropertyValue value);

    Map m_values;
};

}  // namespace utils

// The property set of one event or profile update.
class PropertiesNode : public utils::ObjectNode {
public:
    // Refuses (with a message on the error output) a text over 8192 bytes or
    // one that is not strictly valid UTF-8; the set is then left unchanged.
    bool SetString(std::string_view key, std::string_view text);
    void SetInt(std::string_view key, int64_t value);
    void SetNumber(std::string_view key, double value);
    void SetBool(std::string_view key, bool value);
    void SetDateTime(std::string_view key, int64_t seconds, int32_t milliseconds);
    void SetList(std::string_view key, std::vector<std::string> values);
    void SetObject(std::string_view key, const PropertiesNode& node);
    // Every key of the other set replaces or adds; the other set wins.
    void Merge(const PropertiesNode& other);
};

}  // namespace event_sdk
