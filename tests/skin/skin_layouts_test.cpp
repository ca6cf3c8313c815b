#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "skin/skin_archive.h"

namespace {

const char* const kLayouts[] = {"mainWnd.xml",    "MessageBox1Wnd.xml",      "MessageBox2Wnd.xml",
                                "exitTipWnd.xml", "InstalledPathTipWnd.xml", "NetworkTipWnd.xml"};

const skintest::Archive& Skin() {
    static const skintest::Archive archive = skintest::ReadLinkedSkin();
    return archive;
}

// Parses a layout as the program asks for it; fails the test when it is missing or malformed.
pugi::xml_document Load(const std::string& name) {
    pugi::xml_document doc;
    const skintest::Bytes* data = skintest::FindEntry(Skin(), name);
    EXPECT_NE(data, nullptr) << name;
    if (data == nullptr) return doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(data->data(), data->size());
    EXPECT_TRUE(parsed) << name << ": " << parsed.description() << " at " << parsed.offset;
    return doc;
}

pugi::xml_node Named(const pugi::xml_document& doc, const char* name) {
    return doc.find_node([&](pugi::xml_node n) { return std::string(n.attribute("name").value()) == name; });
}

// The archive path of an image attribute: a bare path or the value of file='...'.
std::string ImageFile(const std::string& value) {
    static const std::regex file(R"(file='([^']*)')");
    std::smatch m;
    return std::regex_search(value, m, file) ? m[1].str() : value;
}

const std::set<std::string> kImageAttributes = {"bkimage",       "normalimage",   "hotimage", "pushedimage",
                                                "disabledimage", "selectedimage", "foreimage"};

TEST(SkinLayouts, UseOnlyTheDialect) {
    const std::set<std::string> elements = {"Window",    "Font",    "VerticalLayout", "HorizontalLayout",
                                            "TabLayout", "Control", "Label",          "Button",
                                            "CheckBox",  "Edit",    "Progress",       "SequenceLabel"};
    const std::regex colour("(#|0x)[0-9A-F]{8}");
    const std::regex numbers(R"(-?\d+(,-?\d+)*)");
    const std::set<std::string> numeric = {
        "size",           "caption",        "roundcorner",   "width",
        "height",         "padding",        "textpadding",   "pos",
        "borderround",    "bordersize",     "shadowsize",    "shadowsharpness",
        "shadowdarkness", "shadowposition", "sequencecount", "sequencespan"};
    for (const char* name : kLayouts) {
        SCOPED_TRACE(name);
        const pugi::xml_document doc = Load(name);
        const pugi::xml_node window = doc.document_element();
        ASSERT_STREQ(window.name(), "Window");

        std::set<std::string> fonts;
        int defaults = 0;
        for (pugi::xml_node font : window.children("Font")) {
            fonts.insert(font.attribute("id").value());
            EXPECT_STREQ(font.attribute("name").value(), "微软雅黑");
            EXPECT_GT(font.attribute("size").as_int(), 0);
            defaults += std::string(font.attribute("default").value()) == "true";
        }
        EXPECT_EQ(defaults, 1);

        for (pugi::xpath_node x : doc.select_nodes("//*")) {
            const pugi::xml_node n = x.node();
            EXPECT_TRUE(elements.contains(n.name())) << n.name();
            for (pugi::xml_attribute a : n.attributes()) {
                const std::string key = a.name(), value = a.value();
                if (key.ends_with("color") || key.ends_with("borercolor")) {
                    EXPECT_TRUE(std::regex_match(value, colour)) << key << "=" << value;
                }
                if (key == "font" && n.name() != std::string("Window")) {
                    EXPECT_TRUE(fonts.contains(value)) << "font " << value;
                }
                if (numeric.contains(key)) {
                    EXPECT_TRUE(std::regex_match(value, numbers)) << key << "=" << value;
                }
            }
        }
    }
}

// Every image a layout names is in the archive, except the disabled states of the
// title buttons, which are never shown and are simply not drawn.
TEST(SkinLayouts, EveryImageTheyNameIsInTheArchive) {
    const std::set<std::string> absentDisabled = {"res\\common\\minbtn4.png", "res\\common\\closebtn4.png",
                                                  "res\\common\\closebtnM_4.png"};
    std::set<std::string> used;
    for (const char* name : kLayouts) {
        const pugi::xml_document doc = Load(name);
        for (pugi::xpath_node x : doc.select_nodes("//*")) {
            const pugi::xml_node n = x.node();
            for (pugi::xml_attribute a : n.attributes()) {
                if (!kImageAttributes.contains(a.name())) continue;
                const std::string file = ImageFile(a.value());
                used.insert(skintest::FoldPath(file));
                if (absentDisabled.contains(file)) {
                    EXPECT_STREQ(a.name(), "disabledimage") << name;
                    continue;
                }
                EXPECT_NE(skintest::FindEntry(Skin(), file), nullptr)
                    << name << ": " << a.name() << "=" << file;
            }
        }
    }
    // Every packed image is used: by a layout, as an animation frame, or as a page
    // background that the main window switches to at run time.
    const std::set<std::string> setAtRunTime = {"res/mainWnd/bg2.png", "res/mainWnd/bg3.png",
                                                "res/mainWnd/bg4.png"};
    for (const auto& [path, data] : Skin().files) {
        if (!path.starts_with("res/") || path.find("installBtnAnimate") != std::string::npos) continue;
        if (setAtRunTime.contains(path)) continue;
        EXPECT_TRUE(used.contains(skintest::FoldPath(path))) << path << " is packed but unused";
    }
}

TEST(SkinLayouts, WindowsHaveTheirSizesAndShadows) {
    const struct {
        const char* layout;
        const char* size;
        const char* caption;
        int darkness;
        const char* shadowColour;
    } windows[] = {
        {"mainWnd.xml", "600,400", "0,0,0,35", 20, "#26003B76"},
        {"MessageBox1Wnd.xml", "360,180", "0,0,0,30", 20, "#26003B76"},
        {"MessageBox2Wnd.xml", "360,180", "0,0,0,30", 20, "#26003B76"},
        {"exitTipWnd.xml", "360,180", "0,0,0,40", 20, "#26003B76"},
        {"InstalledPathTipWnd.xml", "400,180", "0,0,0,30", 10, "#FFEDF0F4"},
        {"NetworkTipWnd.xml", "360,180", "0,0,0,30", 20, "#26003B76"},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.layout);
        const pugi::xml_document doc = Load(w.layout);
        const pugi::xml_node window = doc.document_element();
        EXPECT_STREQ(window.attribute("size").value(), w.size);
        EXPECT_STREQ(window.attribute("caption").value(), w.caption);
        EXPECT_STREQ(window.attribute("showshadow").value(), "true");
        EXPECT_EQ(window.attribute("shadowsize").as_int(), 6);
        EXPECT_EQ(window.attribute("shadowsharpness").as_int(), 10);
        EXPECT_EQ(window.attribute("shadowdarkness").as_int(), w.darkness);
        EXPECT_STREQ(window.attribute("shadowposition").value(), "1,1");
        EXPECT_STREQ(window.attribute("shadowcolor").value(), w.shadowColour);
    }
}

