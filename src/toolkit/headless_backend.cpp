#include "toolkit/headless_backend.h"

#include <cstdio>

#include "toolkit/text.h"

namespace toolkit {
namespace {

class HeadlessWindow final : public NativeWindow {
public:
    explicit HeadlessWindow(Size size) : m_rect{0, 0, size.cx, size.cy} {}
    void Show(bool show) override { m_shown = show; }
    void Move(const Rect& rc) override { m_rect = rc; }
    Rect GetRect() const override { return m_rect; }
    void Present(cairo_surface_t* /*surface*/, const Rect& /*dirty*/) override {}
    void SetOwner(NativeWindow* /*owner*/) override {}
    void Minimize() override {}
    void Raise() override {}
    void SetIcon(std::span<const uint8_t> /*png*/) override {}
    bool IsShown() const override { return m_shown; }

private:
    Rect m_rect;
    bool m_shown = false;
};

}  // namespace

std::unique_ptr<NativeWindow> HeadlessBackend::CreateNativeWindow(WindowHandle /*handle*/,
                                                                  const std::wstring& /*title*/, Size size,
                                                                  Size /*roundCorner*/)
{
    return std::make_unique<HeadlessWindow>(size);
}

void HeadlessBackend::Wait(MessageLoop& /*loop*/, std::optional<uint64_t> timeoutMs)
{
    if (m_idle && m_idle()) return;
    if (timeoutMs) {
        m_now += *timeoutMs;
        return;
    }
    std::unique_lock lock(m_mutex);
    m_cv.wait(lock, [this] { return m_woken; });
    m_woken = false;
}

void HeadlessBackend::Wake()
{
    std::lock_guard lock(m_mutex);
    m_woken = true;
    m_cv.notify_one();
}

void HeadlessBackend::ShowErrorBox(const std::wstring& text, const std::wstring& caption)
{
    ++m_errorBoxes;
    std::fprintf(stderr, "%s: %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
}

}  // namespace toolkit
