#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/text_style.h"

namespace toolkit {

class PaintManager;
class Painter;

// Base of every control: name, text, geometry hints, background and border,
// and the plumbing to its window's paint manager.
class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual std::wstring_view GetClass() const { return L"Control"; }
    // The control when it is (or derives from) the named class, else null.
    virtual void* GetInterface(std::wstring_view name);

    const std::wstring& GetName() const { return m_name; }
    void SetName(std::wstring name) { m_name = std::move(name); }
    virtual std::wstring GetText() const { return m_text; }
    virtual void SetText(std::wstring text);
    const std::wstring& GetUserData() const { return m_userData; }
    void SetUserData(std::wstring data) { m_userData = std::move(data); }

    bool IsVisible() const { return m_visible; }
    virtual void SetVisible(bool visible);
    bool IsEnabled() const { return m_enabled; }
    virtual void SetEnabled(bool enabled);
    bool IsFocused() const { return m_focused; }
    void SetFocus();
    virtual bool IsFocusable() const { return false; }
    // Controls that take clicks; the caption area drags only outside them.
    virtual bool IsClickable() const { return false; }

    const std::wstring& GetBkImage() const { return m_bkImage; }
    void SetBkImage(std::wstring image);
    uint32_t GetBkColor() const { return m_bkColor; }
    void SetBkColor(uint32_t argb);

    int GetFixedWidth() const;
    void SetFixedWidth(int cx);
    int GetFixedHeight() const;
    void SetFixedHeight(int cy);
    const Rect& GetPadding() const { return m_padding; }
    void SetPadding(const Rect& padding);
    // A "pos" rectangle places the control relative to its parent's top-left
    // corner, outside the parent's stacking; with float="false" only its size
    // counts and the control stacks like any other.
    std::optional<Rect> GetFloatPos() const;

    int GetFont() const { return m_font; }
    void SetFont(int id);
    unsigned GetTextStyle() const { return m_textStyle; }
    void SetTextStyle(unsigned style);

    const Rect& GetPos() const { return m_pos; }
    virtual void SetPos(const Rect& rc);

    Control* GetParent() const { return m_parent; }
    PaintManager* GetManager() const { return m_manager; }
    virtual void SetManager(PaintManager* manager, Control* parent);

    // Depth-first search over this control and its children.
    virtual Control* FindControl(const std::function<bool(Control*)>& match);
    // The deepest shown control under the point.
    virtual Control* HitTest(Point p);

    virtual void SetAttribute(std::wstring_view name, std::wstring_view value);
    // Called once the whole layout is built and attached.
    virtual void DoInit() {}
    virtual void DoEvent(Event& event);
    virtual void DoPaint(Painter& painter, const Rect& dirty);

    void Invalidate();
    // Asks the window to lay the tree out again (size or visibility changed).
    void NeedParentUpdate();

protected:
    friend class PaintManager;  // keeps the focus flag in step with its own focus

    // Everything but the border, which goes over a container's children.
    void PaintContent(Painter& painter);
    virtual void PaintBkColor(Painter& painter);
    virtual void PaintBkImage(Painter& painter);
    virtual void PaintStatusImage(Painter& /*painter*/) {}
    virtual void PaintText(Painter& /*painter*/) {}
    virtual void PaintBorder(Painter& painter);
    // Draws an image attribute value; false when it is unreadable or missing.
    bool DrawImage(Painter& painter, const std::wstring& description);

    PaintManager* m_manager = nullptr;
    Control* m_parent = nullptr;
    std::wstring m_name;
    std::wstring m_text;
    std::wstring m_userData;
    std::wstring m_bkImage;
    Rect m_pos;
    Rect m_padding;
    std::optional<Rect> m_floatPos;
    int m_fixedWidth = 0;
    int m_fixedHeight = 0;
    uint32_t m_bkColor = 0;
    uint32_t m_borderColor = 0;
    int m_borderSize = 0;
    Size m_borderRound;
    int m_font = -1;
    unsigned m_textStyle = 0;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_focused = false;
    bool m_sizeOnlyPos = false;
};

}  // namespace toolkit