// The names, classes, texts and colours the windows' code and their users rely on.
TEST(SkinLayouts, ControlsCarryTheirNamesTextsAndColours) {
    struct Expect {
        const char* layout;
        const char* name;
        const char* element;
        std::map<std::string, std::string> attributes;
    };
    const Expect controls[] = {
        {"mainWnd.xml", "winCtn", "VerticalLayout", {{"bkimage", "res\\mainWnd\\bg1.png"}}},
        {"mainWnd.xml", "titleTabLt", "TabLayout", {}},
        {"mainWnd.xml", "backBtn", "Button", {}},
        {"mainWnd.xml", "titleGrpCtn", "HorizontalLayout", {}},
        {"mainWnd.xml", "minbtn", "Button", {}},
        {"mainWnd.xml", "closebtn", "Button", {}},
        {"mainWnd.xml", "mainTabLt", "TabLayout", {}},
        {"mainWnd.xml", "defaultInstallBtn", "Button", {}},
        {"mainWnd.xml", "customeBtn", "Button", {}},
        {"mainWnd.xml", "tipLbl", "Label", {{"visible", "false"}}},
        {"mainWnd.xml", "treatyCb", "CheckBox", {{"selected", "true"}}},
        {"mainWnd.xml", "treatyBtn", "CheckBox", {}},
        {"mainWnd.xml", "installDirEdit", "Edit", {}},
        {"mainWnd.xml", "chDirBtn", "Button", {}},
        {"mainWnd.xml", "createDSCb", "CheckBox", {{"selected", "true"}}},
        {"mainWnd.xml", "createQSCb", "CheckBox", {{"selected", "true"}}},
        {"mainWnd.xml", "customeInstallBtn", "Button", {}},
        {"mainWnd.xml",
         "progressAnLb",
         "SequenceLabel",
         {{"sequencebkimage", "res\\mainWnd\\installBtnAnimate\\%.3d.png"},
          {"sequencecount", "49"},
          {"sequencespan", "30"},
          {"autostart", "true"}}},
        {"mainWnd.xml", "progressLb", "Label", {{"text", "正在安装中:0%，请稍候..."}}},
        {"mainWnd.xml", "installPrg", "Progress", {}},
        {"mainWnd.xml", "openProduceBtn", "Button", {}},
        {"MessageBox1Wnd.xml", "captionLbl", "Label", {{"text", "CAPTION"}, {"textcolor", "#FF666666"}}},
        {"MessageBox1Wnd.xml",
         "textLbl",
         "Label",
         {{"text", "TEXT"}, {"textcolor", "#FF333333"}, {"multiline", "true"}, {"align", "center"}}},
        {"MessageBox1Wnd.xml", "closebtn", "Button", {}},
        {"MessageBox2Wnd.xml", "captionLbl", "Label", {{"text", "CAPTION"}, {"padding", "10,0,0,0"}}},
        {"MessageBox2Wnd.xml", "textLbl", "Label", {{"text", "TEXT"}, {"multiline", "true"}}},
        {"MessageBox2Wnd.xml", "closebtn", "Button", {}},
        {"exitTipWnd.xml", "okBtn", "Button", {{"text", "是"}, {"bordercolor", "#FF1675FE"}}},
        {"exitTipWnd.xml", "cancelBtn", "Button", {{"text", "否"}, {"bkcolor", "#FF1675FE"}}},
        {"exitTipWnd.xml", "closebtn", "Button", {}},
        {"InstalledPathTipWnd.xml", "okBtn", "Button", {{"text", "安装最新版本"}, {"bkcolor", "#FF1675FE"}}},
        {"InstalledPathTipWnd.xml", "cancelBtn", "Button", {{"text", "打开软件"}}},
        {"InstalledPathTipWnd.xml", "closebtn", "Button", {}},
        {"NetworkTipWnd.xml", "okBtn", "Button", {{"text", "重新安装"}, {"bkcolor", "#FF1675FE"}}},
        {"NetworkTipWnd.xml", "cancelBtn", "Button", {{"text", "稍后再试"}}},
        {"NetworkTipWnd.xml", "closebtn", "Button", {}},
    };
    std::map<std::string, pugi::xml_document> docs;
    for (const char* name : kLayouts) docs[name] = Load(name);
    for (const Expect& e : controls) {
        SCOPED_TRACE(std::string(e.layout) + " " + e.name);
        const pugi::xml_node n = Named(docs[e.layout], e.name);
        ASSERT_TRUE(n);
        EXPECT_STREQ(n.name(), e.element);
        for (const auto& [key, value] : e.attributes)
            EXPECT_EQ(n.attribute(key.c_str()).value(), value) << key;
    }
    // Names must be unique within a window: the program finds each by name alone.
    for (const auto& [layout, doc] : docs) {
        std::set<std::string> seen;
        for (pugi::xpath_node x : doc.select_nodes("//*[@name][not(self::Font)]")) {
            const pugi::xml_node n = x.node();
            EXPECT_TRUE(seen.insert(n.attribute("name").value()).second)
                << layout << ": " << n.attribute("name").value();
        }
    }
}

