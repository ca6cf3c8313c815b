#include "toolkit/sdl_backend.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/shape.h>

#include <cstdio>
#include <vector>

#include "toolkit/event.h"
#include "toolkit/image.h"
#include "toolkit/message_loop.h"
#include "toolkit/painter.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

namespace toolkit {
namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

// Wraps cairo pixels (premultiplied ARGB, native order) without copying.
SdlSurfacePtr WrapCairo(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    return SdlSurfacePtr(SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
        cairo_image_surface_get_height(surface), 32, cairo_image_surface_get_stride(surface),
        SDL_PIXELFORMAT_ARGB8888));
}

SDL_HitTestResult HitTest(SDL_Window* /*win*/, const SDL_Point* area, void* data)
{
    auto handle = static_cast<WindowHandle>(reinterpret_cast<uintptr_t>(data));
    Window* window = MessageLoop::Instance().Find(handle);
    if (window && window->IsEnabled() && window->GetPaintManager().IsCaptionDrag({area->x, area->y}))
        return SDL_HITTEST_DRAGGABLE;
    return SDL_HITTEST_NORMAL;
}

class SdlWindow final : public NativeWindow {
public:
    SdlWindow(SdlBackend& backend, SDL_Window* window, Size roundCorner)
        : m_backend(backend), m_window(window), m_round(roundCorner)
    {
        if (m_round.cx > 0 && m_round.cy > 0) ApplyShape();
    }
    ~SdlWindow() override
    {
        m_backend.Forget(SDL_GetWindowID(m_window));
        SDL_DestroyWindow(m_window);
    }
    void Show(bool show) override
    {
        if (show) {
            SDL_ShowWindow(m_window);
            SDL_RaiseWindow(m_window);
        } else {
            SDL_HideWindow(m_window);
        }
    }
    void Move(const Rect& rc) override { SDL_SetWindowPosition(m_window, rc.left, rc.top); }
    Rect GetRect() const override
    {
        int x = 0, y = 0, w = 0, h = 0;
        SDL_GetWindowPosition(m_window, &x, &y);
        SDL_GetWindowSize(m_window, &w, &h);
        return {x, y, x + w, y + h};
    }
    void Present(cairo_surface_t* surface, const Rect& dirty) override
    {
        SDL_Surface* target = SDL_GetWindowSurface(m_window);
        auto source = WrapCairo(surface);
        if (!target || !source) return;
        SDL_SetSurfaceBlendMode(source.get(), SDL_BLENDMODE_NONE);
        SDL_Rect rc{dirty.left, dirty.top, dirty.Width(), dirty.Height()};
        SDL_Rect dst = rc;
        SDL_BlitSurface(source.get(), &rc, target, &dst);
        SDL_UpdateWindowSurfaceRects(m_window, &rc, 1);
    }
    void SetOwner(NativeWindow* owner) override
    {
        if (auto* o = dynamic_cast<SdlWindow*>(owner)) SDL_SetWindowModalFor(m_window, o->m_window);
    }
    void Minimize() override { SDL_MinimizeWindow(m_window); }
    void Raise() override { SDL_RaiseWindow(m_window); }
    void SetIcon(std::span<const uint8_t> png) override
    {
        auto decoded = DecodePng(png);
        if (!decoded) return;
        auto icon = WrapCairo(decoded.get());
        if (icon) SDL_SetWindowIcon(m_window, icon.get());
    }
    bool IsShown() const override { return (SDL_GetWindowFlags(m_window) & SDL_WINDOW_SHOWN) != 0; }

private:
    // The window region: a rounded rectangle, everything outside it
    // see-through. Set through the X shape extension row by row; elsewhere
    // the corners simply stay square.
    void ApplyShape()
    {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (!SDL_GetWindowWMInfo(m_window, &info) || info.subsystem != SDL_SYSWM_X11) return;
        int w = 0, h = 0;
        SDL_GetWindowSize(m_window, &w, &h);
        SurfacePtr mask(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
        cairo_t* cr = cairo_create(mask.get());
        Painter(cr).FillRoundRect({0, 0, w, h}, m_round.cx, m_round.cy, 0xFF000000);
        cairo_destroy(cr);
        cairo_surface_flush(mask.get());
        std::vector<XRectangle> rows;
        for (int y = 0; y < h; ++y) {
            auto* px = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(mask.get()) +
                                                         static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(mask.get()));
            int left = 0, right = w;
            while (left < w && (px[left] >> 24) < 128) ++left;
            while (right > left && (px[right - 1] >> 24) < 128) --right;
            if (right > left)
                rows.push_back({static_cast<short>(left), static_cast<short>(y), static_cast<unsigned short>(right - left), 1});
        }
        XShapeCombineRectangles(info.info.x11.display, info.info.x11.window, ShapeBounding, 0, 0, rows.data(),
                                static_cast<int>(rows.size()), ShapeSet, YXBanded);
    }

