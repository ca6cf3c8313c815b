#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "toolkit/backend.h"

namespace toolkit {

// Real windows on the display through SDL2: borderless, with the rounded
// window region, dragging by the layout's caption area, and mouse, keyboard
// and text input turned into window messages.
class SdlBackend final : public Backend {
public:
    // Null when no display can be opened.
    static std::unique_ptr<SdlBackend> Open();
    // Size of the primary display in pixels; works before and after Open().
    static std::optional<Size> PrimaryScreenSize();
    ~SdlBackend() override;

    std::unique_ptr<NativeWindow> CreateNativeWindow(WindowHandle handle, const std::wstring& title, Size size,
                                                     Size roundCorner) override;
    void Wait(MessageLoop& loop, std::optional<uint64_t> timeoutMs) override;
    void Wake() override;
    uint64_t Now() override;
    Rect WorkArea(const Rect& near) override;
    void ShowErrorBox(const std::wstring& text, const std::wstring& caption) override;

    void Forget(uint32_t sdlId) { m_handles.erase(sdlId); }

private:
    SdlBackend() = default;
    void Translate(MessageLoop& loop, const void* event);

    std::map<uint32_t, WindowHandle> m_handles;  // SDL window id → our handle
    uint32_t m_wakeEvent = 0;
};

}  // namespace toolkit
