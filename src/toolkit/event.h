#pragma once

#include <cstdint>
#include <string>

#include "toolkit/geometry.h"

namespace toolkit {

class Control;

// Virtual key codes, numbered as the window messages carry them.
enum Key : uint32_t {
    kKeyBack = 0x08,
    kKeyTab = 0x09,
    kKeyReturn = 0x0D,
    kKeyEscape = 0x1B,
    kKeySpace = 0x20,
    kKeyEnd = 0x23,
    kKeyHome = 0x24,
    kKeyLeft = 0x25,
    kKeyUp = 0x26,
    kKeyRight = 0x27,
    kKeyDown = 0x28,
    kKeyDelete = 0x2E,
    kKeyF4 = 0x73,
};

// Modifier bits of Event::keyState and Notification::keyState.
enum KeyState : unsigned { kStateShift = 0x1, kStateControl = 0x2, kStateAlt = 0x4 };

// Input delivered by the paint manager to one control.
enum class EventType { MouseEnter, MouseLeave, MouseMove, ButtonDown, ButtonUp, KeyDown, Char, SetFocus, KillFocus, Timer };

struct Event {
    EventType type = EventType::MouseMove;
    Control* sender = nullptr;
    Point mouse;
    uint32_t key = 0;  // virtual key for KeyDown, code point for Char
    unsigned keyState = 0;
    uintptr_t wParam = 0;  // timer id for Timer
    uint64_t timestamp = 0;
};

// What a control tells its window: "click", "selectchanged", "tabselect", ...
struct Notification {
    std::wstring type;
    Control* sender = nullptr;
    uint64_t timestamp = 0;
    Point mouse;
    unsigned keyState = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

class INotifyListener {
public:
    virtual ~INotifyListener() = default;
    virtual void Notify(Notification& msg) = 0;
};

}  // namespace toolkit
