#pragma once

#include <cstdint>
#include <string>

#include "toolkit/window.h"
#include "ui/window_descriptor.h"

// Drop-shadow settings of a layout. They are read and kept so that a
// shadow can be drawn around the window; the window itself does not need it.
struct ShadowSettings {
    bool enabled = false;
    int size = 0;
    int sharpness = 0;
    int darkness = 0;
    toolkit::Point position;
    uint32_t colour = 0;
    std::wstring image;
    toolkit::Rect corner;

    static ShadowSettings FromWindow(const toolkit::WindowInfo& info);
};

// Base of every installer window: the skin descriptor, click routing and
// the behaviour all windows share (no caption, Escape ignored, title buttons).
class CSkinFrame : public toolkit::Window {
public:
    explicit CSkinFrame(WindowDescriptor descriptor) : m_descriptor(std::move(descriptor)) {}

    std::wstring GetWindowClassName() const override { return m_descriptor.className; }
    std::wstring GetSkinFolder() const override { return m_descriptor.skinFolder; }
    std::wstring GetSkinFile() const override { return m_descriptor.layoutFile; }
    int GetResourceType() const override { return m_descriptor.resourceType; }
    int GetResourceID() const override { return m_descriptor.resourceId; }

    void Notify(toolkit::Notification& msg) override;
    const ShadowSettings& GetShadow() const { return m_shadow; }

protected:
    // Derived windows call this first from their own override.
    void OnWindowReady() override;
    // Base click handling by the sender's name: close and the title buttons.
    virtual void OnClick(toolkit::Notification& msg);
    intptr_t OnMessage(uint32_t id, uintptr_t wParam, intptr_t lParam, bool& handled) override;

private:
    WindowDescriptor m_descriptor;
    ShadowSettings m_shadow;
};
