#include "ui/message_pump.h"

#include "toolkit/message_loop.h"
#include "toolkit/window.h"
#include "utils/System.h"

void AttachMessagePump()
{
    Utils::SetMessagePump([](void* window) {
        auto* w = static_cast<toolkit::Window*>(window);
        if (w && !w->IsWindow()) return false;
        // About 100 ms, like the system's pump; it blocks until at least one
        // message has been handled.
        return toolkit::MessageLoop::Instance().PumpFor(w ? w->GetHWND() : 0, 100);
    });
}
