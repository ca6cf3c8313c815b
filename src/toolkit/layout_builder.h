#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/control.h"

namespace toolkit {

class PaintManager;

// Creates the program's own control classes; null for classes it does not know.
using ControlFactory = std::function<std::unique_ptr<Control>(std::wstring_view className)>;
// Gives the text of another layout file (for Include elements).
using LayoutLoader = std::function<std::optional<std::string>(std::wstring_view name)>;

struct BuildOptions {
    ControlFactory factory;
    LayoutLoader loader;
    size_t maxDepth = 200;  // deeper trees are refused rather than recursed into
};

// Builds the control tree of a layout and stores the window settings and
// fonts in the manager (the tree is not attached). Null on malformed XML, a
// root that is not Window, a layout without controls, an include cycle or a
// tree deeper than allowed; `error` then says why.
std::unique_ptr<Control> BuildLayout(std::string_view xml, PaintManager& manager, const BuildOptions& options,
                                     std::string* error = nullptr);

// The toolkit's own element classes; null for anything else.
std::unique_ptr<Control> CreateBuiltinControl(std::wstring_view className);

}  // namespace toolkit
