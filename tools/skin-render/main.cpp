// Renders one window layout without a display:
//   lexivar-skin-render LAYOUT OUT.png [--page N] [--archive SKIN.7z]
// Without --archive, LAYOUT is a file and its folder stands in for the skin
// archive; with it, LAYOUT names an entry of the archive.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "toolkit/container.h"
#include "toolkit/layout_builder.h"
#include "toolkit/offscreen.h"
#include "toolkit/paint_manager.h"
#include "toolkit/skin_archive.h"
#include "toolkit/text.h"
#include "ui/sequence_controls.h"

namespace {

struct Args {
    std::string layout;
    std::string out;
    std::string archive;
    int page = -1;
};

bool ParseArgs(int argc, char** argv, Args& args)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--page" && i + 1 < argc)
            args.page = toolkit::ToInt(toolkit::FromUtf8(argv[++i]));
        else if (a == "--archive" && i + 1 < argc)
            args.archive = argv[++i];
        else
            positional.push_back(a);
    }
    if (positional.size() != 2) return false;
    args.layout = positional[0];
    args.out = positional[1];
    return true;
}

std::shared_ptr<toolkit::SkinArchive> OpenSkin(const Args& args, std::wstring& layoutName)
{
    if (args.archive.empty()) {
        std::filesystem::path path(args.layout);
        layoutName = toolkit::FromUtf8(path.filename().string());
        return toolkit::SkinArchive::FromDirectory(path.has_parent_path() ? path.parent_path() : ".");
    }
    std::ifstream in(args.archive, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    layoutName = toolkit::FromUtf8(args.layout);
    return toolkit::SkinArchive::FromMemory(std::as_bytes(std::span(bytes)));
}

// The page of the window's main tab, or of the first tab when it has none.
void SelectPage(toolkit::PaintManager& manager, int page)
{
    auto* tab = static_cast<toolkit::TabLayout*>(
        manager.FindControl(L"mainTabLt") ? manager.FindControl(L"mainTabLt")->GetInterface(L"TabLayout") : nullptr);
    if (!tab && manager.GetRoot())
        tab = static_cast<toolkit::TabLayout*>(
            manager.GetRoot()->FindControl([](toolkit::Control* c) { return c->GetInterface(L"TabLayout"); }));
    if (tab) tab->SelectItem(page);
}

}  // namespace

int main(int argc, char** argv)
{
    Args args;
    if (!ParseArgs(argc, argv, args)) {
        std::fputs("usage: lexivar-skin-render LAYOUT OUT.png [--page N] [--archive SKIN.7z]\n", stderr);
        return 2;
    }
    std::wstring layoutName;
    auto archive = OpenSkin(args, layoutName);
    auto xml = archive ? archive->ReadLayout(layoutName) : std::nullopt;
    if (!xml) {
        std::fprintf(stderr, "cannot read layout %s\n", args.layout.c_str());
        return 1;
    }
    toolkit::PaintManager manager;
    manager.SetArchive(archive);
    toolkit::BuildOptions options;
    options.factory = CreateSequenceControl;
    options.loader = [&](std::wstring_view name) { return archive->ReadLayout(name); };
    std::string error;
    auto root = toolkit::BuildLayout(*xml, manager, options, &error);
    if (!root) {
        std::fprintf(stderr, "cannot build layout %s: %s\n", args.layout.c_str(), error.c_str());
        return 1;
    }
    manager.AttachRoot(std::move(root));
    if (args.page >= 0) SelectPage(manager, args.page);
    auto surface = toolkit::RenderWindow(manager);
    if (!toolkit::WritePng(surface.get(), args.out)) {
        std::fprintf(stderr, "cannot write %s\n", args.out.c_str());
        return 1;
    }
    return 0;
}
