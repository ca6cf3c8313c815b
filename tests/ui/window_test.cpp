#include <gtest/gtest.h>

#include <thread>

#include "toolkit/container.h"
#include "toolkit/edit.h"
#include "toolkit/option.h"
#include "ui/CMessageBoxWnd.h"
#include "ui/CSkinFrame.h"
#include "ui/message_pump.h"
#include "utils/System.h"
#include "toolkit/text.h"
#include "ui/ui_fixture.h"

using namespace toolkit;
using uifixture::Click;
using uifixture::Script;

namespace {

const char* kMainLayout = R"(<Window size="400,300" caption="0,0,0,30">
  <VerticalLayout name="winCtn" bkcolor="#FFFFFFFF">
    <HorizontalLayout height="30"><Control/><Button name="closebtn" width="30"/></HorizontalLayout>
    <TabLayout name="mainTabLt">
      <VerticalLayout>
        <Button name="goBtn" height="40"/>
        <CheckBox name="treatyCb" height="20" selected="true"/>
        <Edit name="dirEdit" height="30" text="C:\"/>
      </VerticalLayout>
      <VerticalLayout><Control height="100"/><Button name="backBtn" height="40"/></VerticalLayout>
    </TabLayout>
  </VerticalLayout></Window>)";

const char* kBoxLayout = R"(<Window size="360,180" caption="0,0,0,30">
  <VerticalLayout bkcolor="#FFFFFFFF">
    <HorizontalLayout height="30"><Label name="captionLbl" text="CAPTION"/><Button name="closebtn" width="30"/></HorizontalLayout>
    <Label name="textLbl" text="TEXT" multiline="true"/>
    <HorizontalLayout height="40"><Button name="okBtn"/><Button name="cancelBtn"/></HorizontalLayout>
  </VerticalLayout></Window>)";

const char* kFixedBoxLayout = R"(<Window size="360,180">
  <VerticalLayout><Label name="fixed" text="当前网络环境较差"/><Button name="okBtn"/><Button name="cancelBtn"/>
  <Button name="closebtn"/></VerticalLayout></Window>)";

int SkinId()
{
    static int id = uifixture::RegisterSkin({{"mainWnd.xml", kMainLayout},
                                             {"MessageBox1Wnd.xml", kBoxLayout},
                                             {"NetworkTipWnd.xml", kFixedBoxLayout},
                                             {"broken.xml", "<Window><VerticalLayout>"}});
    return id;
}

WindowDescriptor Descriptor(const std::wstring& layout)
{
    auto d = WindowDescriptor::ForLayout(layout);
    d.resourceId = SkinId();
    return d;
}

// A main window that records what reaches its hooks.
class TestMainWnd final : public CSkinFrame {
public:
    TestMainWnd() : CSkinFrame(Descriptor(L"MainWnd.xml")) {}
    std::vector<std::wstring> notes;
    std::vector<std::wstring> clicks;
    std::vector<uint32_t> messages;
    std::vector<uintptr_t> tabIndexes;
    std::thread::id notifyThread;
    std::function<void(Notification&)> onNotify;

    void Notify(Notification& msg) override
    {
        notes.push_back(msg.type);
        if (msg.type == L"tabselect") tabIndexes.push_back(msg.wParam);
        if (msg.type == L"checknet") notifyThread = std::this_thread::get_id();
        if (onNotify) onNotify(msg);
        CSkinFrame::Notify(msg);
    }

protected:
    void OnClick(Notification& msg) override
    {
        clicks.push_back(msg.sender->GetName());
        CSkinFrame::OnClick(msg);
    }
    intptr_t OnCustomMessage(uint32_t id, uintptr_t, intptr_t, bool& handled) override
    {
        messages.push_back(id);
        handled = true;
        return 0;
    }
};

}  // namespace

TEST(Window, ClicksSelectionAndTabsReachTheHooks)
{
    TestMainWnd wnd;
    wnd.Create(0, L"Lexivar", ws::Visible | ws::OverlappedWindow, 0);
    ASSERT_TRUE(wnd.IsWindow());
    EXPECT_EQ(wnd.GetWindowClassName(), L"MainWnd");
    auto* tab = static_cast<TabLayout*>(wnd.GetPaintManager().FindControl(L"mainTabLt"));
    auto* cb = static_cast<CheckBox*>(wnd.GetPaintManager().FindControl(L"treatyCb"));
    Script script;
    script.Then([&] { Click(wnd, L"goBtn"); })
        .Then([&] { Click(wnd, L"treatyCb"); })
        .Then([&] { tab->SelectItem(1); })
        .Then([&] { Click(wnd, L"backBtn"); })
        .Then([&] { Click(wnd, L"goBtn"); })  // on the hidden page now: nothing
        .Then([&] { Click(wnd, L"closebtn"); });
    EXPECT_EQ(wnd.ShowModal(), 1);
    EXPECT_FALSE(wnd.IsWindow());
    EXPECT_EQ(wnd.clicks, (std::vector<std::wstring>{L"goBtn", L"treatyCb", L"backBtn", L"closebtn"}));
    EXPECT_FALSE(cb->IsSelected());
    EXPECT_EQ(std::count(wnd.notes.begin(), wnd.notes.end(), L"selectchanged"), 1);
    EXPECT_EQ(wnd.tabIndexes, (std::vector<uintptr_t>{1}));
}

