#pragma once

#include <cstdint>

#include "toolkit/geometry.h"

namespace toolkit {

// Identifies a window across threads; 0 is "no window".
using WindowHandle = uint32_t;

// Window messages, numbered like the system's so that code posting raw
// numbers (2024, 1224) and code using names agree.
namespace wm {
constexpr uint32_t Create = 0x0001;
constexpr uint32_t Destroy = 0x0002;
constexpr uint32_t Close = 0x0010;
constexpr uint32_t Quit = 0x0012;
constexpr uint32_t KeyDown = 0x0100;
constexpr uint32_t Char = 0x0102;
constexpr uint32_t SysKeyDown = 0x0104;
constexpr uint32_t SysCommand = 0x0112;
constexpr uint32_t Timer = 0x0113;
constexpr uint32_t MouseMove = 0x0200;
constexpr uint32_t LButtonDown = 0x0201;
constexpr uint32_t LButtonUp = 0x0202;
constexpr uint32_t MouseLeave = 0x02A3;
constexpr uint32_t User = 0x0400;
// The toolkit's own traffic, above anything the program posts.
constexpr uint32_t AsyncNotify = 0x8001;
}  // namespace wm

// System commands carried by wm::SysCommand.
namespace sc {
constexpr uintptr_t Minimize = 0xF020;
constexpr uintptr_t Maximize = 0xF030;
constexpr uintptr_t Close = 0xF060;
constexpr uintptr_t Restore = 0xF120;
}  // namespace sc

// Window styles the toolkit looks at.
namespace ws {
constexpr uint32_t Visible = 0x10000000;
constexpr uint32_t Caption = 0x00C00000;
constexpr uint32_t MaximizeBox = 0x00010000;
constexpr uint32_t ClipSiblings = 0x04000000;
constexpr uint32_t ClipChildren = 0x02000000;
constexpr uint32_t OverlappedWindow = 0x00CF0000;
constexpr uint32_t ExTopmost = 0x00000008;
}  // namespace ws

// Position and size left to the layout.
constexpr int kUseDefault = static_cast<int>(0x80000000);

struct Message {
    WindowHandle window = 0;
    uint32_t id = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// Mouse positions travel in lParam as two signed 16-bit halves.
inline intptr_t MakePointParam(Point p)
{
    return static_cast<intptr_t>((static_cast<uint32_t>(static_cast<uint16_t>(p.y)) << 16) |
                                 static_cast<uint16_t>(p.x));
}
inline Point PointFromParam(intptr_t l)
{
    return {static_cast<int16_t>(l & 0xFFFF), static_cast<int16_t>((l >> 16) & 0xFFFF)};
}

}  // namespace toolkit
