// Layout text in, control tree (or a refusal) out; then lay it out and paint
// it small, so attribute values reach the arithmetic and the painter too.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "toolkit/layout_builder.h"
#include "toolkit/offscreen.h"
#include "toolkit/paint_manager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view xml(reinterpret_cast<const char*>(data), size);
    toolkit::PaintManager manager;
    toolkit::BuildOptions options;
    options.loader = [&](std::wstring_view) { return std::optional<std::string>(xml); };
    auto root = toolkit::BuildLayout(xml, manager, options);
    if (!root) return 0;
    manager.AttachRoot(std::move(root));
    manager.SetClientSize({64, 48});
    toolkit::RenderWindow(manager);
    return 0;
}