TEST(Window, PressReleasedOutsideIsNoClickAndEditTakesText)
{
    TestMainWnd wnd;
    wnd.Create(0, L"Lexivar", ws::Visible, 0);
    auto& loop = MessageLoop::Instance();
    auto* edit = static_cast<Edit*>(wnd.GetPaintManager().FindControl(L"dirEdit"));
    Point go = uifixture::CentreOf(wnd, L"goBtn");
    Script script;
    script
        .Then([&] {
            loop.Post(wnd.GetHWND(), wm::LButtonDown, 0, MakePointParam(go));
            loop.Post(wnd.GetHWND(), wm::MouseMove, 0, MakePointParam({go.x, go.y + 100}));
            loop.Post(wnd.GetHWND(), wm::LButtonUp, 0, MakePointParam({go.x, go.y + 100}));
        })
        .Then([&] { Click(wnd, L"dirEdit"); })
        .Then([&] {
            for (wchar_t c : std::wstring(L"Apps")) loop.Post(wnd.GetHWND(), wm::Char, c, 0);
            loop.Post(wnd.GetHWND(), wm::KeyDown, kKeyBack, 0);
            loop.Post(wnd.GetHWND(), wm::KeyDown, kKeyHome, 0);
            loop.Post(wnd.GetHWND(), wm::Char, L'D', 0);
            loop.Post(wnd.GetHWND(), wm::KeyDown, kKeyDelete, 0);
        })
        .Then([&] { wnd.Close(3); });
    EXPECT_EQ(wnd.ShowModal(), 3);
    EXPECT_TRUE(wnd.clicks.empty());
    EXPECT_EQ(edit->GetText(), L"D:\\App");
}

TEST(Window, TimersArePerControlAndKeepTheirPeriod)
{
    TestMainWnd wnd;
    wnd.Create(0, L"Lexivar", 0, 0);
    PaintManager& m = wnd.GetPaintManager();
    Control* root = m.GetRoot();
    Control* tab = m.FindControl(L"mainTabLt");
    std::vector<std::pair<Control*, uintptr_t>> fired;
    std::vector<uint64_t> rootTimes;
    wnd.onNotify = [&](Notification& n) {
        if (n.type != L"timer") return;
        fired.emplace_back(n.sender, n.wParam);
        if (n.sender == root) rootTimes.push_back(n.timestamp);
        if (rootTimes.size() == 4) wnd.Close(1);
    };
    ASSERT_TRUE(m.SetTimer(root, 10, 100));
    ASSERT_TRUE(m.SetTimer(tab, 10, 1000));  // same id, other control: its own timer
    ASSERT_TRUE(m.SetTimer(root, 10, 5000));  // already running: keeps 100
    wnd.ShowModal();
    ASSERT_EQ(rootTimes.size(), 4u);
    for (size_t i = 1; i < rootTimes.size(); ++i) EXPECT_EQ(rootTimes[i] - rootTimes[i - 1], 100u);
    EXPECT_TRUE(m.KillTimer(tab, 10));
    EXPECT_FALSE(m.KillTimer(tab, 10));
    for (auto& [c, id] : fired) EXPECT_EQ(id, 10u);
}

TEST(Window, NotificationQueuedFromAnotherThreadArrivesOnTheWindowThread)
{
    TestMainWnd wnd;
    wnd.Create(0, L"Lexivar", 0, 0);
    Control* root = wnd.GetPaintManager().GetRoot();
    wnd.onNotify = [&](Notification& n) {
        if (n.type == L"checknet") {
            EXPECT_EQ(n.wParam, 0x20003u);
            EXPECT_EQ(n.sender, root);
            wnd.Close(1);
        }
    };
    std::thread worker([&] { wnd.GetPaintManager().SendNotify(root, L"checknet", 0x20003, 0, true); });
    wnd.ShowModal();
    worker.join();
    EXPECT_EQ(wnd.notifyThread, std::this_thread::get_id());
}

