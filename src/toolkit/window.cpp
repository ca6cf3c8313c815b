#include "toolkit/window.h"

#include <cstdlib>

#include "platform/resources.h"
#include "toolkit/layout_builder.h"
#include "toolkit/message_loop.h"
#include "toolkit/offscreen.h"
#include "toolkit/skin_archive.h"
#include "toolkit/text.h"

namespace toolkit {
namespace {

constexpr const char* kSkinResourceType = "ZIPRES";
constexpr Size kEmptyWindowSize{320, 240};

MessageLoop& Loop() { return MessageLoop::Instance(); }

bool IsInput(uint32_t id)
{
    return id == wm::MouseMove || id == wm::LButtonDown || id == wm::LButtonUp || id == wm::KeyDown ||
           id == wm::SysKeyDown || id == wm::Char || id == wm::MouseLeave;
}

}  // namespace

void FailSkin()
{
    if (Loop().HasBackend()) Loop().GetBackend().ShowErrorBox(kSkinErrorText, kSkinErrorCaption);
    std::exit(1);
}

Window::Window() = default;

Window::~Window()
{
    if (m_handle) {
        m_manager.RemoveNotifier(this);
        Loop().Unregister(m_handle);
    }
}

WindowHandle Window::Create(WindowHandle parent, const std::wstring& name, uint32_t style, uint32_t exStyle, int x,
                            int y, int cx, int cy)
{
    if (m_handle) return m_handle;
    m_handle = Loop().Register(this);
    m_parent = parent;
    m_style = (style & ~ws::Caption) | ws::ClipSiblings | ws::ClipChildren;
    m_exStyle = exStyle;
    m_manager.SetClock([] { return Loop().Now(); });
    WindowHandle self = m_handle;
    m_manager.SetWakeUp([self] { Loop().Post(self, wm::AsyncNotify, 0, 0); });

    bool built = LoadSkin();
    Size size = built ? m_manager.GetWindowInfo().size : kEmptyWindowSize;
    if (cx != kUseDefault && cy != kUseDefault && cx > 0 && cy > 0) size = {cx, cy};
    m_manager.SetClientSize(size);
    m_surface.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, size.cx), std::max(1, size.cy)));
    if (Loop().HasBackend()) {
        m_native = Loop().GetBackend().CreateNativeWindow(m_handle, name, size, m_manager.GetWindowInfo().roundCorner);
        if (Window* owner = Loop().Find(parent); owner && owner->m_native) m_native->SetOwner(owner->m_native.get());
        if (x != kUseDefault && y != kUseDefault) m_native->Move({x, y, x + size.cx, y + size.cy});
    }
    if (built) {
        m_manager.AddNotifier(this);
        OnWindowReady();
    }
    m_showPending = (style & ws::Visible) != 0;
    return m_handle;
}

// A missing or unreadable skin leaves the window empty; a skin whose layout
// cannot be built is fatal, because no window of the program works without it.
bool Window::LoadSkin()
{
    std::shared_ptr<SkinArchive> archive;
    if (GetResourceType() == kSkinResource) {
        auto bytes = Platform::FindResourceBytes(kSkinResourceType, GetResourceID());
        if (bytes.empty()) return false;
        archive = OpenSharedSkinArchive(std::as_bytes(bytes));
    } else {
        archive = SkinArchive::FromDirectory(ToUtf8(PaintManager::GetResourcePath() + GetSkinFolder()));
        if (archive) SetCurrentSkinArchive(archive);
    }
    if (!archive) return false;
    m_manager.SetArchive(archive);
    auto xml = archive->ReadLayout(GetSkinFile());
    if (!xml) FailSkin();
    BuildOptions options;
    options.factory = [this](std::wstring_view cls) { return CreateControl(cls); };
    options.loader = [archive](std::wstring_view file) { return archive->ReadLayout(file); };
    auto root = BuildLayout(*xml, m_manager, options);
    if (!root) FailSkin();
    m_manager.AttachRoot(std::move(root));
    return true;
}

void Window::ShowWindow(bool show)
{
    m_showPending = false;
    if (m_native) m_native->Show(show);
}

void Window::CenterWindow()
{
    if (!m_native || !Loop().HasBackend()) return;
    Rect rc = m_native->GetRect();
    Rect work = Loop().GetBackend().WorkArea(rc);
    int x = work.left + (work.Width() - rc.Width()) / 2;
    int y = work.top + (work.Height() - rc.Height()) / 2;
    m_native->Move({x, y, x + rc.Width(), y + rc.Height()});
}

