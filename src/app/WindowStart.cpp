#include "app/WindowStart.h"

#include "app/InstallerSettings.h"
#include "toolkit/message.h"
#include "toolkit/startup.h"
#include "ui/CMainWnd.h"
#include "ui/message_pump.h"

std::shared_ptr<void> RunMainWindow()
{
    // A real display when there is one; without it the window still runs, off screen.
    if (!toolkit::Startup(toolkit::BackendKind::Automatic)) return nullptr;
    AttachMessagePump();
    auto* wnd = new CMainWnd();
    std::shared_ptr<CMainWnd> owner(wnd, [](CMainWnd* w) {
        delete w;
        toolkit::Shutdown();
    });
    wnd->Create(0, kWindowName, toolkit::ws::Visible | toolkit::ws::OverlappedWindow, 0);
    wnd->CenterWindow();
    wnd->ShowModal();
    return owner;
}