    SdlBackend& m_backend;
    SDL_Window* m_window;
    Size m_round;
};

uint32_t VirtualKey(SDL_Keycode key)
{
    switch (key) {
    case SDLK_BACKSPACE: return kKeyBack;
    case SDLK_TAB: return kKeyTab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return kKeyReturn;
    case SDLK_ESCAPE: return kKeyEscape;
    case SDLK_SPACE: return kKeySpace;
    case SDLK_END: return kKeyEnd;
    case SDLK_HOME: return kKeyHome;
    case SDLK_LEFT: return kKeyLeft;
    case SDLK_UP: return kKeyUp;
    case SDLK_RIGHT: return kKeyRight;
    case SDLK_DOWN: return kKeyDown;
    case SDLK_DELETE: return kKeyDelete;
    case SDLK_F4: return kKeyF4;
    default:
        if (key >= 'a' && key <= 'z') return static_cast<uint32_t>(key - 'a' + 'A');
        if (key >= '0' && key <= '9') return static_cast<uint32_t>(key);
        return 0;
    }
}

unsigned ModifierState(uint16_t mod)
{
    unsigned state = 0;
    if (mod & KMOD_SHIFT) state |= kStateShift;
    if (mod & KMOD_CTRL) state |= kStateControl;
    if (mod & KMOD_ALT) state |= kStateAlt;
    return state;
}

XErrorHandler g_defaultErrorHandler = nullptr;

// A wake-up from another thread is sent to the window the event loop waits
// on, over a connection of its own; when the loop has meanwhile woken and
// destroyed that window (a box closed by the click it waited for), the server
// answers BadWindow, read at the latest when that connection closes at
// shut-down. The queued event is not lost, so this one error must not end the
// program the way Xlib's default reaction would.
int TolerateVanishedWakeTarget(Display* display, XErrorEvent* error)
{
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return g_defaultErrorHandler ? g_defaultErrorHandler(display, error) : 0;
}

// Installed before SDL opens the display: SDL chains to the handler it finds
// and puts it back when it closes, so the tolerance also covers the errors
// read while SDL closes its connections. Once SDL runs, its own handler leads
// back to this one and must stay in front.
void InstallXErrorHandler()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return;
    XErrorHandler previous = XSetErrorHandler(TolerateVanishedWakeTarget);
    if (previous != TolerateVanishedWakeTarget) g_defaultErrorHandler = previous;
}

}  // namespace

std::optional<Size> SdlBackend::PrimaryScreenSize()
{
    // The video subsystem is counted: opening it here while the backend runs
    // leaves the backend's own use untouched. When nothing used SDL before,
    // it is shut down whole again, helpers it started on the way included.
    const bool sdlWasIdle = SDL_WasInit(SDL_INIT_EVERYTHING) == 0;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    InstallXErrorHandler();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return std::nullopt;
    SDL_Rect bounds{};
    const bool known = SDL_GetDisplayBounds(0, &bounds) == 0 && bounds.w > 0 && bounds.h > 0;
    if (sdlWasIdle)
        SDL_Quit();
    else
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (!known) return std::nullopt;
    return Size{bounds.w, bounds.h};
}

std::unique_ptr<SdlBackend> SdlBackend::Open()
{
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // A terminate signal ends the process as usual instead of becoming an
    // event that no window is waiting for.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Windows are painted in software; a GL-backed window surface would load
    // a whole software GL stack for nothing.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    InstallXErrorHandler();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return nullptr;
    std::unique_ptr<SdlBackend> backend(new SdlBackend);
    backend->m_wakeEvent = SDL_RegisterEvents(1);
    SDL_StartTextInput();
    return backend;
}

SdlBackend::~SdlBackend() { SDL_Quit(); }