int Window::ShowModal()
{
    WindowHandle self = m_handle;
    if (!self) return m_closeCode;
    ShowWindow(true);
    Window* owner = Loop().Find(m_parent);
    if (owner) owner->SetEnabled(false);
    while (Loop().IsWindow(self)) {
        Message msg;
        if (!Loop().GetMessage(msg)) {
            // A quit ends every loop: pass it on to the outer one.
            Loop().PostQuit(Loop().QuitCode());
            break;
        }
        Loop().Dispatch(msg);
    }
    if ((owner = Loop().Find(m_parent)) != nullptr) {
        owner->SetEnabled(true);
        owner->SetForeground();
    }
    return m_closeCode;
}

void Window::Close(int code) { PostMessage(wm::Close, static_cast<uintptr_t>(code), 0); }

bool Window::PostMessage(uint32_t id, uintptr_t wParam, intptr_t lParam)
{
    return m_handle && Loop().Post(m_handle, id, wParam, lParam);
}

intptr_t Window::SendMessage(uint32_t id, uintptr_t wParam, intptr_t lParam)
{
    return m_handle ? Dispatch(id, wParam, lParam) : 0;
}

void Window::SetIcon(int resourceId)
{
    auto png = Platform::FindResourceBytes(Platform::kIconResourceType, resourceId);
    if (m_native && !png.empty()) m_native->SetIcon(png);
}

void Window::SetForeground()
{
    if (m_native) m_native->Raise();
}

bool Window::NeedsPaint() const { return m_showPending || m_manager.IsUpdateNeeded(); }

void Window::Paint()
{
    Rect dirty = RepaintDirty(m_manager, m_surface.get());
    if (m_showPending) {
        dirty = {0, 0, m_manager.GetClientSize().cx, m_manager.GetClientSize().cy};
        ShowWindow(true);
    }
    if (m_native && !dirty.Empty()) m_native->Present(m_surface.get(), dirty);
}

void Window::Destroy()
{
    if (!m_handle) return;
    WindowHandle handle = m_handle;
    m_manager.RemoveNotifier(this);
    m_native.reset();
    Loop().Unregister(handle);
    m_handle = 0;
    OnFinalMessage();
}

intptr_t Window::Dispatch(uint32_t id, uintptr_t wParam, intptr_t lParam)
{
    if (id == wm::TimerTick) {
        m_manager.FireDueTimers(Loop().Now());
        return 0;
    }
    if (id == wm::Paint) {
        Paint();
        return 0;
    }
    if (IsInput(id) && !m_enabled) return 0;  // the owner of a modal window
    bool handled = false;
    intptr_t result = OnMessage(id, wParam, lParam, handled);
    if (handled || !m_handle) return result;
    return HandleMessage(id, wParam, lParam);
}

bool Window::HandleInput(uint32_t id, uintptr_t wParam, intptr_t lParam)
{
    Point p = PointFromParam(lParam);
    auto keyState = static_cast<unsigned>(wParam >> 32);
    switch (id) {
    case wm::MouseMove: m_manager.OnMouseMove(p); return true;
    case wm::LButtonDown: m_manager.OnButtonDown(p); return true;
    case wm::LButtonUp: m_manager.OnButtonUp(p); return true;
    case wm::MouseLeave: m_manager.OnMouseLeaveWindow(); return true;
    case wm::Char: m_manager.OnChar(static_cast<char32_t>(wParam)); return true;
    case wm::KeyDown: m_manager.OnKeyDown(static_cast<uint32_t>(wParam & 0xFFFFFFFF), keyState); return true;
    case wm::SysKeyDown:
        // Alt+F4 asks the window to close like the system menu's Close.
        if ((wParam & 0xFFFFFFFF) == kKeyF4) OnSysCommand(sc::Close);
        return true;
    default: return false;
    }
}

void Window::OnSysCommand(uintptr_t command)
{
    switch (command) {
    case sc::Close: SendMessage(wm::Close, 0, 0); break;
    case sc::Minimize:
        if (m_native) m_native->Minimize();
        break;
    case sc::Maximize:
    case sc::Restore: {
        Control* maxBtn = m_manager.FindControl(L"maxbtn");
        Control* restoreBtn = m_manager.FindControl(L"restorebtn");
        if (maxBtn && restoreBtn) {
            maxBtn->SetVisible(command == sc::Restore);
            restoreBtn->SetVisible(command == sc::Maximize);
        }
        break;
    }
    default: break;
    }
}

intptr_t Window::HandleMessage(uint32_t id, uintptr_t wParam, intptr_t lParam)
{
    if (HandleInput(id, wParam, lParam)) return 0;
    switch (id) {
    case wm::Close:
        m_closeCode = static_cast<int>(wParam);
        Destroy();
        return 0;
    case wm::SysCommand: OnSysCommand(wParam); return 0;
    case wm::AsyncNotify: m_manager.DrainAsyncNotify(); return 0;
    default: break;
    }
    bool handled = false;
    return OnCustomMessage(id, wParam, lParam, handled);
}

}  // namespace toolkit