TEST(MessageBox, ResultsAndKeys)
{
    struct Case {
        const wchar_t* button;  // null: Alt+F4
        int want;
    } cases[] = {{L"okBtn", 0}, {L"cancelBtn", 1}, {L"closebtn", 2}, {nullptr, 1}};
    for (const auto& c : cases) {
        Window* box = nullptr;
        Script script;
        script
            .Then([&] {
                box = uifixture::NewestWindow();
                uifixture::Key(box->GetHWND(), kKeyEscape);  // ignored by every box
            })
            .Then([&] {
                ASSERT_TRUE(box->IsWindow());
                if (c.button)
                    Click(*box, c.button);
                else
                    uifixture::Key(box->GetHWND(), kKeyF4, true);
            });
        EXPECT_EQ(CMessageBoxWnd::ShowModalBox(Descriptor(L"MessageBox1Wnd.xml"), 0, L"t", L"c"), c.want)
            << (c.button ? ToUtf8(c.button) : "Alt+F4");
        EXPECT_TRUE(script.Done());
    }
}

TEST(MessageBox, SetsTextsAndKeepsTheOwnersMessagesFlowing)
{
    TestMainWnd main;
    main.Create(0, L"Lexivar", ws::Visible, 0);
    CMessageBoxWnd* seen = nullptr;
    std::wstring text, caption;
    Script script;
    script.Then([&] {
        seen = static_cast<CMessageBoxWnd*>(uifixture::NewestWindow());
        auto& m = seen->GetPaintManager();
        text = m.FindControl(L"textLbl")->GetText();
        caption = m.FindControl(L"captionLbl")->GetText();
        main.PostMessage(wm::User + 1000, 0, 0);
        main.PostMessage(wm::User + 200, 0, 0);
        main.PostMessage(wm::User + 1000, 0, 0);
        Click(main, L"goBtn");  // the owner is disabled: no click
    });
    script.Then([&] { Click(*seen, L"okBtn"); });
    int result = CMessageBoxWnd::ShowModalBox(Descriptor(L"MessageBox1Wnd.xml"), main.GetHWND(),
                                              L"安装程序检测到Lexivar\r\n正在运行，请退出程序后再安装", L"温馨提示");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(text, L"安装程序检测到Lexivar\r\n正在运行，请退出程序后再安装");
    EXPECT_EQ(caption, L"温馨提示");
    EXPECT_EQ(main.messages, (std::vector<uint32_t>{2024, 1224, 2024}));
    EXPECT_TRUE(main.clicks.empty());
    EXPECT_TRUE(main.IsEnabled());

    // A layout without text labels ignores the texts and still answers.
    Script second;
    second.Then([&] { Click(*uifixture::NewestWindow(), L"cancelBtn"); });
    EXPECT_EQ(CMessageBoxWnd::ShowModalBox(Descriptor(L"NetworkTipWnd.xml"), main.GetHWND(), L"x", L"y"), 1);
}

TEST(SkinFailure, UnbuildableLayoutEndsTheProcessWithCode1)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            uifixture::Backend();
            CSkinFrame wnd(Descriptor(L"broken.xml"));
            wnd.Create(0, L"x", 0, 0);
        },
        ::testing::ExitedWithCode(1), "Skin: 加载资源文件失败");
    EXPECT_EXIT(
        {
            uifixture::Backend();
            CSkinFrame wnd(Descriptor(L"missing.xml"));
            wnd.Create(0, L"x", 0, 0);
        },
        ::testing::ExitedWithCode(1), "加载资源文件失败");
}

TEST(SkinFailure, MissingArchiveLeavesTheWindowEmpty)
{
    WindowDescriptor d = WindowDescriptor::ForLayout(L"MainWnd.xml");
    d.resourceId = 4242;  // nothing registered
    CSkinFrame wnd(d);
    wnd.Create(0, L"x", 0, 0);
    EXPECT_TRUE(wnd.IsWindow());
    EXPECT_EQ(wnd.GetPaintManager().GetRoot(), nullptr);
    EXPECT_EQ(wnd.GetPaintManager().FindControl(L"closebtn"), nullptr);
}

TEST(Window, UtilsPumpRunsTheWindowLoopForAbout100ms)
{
    AttachMessagePump();
    TestMainWnd wnd;
    wnd.Create(0, L"Lexivar", 0, 0);
    PaintManager& m = wnd.GetPaintManager();
    int ticks = 0;
    wnd.onNotify = [&](Notification& n) { ticks += n.type == L"timer"; };
    m.SetTimer(m.GetRoot(), 11, 30);
    uint64_t start = MessageLoop::Instance().Now();
    EXPECT_TRUE(Utils::PumpMessages(&wnd));
    uint64_t spent = MessageLoop::Instance().Now() - start;
    EXPECT_GE(spent, 100u);
    EXPECT_LT(spent, 200u);
    EXPECT_EQ(ticks, 4);
    wnd.Close(1);
    EXPECT_FALSE(Utils::PumpMessages(&wnd));  // the close is handled, then the window is gone
    EXPECT_FALSE(Utils::PumpMessages(&wnd));
    Utils::SetMessagePump({});
}
