#include "toolkit/startup.h"

#include "toolkit/headless_backend.h"
#include "toolkit/message_loop.h"
#include "toolkit/sdl_backend.h"

namespace toolkit {

bool Startup(BackendKind kind)
{
    auto& loop = MessageLoop::Instance();
    if (kind != BackendKind::Headless) {
        if (auto sdl = SdlBackend::Open()) {
            loop.SetBackend(std::move(sdl));
            return true;
        }
        if (kind == BackendKind::Display) return false;
    }
    loop.SetBackend(std::make_unique<HeadlessBackend>());
    return true;
}

void Shutdown() { MessageLoop::Instance().SetBackend(nullptr); }

std::optional<Size> PrimaryScreenSize() { return SdlBackend::PrimaryScreenSize(); }

}  // namespace toolkit
