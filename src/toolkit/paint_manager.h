#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/image.h"
#include "toolkit/painter.h"

namespace toolkit {

class SkinArchive;

// Window-wide settings of a layout's root element.
struct WindowInfo {
    Size size;
    Rect caption;      // insets of the drag area; bottom is the height from the top
    Size roundCorner;  // ellipse of the window region's corners
    std::map<std::wstring, std::wstring> attributes;  // every attribute as written

    const std::wstring* Attribute(const std::wstring& name) const;
};

// One per window: owns the control tree, fonts, pictures and timers, routes
// input to controls and notifications to the window.
class PaintManager final {
public:
    using Clock = std::function<uint64_t()>;

    PaintManager();
    ~PaintManager();
    PaintManager(const PaintManager&) = delete;
    PaintManager& operator=(const PaintManager&) = delete;

    // The window hooks: a wake-up when another thread queued a notification,
    // and the clock of the event loop (milliseconds).
    void SetWakeUp(std::function<void()> wake) { m_wake = std::move(wake); }
    void SetClock(Clock clock) { m_clock = std::move(clock); }
    uint64_t Now() const;

    WindowInfo& GetWindowInfo() { return m_info; }
    const WindowInfo& GetWindowInfo() const { return m_info; }
    void SetArchive(std::shared_ptr<const SkinArchive> archive);
    const std::shared_ptr<const SkinArchive>& GetArchive() const { return m_archive; }

    void AddFont(int id, FontInfo font, bool isDefault);
    const FontInfo& GetFontInfo(int id) const;
    Size MeasureText(const std::wstring& text, int font, unsigned style) const;
    cairo_surface_t* GetImage(const std::wstring& name, std::optional<uint32_t> mask = std::nullopt);

    // Takes the tree, lays it out at the client size and initialises every control.
    void AttachRoot(std::unique_ptr<Control> root);
    Control* GetRoot() const { return m_root.get(); }
    Control* FindControl(std::wstring_view name) const;
    Control* FindControlAt(Point p);
    void SetClientSize(Size size);
    Size GetClientSize() const { return m_client; }

    void AddNotifier(INotifyListener* listener);
    void RemoveNotifier(INotifyListener* listener);
    void SendNotify(Control* sender, std::wstring type, uintptr_t wParam = 0, intptr_t lParam = 0,
                    bool async = false);
    void SendNotify(Notification msg, bool async = false);
    // Delivers the notifications queued so far; runs on the window's thread.
    void DrainAsyncNotify();

    // Timer ids are per control. Setting a timer that already runs keeps it
    // running with its old period.
    bool SetTimer(Control* control, unsigned id, uint32_t elapse);
    bool KillTimer(Control* control, unsigned id);
    void KillTimers(Control* control);
    bool HasTimer(const Control* control, unsigned id) const;
    std::optional<uint64_t> NextTimerDue() const;
    void FireDueTimers(uint64_t now);

    void Invalidate(const Rect& rc);
    void NeedUpdate();
    bool IsUpdateNeeded() const { return m_needUpdate || !m_dirty.Empty(); }
    // Lays out when needed and gives back the area to repaint (then forgets it).
    Rect TakeDirty();
    void Paint(Painter& painter, const Rect& dirty);

    void OnMouseMove(Point p, unsigned keyState = 0);
    void OnButtonDown(Point p, unsigned keyState = 0);
    void OnButtonUp(Point p, unsigned keyState = 0);
    void OnMouseLeaveWindow();
    void OnKeyDown(uint32_t key, unsigned keyState = 0);
    void OnChar(char32_t ch);
    // Inside the layout's caption area and not over a control taking clicks.
    bool IsCaptionDrag(Point p);

    Control* GetFocus() const { return m_focus; }
    void SetFocus(Control* control);
    // Drops hover, capture and focus that point into a hidden or removed subtree.
    void ForgetInput(Control* control);
    void ForgetControl(Control* control);

    // Executable's folder, ending in a separator.
    static std::wstring GetResourcePath();

private:
    struct Timer {
        Control* control;
        unsigned id;
        uint32_t period;
        uint64_t due;
    };
    void Send(Control* control, EventType type, Point p = {}, uint32_t key = 0, unsigned keyState = 0,
              uintptr_t wParam = 0);
    void Layout();

    WindowInfo m_info;
    std::shared_ptr<const SkinArchive> m_archive;
    ImageCache m_images{nullptr};
    std::map<int, FontInfo> m_fonts;
    FontInfo m_defaultFont;
    std::unique_ptr<Control> m_root;
    Size m_client;
    std::vector<INotifyListener*> m_listeners;
    std::vector<Timer> m_timers;
    std::mutex m_asyncMutex;
    std::vector<Notification> m_async;
    std::function<void()> m_wake;
    Clock m_clock;
    Rect m_dirty;
    bool m_needUpdate = true;
    Control* m_hover = nullptr;
    Control* m_capture = nullptr;
    Control* m_focus = nullptr;
};

}  // namespace toolkit
