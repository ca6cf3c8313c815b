#include "ui/CSkinFrame.h"

#include "toolkit/text.h"

using namespace toolkit;

WindowDescriptor WindowDescriptor::ForLayout(const std::wstring& layoutFile)
{
    WindowDescriptor d;
    d.layoutFile = layoutFile;
    d.className = layoutFile.substr(0, layoutFile.rfind(L'.'));
    return d;
}

ShadowSettings ShadowSettings::FromWindow(const WindowInfo& info)
{
    ShadowSettings s;
    auto text = [&](const wchar_t* name) {
        const std::wstring* v = info.Attribute(name);
        return v ? *v : std::wstring();
    };
    s.enabled = IsTrue(text(L"showshadow"));
    s.size = ToInt(text(L"shadowsize"));
    s.sharpness = ToInt(text(L"shadowsharpness"));
    s.darkness = ToInt(text(L"shadowdarkness"));
    if (auto v = ParseIntList(text(L"shadowposition"), 2)) s.position = {(*v)[0], (*v)[1]};
    s.colour = ParseColour(text(L"shadowcolor")).value_or(0);
    s.image = text(L"shadowimage");
    if (auto v = ParseIntList(text(L"shadowcorner"), 4)) s.corner = {(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
    return s;
}

void CSkinFrame::OnWindowReady()
{
    SetStyle(GetStyle() & ~(ws::Caption | ws::MaximizeBox));
    m_shadow = ShadowSettings::FromWindow(GetPaintManager().GetWindowInfo());
}

void CSkinFrame::Notify(Notification& msg)
{
    if (msg.type == L"click") OnClick(msg);
}

void CSkinFrame::OnClick(Notification& msg)
{
    if (!msg.sender) return;
    const std::wstring& name = msg.sender->GetName();
    if (name == L"closebtn")
        Close(1);
    else if (name == L"minbtn")
        SendMessage(wm::SysCommand, sc::Minimize, 0);
    else if (name == L"maxbtn")
        SendMessage(wm::SysCommand, sc::Maximize, 0);
    else if (name == L"restorebtn")
        SendMessage(wm::SysCommand, sc::Restore, 0);
}

intptr_t CSkinFrame::OnMessage(uint32_t id, uintptr_t wParam, intptr_t /*lParam*/, bool& handled)
{
    // Escape never closes an installer window.
    handled = id == wm::KeyDown && (wParam & 0xFFFFFFFF) == kKeyEscape;
    return 0;
}