TEST(SkinLayouts, BoxesShowTheirFixedTextsIconsAndFonts) {
    const struct {
        const char* layout;
        const char* title;  // nullptr: the caller's caption goes into "captionLbl"
        const char* text;
        const char* icon;
        const char* titleBar;
        int titleHeight;
        int fontSize;
    } boxes[] = {
        {"MessageBox1Wnd.xml", nullptr, nullptr, nullptr, "0xFFF5FAFE", 30, 16},
        {"MessageBox2Wnd.xml", nullptr, nullptr, nullptr, "0xFFF5FAFE", 30, 14},
        {"exitTipWnd.xml", "温馨提示", "您确定要退出安装吗？", "res\\MessageBoxWnd\\icoQuest.png",
         "#FFF3F5F9", 40, 14},
        {"InstalledPathTipWnd.xml", "温馨提示", "检测到计算机中已存在此软件，是否为您更新为最新版本？",
         "res\\MessageBoxWnd\\icoWarn.png", "#FFF5F5F5", 30, 14},
        {"NetworkTipWnd.xml", "温馨提示", "当前网络环境较差，请在网络通畅时进行重试",
         "res\\MessageBoxWnd\\icoNetwork.png", "#FFF5F5F5", 30, 14},
    };
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.layout);
        const pugi::xml_document doc = Load(b.layout);
        const pugi::xml_node bar = doc.find_node([](pugi::xml_node n) {
            return n.attribute("caption") == nullptr && n.attribute("height") && n.child("Button");
        });
        ASSERT_TRUE(bar);
        EXPECT_EQ(bar.attribute("height").as_int(), b.titleHeight);
        EXPECT_STREQ(bar.attribute("bkcolor").value(), b.titleBar);
        EXPECT_EQ(doc.document_element().child("Font").attribute("size").as_int(), b.fontSize);
        const bool fixed = b.title != nullptr;
        EXPECT_EQ(bool(Named(doc, "captionLbl")), !fixed);
        EXPECT_EQ(bool(Named(doc, "textLbl")), !fixed);
        if (!fixed) continue;
        EXPECT_TRUE(doc.select_node(("//Label[@text='" + std::string(b.title) + "']").c_str()));
        EXPECT_TRUE(doc.select_node(("//Label[@text='" + std::string(b.text) + "']").c_str()));
        EXPECT_TRUE(doc.select_node(("//Label[@bkimage='" + std::string(b.icon) + "']").c_str()));
    }
}

