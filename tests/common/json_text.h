#pragma once
// Records reach the tests as JSON text; a text that does not parse fails the
// test and shows itself.
#include <gtest/gtest.h>
#include <json/json.h>

#include <memory>
#include <string>

namespace lexivar::test {

inline Json::Value ParseJson(const std::string& text) {
    Json::Value value;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, &errors)) << errors << text;
    return value;
}

}  // namespace lexivar::test
