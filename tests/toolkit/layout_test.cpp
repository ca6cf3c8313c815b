#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "toolkit/button.h"
#include "toolkit/container.h"
#include "toolkit/fixture.h"
#include "toolkit/layout_builder.h"
#include "toolkit/offscreen.h"
#include "toolkit/paint_manager.h"
#include "toolkit/progress.h"
#include "toolkit/skin_archive.h"

using namespace toolkit;

namespace {

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_skin = fixture::Make7z({{"res/red.png", fixture::SolidPng(10, 10, 0xFFFF0000)},
                                  {"res/frame.png", fixture::SolidPng(12, 12, 0xFF0000FF, 0xFF00FF00, 4)},
                                  {"res/notpng.png", "GIF89a not a png"}});
        m_manager.SetArchive(SkinArchive::FromMemory(m_skin));
    }

    bool Build(const std::string& xml)
    {
        auto root = BuildLayout(xml, m_manager, {}, &m_error);
        if (!root) return false;
        m_manager.AttachRoot(std::move(root));
        return true;
    }
    Rect PosOf(const wchar_t* name)
    {
        Control* c = m_manager.FindControl(name);
        return c ? c->GetPos() : Rect{-1, -1, -1, -1};
    }

    std::vector<std::byte> m_skin;
    PaintManager m_manager;
    std::string m_error;
};

}  // namespace