// Which page of which tab layout holds each control of the main window.
TEST(MainWindowLayout, PagesHoldTheirControls) {
    const pugi::xml_document doc = Load("MainWnd.xml");
    const pugi::xml_node root =
        doc.document_element().find_child([](pugi::xml_node n) { return n.name() != std::string("Font"); });
    EXPECT_STREQ(root.attribute("name").value(), "winCtn");

    const auto pages = [](pugi::xml_node tab) {
        std::vector<pugi::xml_node> result;
        for (pugi::xml_node page : tab.children()) result.push_back(page);
        return result;
    };
    const auto holds = [](pugi::xml_node page, const char* name) {
        return bool(page.find_node(
            [&](pugi::xml_node n) { return std::string(n.attribute("name").value()) == name; }));
    };
    const std::vector<pugi::xml_node> title = pages(Named(doc, "titleTabLt"));
    ASSERT_EQ(title.size(), 3u);
    EXPECT_TRUE(holds(title[1], "backBtn"));
    EXPECT_FALSE(title[0].first_child());
    EXPECT_FALSE(title[2].first_child());

    const std::vector<pugi::xml_node> main = pages(Named(doc, "mainTabLt"));
    ASSERT_EQ(main.size(), 4u);
    const std::vector<std::vector<const char*>> onPage = {
        {"defaultInstallBtn", "customeBtn", "tipLbl", "treatyCb", "treatyBtn"},
        {"installDirEdit", "chDirBtn", "createDSCb", "createQSCb", "customeInstallBtn"},
        {"progressAnLb", "progressLb", "installPrg"},
        {"openProduceBtn"},
    };
    for (std::size_t page = 0; page < onPage.size(); ++page) {
        for (const char* name : onPage[page])
            EXPECT_TRUE(holds(main[page], name)) << name << " on page " << page;
    }
    // The agreement row is present for the program but hidden from the user.
    EXPECT_STREQ(Named(doc, "treatyCb").parent().attribute("visible").value(), "false");
    EXPECT_EQ(Named(doc, "treatyBtn").parent(), Named(doc, "treatyCb").parent());
}

}  // namespace
