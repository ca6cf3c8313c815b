// Renders one window layout without a display:
//   lexivar-skin-render LAYOUT OUT.png [--page N] [--archive SKIN.7z] [--window]
// Without --archive, LAYOUT is a file and its folder stands in for the skin
// archive; with it, LAYOUT names an entry of the archive. --window (which
// needs --archive) also shows the layout in a real window titled with the
// layout's name, prints "click NAME" for every click and ends when the
// window closes: a way to compare the screen with the rendering.
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
#include "platform/resources.h"
#include "toolkit/startup.h"
#include "toolkit/text.h"
#include "ui/CSkinFrame.h"
#include "ui/sequence_controls.h"

namespace {

struct Args {
    std::string layout;
    std::string out;
    std::string archive;
    int page = -1;
    bool window = false;
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
        else if (a == "--window")
            args.window = true;
        else
            positional.push_back(a);
    }
    if (positional.size() != 2) return false;
    args.layout = positional[0];
    args.out = positional[1];
    return true;
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

std::shared_ptr<toolkit::SkinArchive> OpenSkin(const Args& args, std::wstring& layoutName)
{
    if (args.archive.empty()) {
        std::filesystem::path path(args.layout);
        layoutName = toolkit::FromUtf8(path.filename().string());
        return toolkit::SkinArchive::FromDirectory(path.has_parent_path() ? path.parent_path() : ".");
    }
    std::ifstream in(args.archive, std::ios::binary);
    static std::vector<uint8_t> bytes;  // registered as the linked skin, so it lives on
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    Platform::RegisterResource("ZIPRES", 147, bytes);
    layoutName = toolkit::FromUtf8(args.layout);
    return toolkit::SkinArchive::FromMemory(std::as_bytes(std::span(bytes)));
}

class PreviewWindow final : public CSkinFrame {
public:
    PreviewWindow(const std::wstring& layout, int page) : CSkinFrame(WindowDescriptor::ForLayout(layout)), m_page(page) {}
    void Notify(toolkit::Notification& msg) override
    {
        if (msg.type == L"click" && msg.sender) {
            std::printf("click %s\n", toolkit::ToUtf8(msg.sender->GetName()).c_str());
            std::fflush(stdout);
        }
        CSkinFrame::Notify(msg);
    }

protected:
    void OnWindowReady() override
    {
        CSkinFrame::OnWindowReady();
        if (m_page >= 0) SelectPage(GetPaintManager(), m_page);
    }
    std::unique_ptr<toolkit::Control> CreateControl(std::wstring_view cls) override
    {
        return CreateSequenceControl(cls);
    }

private:
    int m_page;
};

int ShowWindow(const std::wstring& layout, int page)
{
    if (!toolkit::Startup(toolkit::BackendKind::Display)) {
        std::fputs("no display\n", stderr);
        return 1;
    }
    PreviewWindow window(layout, page);
    window.Create(0, layout, toolkit::ws::Visible | toolkit::ws::OverlappedWindow, 0);
    window.CenterWindow();
    window.ShowModal();
    toolkit::Shutdown();
    return 0;
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
    if (args.window && !args.archive.empty()) return ShowWindow(layoutName, args.page);
    return 0;
}