TEST_F(LayoutTest, VerticalAndHorizontalShareRemainingSpace)
{
    ASSERT_TRUE(Build(R"(<Window size="300,200" caption="0,0,0,35">
      <VerticalLayout name="root">
        <HorizontalLayout name="title" height="30">
          <Control name="spacer"/>
          <Button name="minbtn" width="20" padding="0,5,4,5"/>
          <Button name="closebtn" width="20"/>
        </HorizontalLayout>
        <Label name="a"/>
        <Label name="b" padding="10,5,10,5" width="50"/>
        <Label name="hidden" height="40" visible="false"/>
        <Label name="floating" pos="5,6,25,16"/>
        <Label name="sized" pos="0,0,40,20" float="false"/>
      </VerticalLayout></Window>)"));
    EXPECT_EQ(m_manager.GetClientSize().cx, 300);
    EXPECT_EQ(PosOf(L"title"), (Rect{0, 0, 300, 30}));
    EXPECT_EQ(PosOf(L"spacer"), (Rect{0, 0, 256, 30}));
    EXPECT_EQ(PosOf(L"minbtn"), (Rect{256, 5, 276, 25}));
    EXPECT_EQ(PosOf(L"closebtn"), (Rect{280, 0, 300, 30}));
    // 200 - 30 (title) - 20 (sized) - 10 (b's padding) = 140 shared by a and b.
    EXPECT_EQ(PosOf(L"a"), (Rect{0, 30, 300, 100}));
    EXPECT_EQ(PosOf(L"b"), (Rect{10, 105, 60, 175}));
    EXPECT_EQ(PosOf(L"sized"), (Rect{0, 180, 40, 200}));
    EXPECT_EQ(PosOf(L"floating"), (Rect{5, 6, 25, 16}));

    m_manager.FindControl(L"b")->SetVisible(false);
    m_manager.TakeDirty();
    EXPECT_EQ(PosOf(L"a"), (Rect{0, 30, 300, 180}));
}

TEST_F(LayoutTest, TabShowsOnePageAndReportsSelection)
{
    struct Recorder : INotifyListener {
        std::vector<std::pair<std::wstring, uintptr_t>> seen;
        void Notify(Notification& n) override { seen.emplace_back(n.type, n.wParam); }
    } recorder;
    ASSERT_TRUE(Build(R"(<Window size="100,100"><TabLayout name="tab">
        <Button name="p0"/><Button name="p1"/><Button name="p2"/></TabLayout></Window>)"));
    m_manager.AddNotifier(&recorder);
    auto* tab = static_cast<TabLayout*>(m_manager.FindControl(L"tab"));
    EXPECT_EQ(m_manager.FindControlAt({50, 50}), m_manager.FindControl(L"p0"));
    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_EQ(m_manager.FindControlAt({50, 50}), m_manager.FindControl(L"p2"));
    EXPECT_TRUE(tab->SelectItem(2));  // same page: nothing to report
    EXPECT_FALSE(tab->SelectItem(3));
    EXPECT_FALSE(tab->SelectItem(-1));
    ASSERT_EQ(recorder.seen.size(), 1u);
    EXPECT_EQ(recorder.seen[0], (std::pair<std::wstring, uintptr_t>{L"tabselect", 2}));
    // Controls on hidden pages can still be found by name.
    EXPECT_NE(m_manager.FindControl(L"p1"), nullptr);
}

TEST_F(LayoutTest, UnknownThingsAreSkippedAndJunkKeepsDefaults)
{
    ASSERT_TRUE(Build(R"(<Window size="abc" roundcorner="x">
      <Font id="1" size="zz" name="微软雅黑"/>
      <VerticalLayout hotborercolor="#FF000000" isstretchfore="false">
        <Gadget name="unknown"><Button name="insideUnknown"/></Gadget>
        <Button name="b" width="junk" height="20" textcolor="#XYZ" bkcolor="0xFF"/>
        <Progress name="p" value="40"/>
      </VerticalLayout></Window>)"));
    EXPECT_EQ(m_manager.FindControl(L"unknown"), nullptr);
    EXPECT_EQ(m_manager.FindControl(L"insideUnknown"), nullptr);
    EXPECT_EQ(m_manager.FindControl(L"missing"), nullptr);
    auto* b = static_cast<Button*>(m_manager.FindControl(L"b"));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetFixedWidth(), 0);
    EXPECT_EQ(b->GetTextColor(), 0xFF000000u);
    EXPECT_EQ(b->GetBkColor(), 0u);
    EXPECT_EQ(m_manager.GetFontInfo(1).size, 12);
    EXPECT_EQ(static_cast<Progress*>(m_manager.FindControl(L"p"))->GetValue(), 40);
}

TEST_F(LayoutTest, BadLayoutsFailWithAReason)
{
    std::string deep = "<Window>";
    for (int i = 0; i < 10000; ++i) deep += "<VerticalLayout>";
    for (int i = 0; i < 10000; ++i) deep += "</VerticalLayout>";
    deep += "</Window>";
    struct Case {
        std::string xml;
        const char* reason;
    } cases[] = {
        {"<Window><VerticalLayout>", "malformed"},
        {"", "malformed"},
        {"<Dialog><Label/></Dialog>", "not Window"},
        {"<Window><Font id='1'/></Window>", "no controls"},
        {"<Window><Include source='self.xml'/></Window>", "not found"},
        {deep, "deeply"},
    };
    for (const auto& c : cases) {
        PaintManager manager;
        std::string error;
        EXPECT_FALSE(BuildLayout(c.xml, manager, {}, &error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST_F(LayoutTest, IncludeCyclesAreRefused)
{
    std::map<std::wstring, std::string> files = {
        {L"a.xml", "<Window><VerticalLayout><Include source='b.xml'/></VerticalLayout></Window>"},
        {L"b.xml", "<Window><VerticalLayout><Include source='A.XML'/></VerticalLayout></Window>"},
        {L"leaf.xml", "<Window><Label name='leaf'/></Window>"},
    };
    BuildOptions options;
    options.loader = [&](std::wstring_view name) -> std::optional<std::string> {
        auto it = files.find(std::wstring(name));
        if (it == files.end()) it = files.find(L"a.xml");
        return it->second;
    };
    PaintManager manager;
    std::string error;
    EXPECT_FALSE(BuildLayout(files[L"a.xml"], manager, options, &error));
    EXPECT_NE(error.find("includes itself"), std::string::npos) << error;

    auto root = BuildLayout("<Window><VerticalLayout><Include source='leaf.xml'/></VerticalLayout></Window>", manager,
                            options, &error);
    ASSERT_TRUE(root);
    manager.AttachRoot(std::move(root));
    EXPECT_NE(manager.FindControl(L"leaf"), nullptr);
}

TEST_F(LayoutTest, PaintsColoursImagesAndRoundedRegion)
{
    ASSERT_TRUE(Build(R"(<Window size="100,60" roundcorner="20,20">
      <HorizontalLayout bkcolor="#FFFFFFFF">
        <Control name="img" width="30" bkimage="res\red.png"/>
        <Control name="nine" width="30" bkimage="file='res/frame.png' corner='4,4,4,4'"/>
        <Control name="missing" width="20" bkimage="res\common\minbtn4.png"/>
        <Control name="junk" width="20" bkimage="res/notpng.png" bkcolor="#FF00FFFF"/>
      </HorizontalLayout></Window>)"));
    auto surface = RenderWindow(m_manager);
    auto px = [&](int x, int y) { return fixture::PixelAt(surface.get(), x, y); };
    EXPECT_EQ(px(15, 30), 0xFFFF0000u);  // stretched picture
    EXPECT_EQ(px(31, 30), 0xFF0000FFu);  // nine-patch edge stays 4 px wide
    EXPECT_EQ(px(33, 30), 0xFF0000FFu);
    EXPECT_EQ(px(34, 30), 0xFF00FF00u);  // centre stretched
    EXPECT_EQ(px(55, 30), 0xFF00FF00u);
    EXPECT_EQ(px(56, 30), 0xFF0000FFu);  // centre stretched
    EXPECT_EQ(px(70, 30), 0xFFFFFFFFu);  // missing picture: nothing drawn
    EXPECT_EQ(px(90, 30), 0xFF00FFFFu);  // undecodable picture: background only
    EXPECT_EQ(px(0, 0) >> 24, 0u);       // outside the rounded region
    EXPECT_EQ(px(85, 0), 0xFF00FFFFu);
}

TEST_F(LayoutTest, TextIsDrawnWithAlignment)
{
    ASSERT_TRUE(Build(R"(<Window size="200,40"><Font id="0" size="16" default="true"/>
      <VerticalLayout bkcolor="#FFFFFFFF">
        <Label name="l" text="Lexivar" align="right" textcolor="#FF000000"/>
      </VerticalLayout></Window>)"));
    auto surface = RenderWindow(m_manager);
    int darkLeft = 0, darkRight = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if ((fixture::PixelAt(surface.get(), x, y) & 0xFF) < 0x80) (x < 100 ? darkLeft : darkRight)++;
    EXPECT_EQ(darkLeft, 0);
    EXPECT_GT(darkRight, 20);
    Size measured = m_manager.MeasureText(L"Lexivar", 0, kTextSingleLine);
    EXPECT_GT(measured.cx, 30);
    EXPECT_LT(measured.cx, 100);
}
