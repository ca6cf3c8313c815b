#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/backend.h"
#include "toolkit/event.h"
#include "toolkit/image.h"
#include "toolkit/message.h"
#include "toolkit/paint_manager.h"

namespace toolkit {

// Where a window's layout comes from.
enum SkinSource : int {
    kSkinFolder = 1,    // files below the executable's folder + skin folder
    kSkinResource = 4,  // a 7z archive linked into the executable
};

// Text and caption of the box shown when a window's layout cannot be built.
inline constexpr const wchar_t* kSkinErrorText = L"加载资源文件失败";
inline constexpr const wchar_t* kSkinErrorCaption = L"Skin";

// A native window whose content is one layout of the skin. Messages pass the
// message hook first, then the toolkit's own handling, then the custom hook.
class Window : public INotifyListener {
public:
    Window();
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Builds the layout and the native window; the window shows when the
    // style asks for it once the current message is handled, or on ShowModal.
    WindowHandle Create(WindowHandle parent, const std::wstring& name, uint32_t style, uint32_t exStyle,
                        int x = kUseDefault, int y = kUseDefault, int cx = kUseDefault, int cy = kUseDefault);
    WindowHandle GetHWND() const { return m_handle; }
    bool IsWindow() const { return m_handle != 0; }
    void ShowWindow(bool show = true);
    void CenterWindow();
    // Runs the thread's messages until this window is gone; its owner is
    // disabled meanwhile. Returns the code the window was closed with.
    int ShowModal();
    // Posts a close request with the code and returns at once.
    void Close(int code = 1);
    bool PostMessage(uint32_t id, uintptr_t wParam = 0, intptr_t lParam = 0);
    intptr_t SendMessage(uint32_t id, uintptr_t wParam = 0, intptr_t lParam = 0);
    void SetIcon(int resourceId);
    void SetForeground();

    uint32_t GetStyle() const { return m_style; }
    void SetStyle(uint32_t style) { m_style = style; }
    uint32_t GetExStyle() const { return m_exStyle; }
    void SetExStyle(uint32_t exStyle) { m_exStyle = exStyle; }
    bool IsEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    PaintManager& GetPaintManager() { return m_manager; }
    NativeWindow* GetNative() const { return m_native.get(); }
    // The painted content (tests and screenshots read it).
    cairo_surface_t* GetSurface() const { return m_surface.get(); }
    bool NeedsPaint() const;

    // Descriptor of the window's skin.
    virtual std::wstring GetWindowClassName() const { return L""; }
    virtual std::wstring GetSkinFolder() const { return L""; }
    virtual std::wstring GetSkinFile() const { return L""; }
    virtual int GetResourceType() const { return kSkinResource; }
    virtual int GetResourceID() const { return 0; }

    // Entry of the message loop.
    intptr_t Dispatch(uint32_t id, uintptr_t wParam, intptr_t lParam);
    void Notify(Notification& /*msg*/) override {}

protected:
    // After the layout is built and attached, before the window shows.
    virtual void OnWindowReady() {}
    // Creates the program's own element classes while the layout is built.
    virtual std::unique_ptr<Control> CreateControl(std::wstring_view /*className*/) { return nullptr; }
    // Sees every message before the toolkit; set `handled` to stop it there.
    virtual intptr_t OnMessage(uint32_t /*id*/, uintptr_t /*wParam*/, intptr_t /*lParam*/, bool& handled)
    {
        handled = false;
        return 0;
    }
    // Messages the toolkit does not handle itself.
    virtual intptr_t OnCustomMessage(uint32_t /*id*/, uintptr_t /*wParam*/, intptr_t /*lParam*/, bool& handled)
    {
        handled = false;
        return 0;
    }
    // The toolkit's own handling.
    virtual intptr_t HandleMessage(uint32_t id, uintptr_t wParam, intptr_t lParam);
    virtual void OnFinalMessage() {}
    void Destroy();

private:
    bool LoadSkin();
    void Paint();
    bool HandleInput(uint32_t id, uintptr_t wParam, intptr_t lParam);
    void OnSysCommand(uintptr_t command);

    PaintManager m_manager;
    std::unique_ptr<NativeWindow> m_native;
    SurfacePtr m_surface;
    WindowHandle m_handle = 0;
    WindowHandle m_parent = 0;
    uint32_t m_style = 0;
    uint32_t m_exStyle = 0;
    int m_closeCode = 0;
    bool m_enabled = true;
    bool m_showPending = false;
};

// Shows the skin error box and ends the process with exit code 1.
[[noreturn]] void FailSkin();

}  // namespace toolkit
