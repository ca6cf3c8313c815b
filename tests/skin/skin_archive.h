#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The linked skin archive unpacked for inspection, by its own entry names.
namespace skintest {

using Bytes = std::vector<std::uint8_t>;

struct Archive {
    std::map<std::string, Bytes> files;
    int folders = 0;
};

Archive ReadLinkedSkin();

// "\" read as "/", ASCII letters in lower case: how the program compares entry names.
std::string FoldPath(std::string path);

// The entry named `path`, with "\" read as "/" and letter case ignored.
const Bytes* FindEntry(const Archive& archive, std::string path);

struct PngSize {
    int width = 0;
    int height = 0;
};
std::optional<PngSize> DecodePng(const Bytes& bytes);

}  // namespace skintest
