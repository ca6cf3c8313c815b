#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/geometry.h"

namespace toolkit {

// How one image attribute asks for its picture to be drawn. A bare value is
// just the archive path; the long form is blank-separated key='value' pairs.
struct ImageDesc {
    std::wstring file;
    std::optional<Rect> dest;        // inside the control; whole control when absent
    std::optional<Rect> source;      // part of the picture; whole picture when absent
    Rect corner;                     // nine-patch margins kept unstretched
    std::optional<uint32_t> mask;    // RGB drawn as transparent (alpha ignored)
    uint8_t fade = 255;
    bool hole = false;
    bool xtiled = false;
    bool ytiled = false;
};

// Fails on an unterminated quote or a pair without "=": such an image is
// simply not drawn. Unknown keys are accepted and ignored.
std::optional<ImageDesc> ParseImageDesc(std::wstring_view text);

}  // namespace toolkit
