#pragma once

#include "toolkit/button.h"
#include "toolkit/label.h"
#include "ui/CSkinFrame.h"

// Every prompt of the installer: one of the box layouts shown modally.
class CMessageBoxWnd final : public CSkinFrame {
public:
    // 0 when "okBtn" ended the box, 1 for "cancelBtn" or a close that was not
    // a click (Alt+F4), 2 for any other control (the close button).
    static int ShowModalBox(const WindowDescriptor& descriptor, toolkit::WindowHandle owner, const wchar_t* text,
                            const wchar_t* caption);

    explicit CMessageBoxWnd(WindowDescriptor descriptor) : CSkinFrame(std::move(descriptor)) {}
    int GetResult() const { return m_result; }

protected:
    void OnWindowReady() override;
    void OnClick(toolkit::Notification& msg) override;

private:
    int m_result = 1;
    toolkit::Button* m_okBtn = nullptr;
    toolkit::Button* m_cancelBtn = nullptr;
    toolkit::Label* m_textLbl = nullptr;
    toolkit::Label* m_captionLbl = nullptr;
};
