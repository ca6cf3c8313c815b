#include "ui/CMessageBoxWnd.h"

using namespace toolkit;

namespace {

template <class T>
T* Find(PaintManager& manager, const wchar_t* name, const wchar_t* cls)
{
    Control* c = manager.FindControl(name);
    return c ? static_cast<T*>(c->GetInterface(cls)) : nullptr;
}

}  // namespace

int CMessageBoxWnd::ShowModalBox(const WindowDescriptor& descriptor, WindowHandle owner, const wchar_t* text,
                                 const wchar_t* caption)
{
    CMessageBoxWnd box(descriptor);
    box.Create(owner, L"消息框", ws::Visible | ws::OverlappedWindow, 0);
    if (text && box.m_textLbl) box.m_textLbl->SetText(text);
    if (caption && box.m_captionLbl) box.m_captionLbl->SetText(caption);
    box.CenterWindow();
    box.ShowModal();
    return box.m_result;
}

void CMessageBoxWnd::OnWindowReady()
{
    CSkinFrame::OnWindowReady();
    SetStyle((GetStyle() & ~(ws::Caption | ws::MaximizeBox)) | ws::ClipSiblings | ws::ClipChildren);
    SetExStyle(GetExStyle() & ~ws::ExTopmost);
    PaintManager& m = GetPaintManager();
    m_okBtn = Find<Button>(m, L"okBtn", L"Button");
    m_cancelBtn = Find<Button>(m, L"cancelBtn", L"Button");
    m_textLbl = Find<Label>(m, L"textLbl", L"Label");
    m_captionLbl = Find<Label>(m, L"captionLbl", L"Label");
}

void CMessageBoxWnd::OnClick(Notification& msg)
{
    if (msg.sender && msg.sender == m_okBtn) {
        Close(1);
        m_result = 0;
    } else if (msg.sender && msg.sender == m_cancelBtn) {
        Close(1);
        m_result = 1;
    } else {
        CSkinFrame::OnClick(msg);
        m_result = 2;
    }
}
