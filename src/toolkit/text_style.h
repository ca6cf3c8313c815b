#pragma once

namespace toolkit {

// Text style bits, used both for painting and for measuring.
enum TextStyle : unsigned {
    kTextLeft = 0x0,
    kTextCenter = 0x1,
    kTextRight = 0x2,
    kTextVCenter = 0x4,
    kTextBottom = 0x8,
    kTextWordBreak = 0x10,
    kTextSingleLine = 0x20,
    kTextNoEllipsis = 0x100,  // single line drawn past the box (clipped), as an edit needs
    kTextEndEllipsis = 0x8000,
};

}  // namespace toolkit
