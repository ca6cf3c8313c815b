#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "toolkit/geometry.h"
#include "toolkit/message.h"

namespace toolkit {

class MessageLoop;

// One native window: where a painted surface is shown and input comes from.
class NativeWindow {
public:
    virtual ~NativeWindow() = default;
    virtual void Show(bool show) = 0;
    virtual void Move(const Rect& rc) = 0;
    virtual Rect GetRect() const = 0;
    virtual void Present(cairo_surface_t* surface, const Rect& dirty) = 0;
    virtual void SetOwner(NativeWindow* owner) = 0;
    virtual void Minimize() = 0;
    virtual void Raise() = 0;
    virtual void SetIcon(std::span<const uint8_t> png) = 0;
    virtual bool IsShown() const = 0;
};

// Where windows live: a real display, or an off-screen stand-in for tests.
class Backend {
public:
    virtual ~Backend() = default;
    // `client` lets the backend ask the window (caption drag) while it runs.
    virtual std::unique_ptr<NativeWindow> CreateNativeWindow(WindowHandle handle, const std::wstring& title,
                                                             Size size, Size roundCorner) = 0;
    // Blocks until input arrived, the time is up (when given) or Wake() was
    // called; input is handed to the loop as messages.
    virtual void Wait(MessageLoop& loop, std::optional<uint64_t> timeoutMs) = 0;
    // Any thread: makes a Wait return.
    virtual void Wake() = 0;
    virtual uint64_t Now() = 0;
    virtual Rect WorkArea(const Rect& near) = 0;
    virtual void ShowErrorBox(const std::wstring& text, const std::wstring& caption) = 0;
};

}  // namespace toolkit
