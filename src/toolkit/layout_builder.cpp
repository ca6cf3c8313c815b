#include "toolkit/layout_builder.h"

#include <pugixml.hpp>

#include <set>

#include "toolkit/button.h"
#include "toolkit/combo.h"
#include "toolkit/container.h"
#include "toolkit/edit.h"
#include "toolkit/label.h"
#include "toolkit/option.h"
#include "toolkit/paint_manager.h"
#include "toolkit/progress.h"
#include "toolkit/text.h"

namespace toolkit {
namespace {

class Builder {
public:
    Builder(PaintManager& manager, const BuildOptions& options) : m_manager(manager), m_options(options) {}

    std::unique_ptr<Control> BuildDocument(std::string_view xml, std::wstring_view source, size_t depth);
    std::string m_error;

private:
    void ReadWindow(const pugi::xml_node& window);
    void ReadFont(const pugi::xml_node& font);
    std::unique_ptr<Control> Create(std::wstring_view className);
    std::unique_ptr<Control> BuildNode(const pugi::xml_node& node, size_t depth);
    bool AddChildren(Control& parent, const pugi::xml_node& node, size_t depth);
    std::unique_ptr<Control> BuildInclude(const pugi::xml_node& node, size_t depth);
    bool Fail(std::string why)
    {
        if (m_error.empty()) m_error = std::move(why);
        return false;
    }

    PaintManager& m_manager;
    const BuildOptions& m_options;
    std::set<std::wstring> m_open;  // files being built, to refuse include cycles
    bool m_windowRead = false;
};

bool IsTag(const pugi::xml_node& node, const char* tag) { return std::string_view(node.name()) == tag; }

std::wstring W(const char* text) { return FromUtf8(text); }

void Builder::ReadWindow(const pugi::xml_node& window)
{
    if (m_windowRead) return;  // an included layout keeps the outer window's settings
    m_windowRead = true;
    WindowInfo& info = m_manager.GetWindowInfo();
    for (const auto& attr : window.attributes()) {
        std::wstring name = W(attr.name()), value = W(attr.value());
        if (name == L"size") {
            if (auto v = ParseIntList(value, 2)) info.size = {std::max(0, (*v)[0]), std::max(0, (*v)[1])};
        } else if (name == L"caption") {
            if (auto v = ParseIntList(value, 4)) info.caption = {(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
        } else if (name == L"roundcorner") {
            if (auto v = ParseIntList(value, 2)) info.roundCorner = {std::max(0, (*v)[0]), std::max(0, (*v)[1])};
        }
        info.attributes[name] = value;
    }
    // Sizes beyond any screen are a damaged layout, not a request.
    info.size.cx = std::min(info.size.cx, 8192);
    info.size.cy = std::min(info.size.cy, 8192);
}

void Builder::ReadFont(const pugi::xml_node& node)
{
    FontInfo font;
    font.name = W(node.attribute("name").value());
    if (font.name.empty()) font.name = L"微软雅黑";
    int size = ToInt(W(node.attribute("size").value()));
    font.size = size > 0 ? std::min(size, 512) : 12;
    font.bold = IsTrue(W(node.attribute("bold").value()));
    font.underline = IsTrue(W(node.attribute("underline").value()));
    font.italic = IsTrue(W(node.attribute("italic").value()));
    m_manager.AddFont(ToInt(W(node.attribute("id").value())), std::move(font),
                      IsTrue(W(node.attribute("default").value())));
}

std::unique_ptr<Control> Builder::Create(std::wstring_view className)
{
    if (auto builtin = CreateBuiltinControl(className)) return builtin;
    return m_options.factory ? m_options.factory(className) : nullptr;
}

std::unique_ptr<Control> Builder::BuildInclude(const pugi::xml_node& node, size_t depth)
{
    std::wstring source = W(node.attribute("source").value());
    std::optional<std::string> text = m_options.loader ? m_options.loader(source) : std::nullopt;
    if (!text) {
        Fail("included layout not found");
        return nullptr;
    }
    return BuildDocument(*text, source, depth);
}

std::unique_ptr<Control> Builder::BuildNode(const pugi::xml_node& node, size_t depth)
{
    if (depth > m_options.maxDepth) {
        Fail("layout nested too deeply");
        return nullptr;
    }
    if (IsTag(node, "Include")) return BuildInclude(node, depth + 1);
    std::unique_ptr<Control> control = Create(W(node.name()));
    if (!control) return nullptr;  // unknown element: skipped with its subtree
    for (const auto& attr : node.attributes()) control->SetAttribute(W(attr.name()), W(attr.value()));
    if (!AddChildren(*control, node, depth)) return nullptr;
    return control;
}

bool Builder::AddChildren(Control& parent, const pugi::xml_node& node, size_t depth)
{
    if (auto* combo = static_cast<Combo*>(parent.GetInterface(L"Combo"))) {
        for (const auto& child : node.children())
            if (child.type() == pugi::node_element) combo->AddItem(W(child.attribute("text").value()));
        return true;
    }
    auto* container = static_cast<Container*>(parent.GetInterface(L"Container"));
    if (!container) return true;  // children of a plain control are ignored
    for (const auto& child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        auto built = BuildNode(child, depth + 1);
        if (!m_error.empty()) return false;
        container->Add(std::move(built));
    }
    return true;
}

std::unique_ptr<Control> Builder::BuildDocument(std::string_view xml, std::wstring_view source, size_t depth)
{
    std::wstring key = ToLower(source);
    if (!key.empty() && !m_open.insert(key).second) {
        Fail("layout includes itself");
        return nullptr;
    }
    pugi::xml_document doc;
    auto parsed = doc.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        Fail(std::string("malformed XML: ") + parsed.description());
        return nullptr;
    }
    pugi::xml_node window = doc.document_element();
    if (!IsTag(window, "Window")) {
        Fail("root element is not Window");
        return nullptr;
    }
    ReadWindow(window);
    std::unique_ptr<Control> root;
    for (const auto& node : window.children()) {
        if (node.type() != pugi::node_element) continue;
        if (IsTag(node, "Font")) {
            ReadFont(node);
        } else if (!root) {
            root = BuildNode(node, depth + 1);
            if (!m_error.empty()) return nullptr;
        }
    }
    if (!key.empty()) m_open.erase(key);
    if (!root) Fail("layout has no controls");
    return root;
}

}  // namespace

std::unique_ptr<Control> CreateBuiltinControl(std::wstring_view cls)
{
    if (cls == L"Control") return std::make_unique<Control>();
    if (cls == L"Container") return std::make_unique<Container>();
    if (cls == L"VerticalLayout") return std::make_unique<VerticalLayout>();
    if (cls == L"HorizontalLayout") return std::make_unique<HorizontalLayout>();
    if (cls == L"TabLayout") return std::make_unique<TabLayout>();
    if (cls == L"Label" || cls == L"Text") return std::make_unique<Label>();
    if (cls == L"Button") return std::make_unique<Button>();
    if (cls == L"Option") return std::make_unique<Option>();
    if (cls == L"CheckBox") return std::make_unique<CheckBox>();
    if (cls == L"Edit") return std::make_unique<Edit>();
    if (cls == L"Progress") return std::make_unique<Progress>();
    if (cls == L"Combo") return std::make_unique<Combo>();
    return nullptr;
}

std::unique_ptr<Control> BuildLayout(std::string_view xml, PaintManager& manager, const BuildOptions& options,
                                     std::string* error)
{
    Builder builder(manager, options);
    auto root = builder.BuildDocument(xml, L"", 0);
    if (error) *error = builder.m_error;
    return root;
}

}  // namespace toolkit