std::unique_ptr<NativeWindow> SdlBackend::CreateNativeWindow(WindowHandle handle, const std::wstring& title,
                                                             Size size, Size roundCorner)
{
    std::string utf8 = ToUtf8(title);
    int w = std::max(1, size.cx), h = std::max(1, size.cy);
    SDL_Window* window = SDL_CreateWindow(utf8.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                                          SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (!window) return nullptr;
    SDL_SetWindowHitTest(window, HitTest, reinterpret_cast<void*>(static_cast<uintptr_t>(handle)));
    m_handles[SDL_GetWindowID(window)] = handle;
    return std::make_unique<SdlWindow>(*this, window, roundCorner);
}

void SdlBackend::Translate(MessageLoop& loop, const void* raw)
{
    const auto& e = *static_cast<const SDL_Event*>(raw);
    auto target = [&](uint32_t sdlId) -> WindowHandle {
        auto it = m_handles.find(sdlId);
        return it == m_handles.end() ? 0 : it->second;
    };
    switch (e.type) {
    case SDL_MOUSEMOTION:
        if (WindowHandle h = target(e.motion.windowID))
            loop.PostInput({h, wm::MouseMove, 0, MakePointParam({e.motion.x, e.motion.y})});
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (WindowHandle h = target(e.button.windowID); h && e.button.button == SDL_BUTTON_LEFT)
            loop.PostInput({h, e.type == SDL_MOUSEBUTTONDOWN ? wm::LButtonDown : wm::LButtonUp, 0,
                            MakePointParam({e.button.x, e.button.y})});
        break;
    case SDL_KEYDOWN:
        if (WindowHandle h = target(e.key.windowID)) {
            unsigned state = ModifierState(e.key.keysym.mod);
            uintptr_t w = VirtualKey(e.key.keysym.sym) | (static_cast<uintptr_t>(state) << 32);
            loop.PostInput({h, (state & kStateAlt) ? wm::SysKeyDown : wm::KeyDown, w, 0});
        }
        break;
    case SDL_TEXTINPUT:
        if (WindowHandle h = target(e.text.windowID))
            for (wchar_t c : FromUtf8(e.text.text)) loop.PostInput({h, wm::Char, static_cast<uintptr_t>(c), 0});
        break;
    case SDL_WINDOWEVENT:
        if (WindowHandle h = target(e.window.windowID)) {
            if (e.window.event == SDL_WINDOWEVENT_CLOSE)
                loop.PostInput({h, wm::SysCommand, sc::Close, 0});
            else if (e.window.event == SDL_WINDOWEVENT_LEAVE)
                loop.PostInput({h, wm::MouseLeave, 0, 0});
            else if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
                if (Window* w = loop.Find(h)) {
                    Size s = w->GetPaintManager().GetClientSize();
                    w->GetPaintManager().Invalidate({0, 0, s.cx, s.cy});
                }
        }
        break;
    default: break;
    }
}

void SdlBackend::Wait(MessageLoop& loop, std::optional<uint64_t> timeoutMs)
{
    SDL_Event e;
    int timeout = timeoutMs ? static_cast<int>(std::min<uint64_t>(*timeoutMs, 0x7FFFFFFF)) : -1;
    if (!SDL_WaitEventTimeout(&e, timeout)) return;
    Translate(loop, &e);
    while (SDL_PollEvent(&e)) Translate(loop, &e);
}

void SdlBackend::Wake()
{
    SDL_Event e{};
    e.type = m_wakeEvent;
    SDL_PushEvent(&e);
}

uint64_t SdlBackend::Now() { return SDL_GetTicks64(); }

Rect SdlBackend::WorkArea(const Rect& near)
{
    SDL_Point centre{(near.left + near.right) / 2, (near.top + near.bottom) / 2};
    int display = 0;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(i, &bounds) == 0 && SDL_PointInRect(&centre, &bounds)) display = i;
    }
    SDL_Rect usable{0, 0, 1024, 768};
    SDL_GetDisplayUsableBounds(display, &usable);
    return {usable.x, usable.y, usable.x + usable.w, usable.y + usable.h};
}

void SdlBackend::ShowErrorBox(const std::wstring& text, const std::wstring& caption)
{
    std::string t = ToUtf8(text), c = ToUtf8(caption);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, c.c_str(), t.c_str(), nullptr) != 0)
        std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
}

}  // namespace toolkit
