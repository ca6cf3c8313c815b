#pragma once

#include <memory>
#include <vector>

#include "toolkit/control.h"

namespace toolkit {

// A control with children. The plain container lays every child over its
// whole inner rectangle; the layouts below stack them instead.
class Container : public Control {
public:
    std::wstring_view GetClass() const override { return L"Container"; }
    void* GetInterface(std::wstring_view name) override;

    void Add(std::unique_ptr<Control> child);
    size_t GetCount() const { return m_items.size(); }
    Control* GetItemAt(size_t index) const { return index < m_items.size() ? m_items[index].get() : nullptr; }
    int GetItemIndex(const Control* child) const;

    void SetManager(PaintManager* manager, Control* parent) override;
    Control* FindControl(const std::function<bool(Control*)>& match) override;
    Control* HitTest(Point p) override;
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;
    void SetPos(const Rect& rc) override;
    void DoPaint(Painter& painter, const Rect& dirty) override;

protected:
    // Whether a child takes part in hit testing and painting (tabs show one).
    virtual bool IsChildShown(size_t index) const { return m_items[index]->IsVisible(); }
    virtual void LayoutChildren(const Rect& inner);
    // Places floating children; true when the child floats.
    bool PlaceFloating(Control& child);
    // Lays the shown children out one after another along one axis.
    void Stack(const Rect& inner, bool vertical);

    std::vector<std::unique_ptr<Control>> m_items;
    Rect m_inset;
    int m_childPadding = 0;
};

class VerticalLayout : public Container {
public:
    std::wstring_view GetClass() const override { return L"VerticalLayout"; }
    void* GetInterface(std::wstring_view name) override;

protected:
    void LayoutChildren(const Rect& inner) override;
};

class HorizontalLayout : public Container {
public:
    std::wstring_view GetClass() const override { return L"HorizontalLayout"; }
    void* GetInterface(std::wstring_view name) override;

protected:
    void LayoutChildren(const Rect& inner) override;
};

// Shows exactly one child (page) at a time.
class TabLayout : public Container {
public:
    std::wstring_view GetClass() const override { return L"TabLayout"; }
    void* GetInterface(std::wstring_view name) override;
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;

    int GetCurSel() const { return m_curSel; }
    // Selects a page; when it differs from the current one the window gets
    // "tabselect" with the new index. Returns false for an index out of range.
    bool SelectItem(int index, bool notify = true);

protected:
    bool IsChildShown(size_t index) const override;

private:
    int m_curSel = 0;
};

}  // namespace toolkit
