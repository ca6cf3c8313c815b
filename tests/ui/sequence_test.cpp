#include <gtest/gtest.h>

#include "toolkit/int_format.h"
#include "toolkit/paint_manager.h"
#include "toolkit/text.h"
#include "ui/sequence_controls.h"

using namespace toolkit;

namespace {

std::vector<uint32_t> Play(SequenceFrames frames, size_t ticks, bool* stopped = nullptr)
{
    std::vector<uint32_t> shown;
    if (stopped) *stopped = false;
    for (size_t i = 0; i < ticks; ++i) {
        uint32_t frame = 0;
        auto step = frames.Next(frame);
        if (step == SequenceFrames::Step::Stop) {
            if (stopped) *stopped = true;
            break;
        }
        if (step == SequenceFrames::Step::Show) shown.push_back(frame);
    }
    return shown;
}

std::vector<uint32_t> Range(int from, int to)
{
    std::vector<uint32_t> out;
    for (int i = from; from <= to ? i <= to : i >= to; from <= to ? ++i : --i) out.push_back(static_cast<uint32_t>(i));
    return out;
}

std::vector<uint32_t> Concat(std::initializer_list<std::vector<uint32_t>> parts)
{
    std::vector<uint32_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

TEST(SequenceFrames, StepsThroughTheFrames)
{
    auto frames = [](bool loop, bool bounce, uint32_t count = 49, std::wstring pattern = L"%d") {
        SequenceFrames f;
        f.pattern = pattern;
        f.count = count;
        f.loop = loop;
        f.bounce = bounce;
        return f;
    };
    struct Case {
        const char* what;
        SequenceFrames frames;
        size_t ticks;
        std::vector<uint32_t> want;
        bool stops;
    } cases[] = {
        {"one-way loop", frames(true, false), 60, Concat({Range(0, 48), Range(0, 10)}), false},
        {"one-way once", frames(false, false), 60, Range(0, 48), true},
        {"bounce loop", frames(true, true), 49 + 47 + 49, Concat({Range(0, 48), Range(47, 1), Range(0, 48)}), false},
        {"bounce once", frames(false, true), 200, Concat({Range(0, 48), Range(47, 1)}), true},
        {"empty pattern", frames(true, false, 0, L""), 10, {}, false},
        {"count 0 counts up", frames(true, false, 0), 5, Range(0, 4), false},
    };
    for (const auto& c : cases) {
        bool stopped = false;
        EXPECT_EQ(Play(c.frames, c.ticks, &stopped), c.want) << c.what;
        EXPECT_EQ(stopped, c.stops) << c.what;
    }
}

TEST(SequenceFrames, PatternIsNeverAFreeFormat)
{
    struct Case {
        const wchar_t* pattern;
        long long value;
        std::optional<std::wstring> want;
    } cases[] = {
        {L"res\\mainWnd\\installBtnAnimate\\%.3d.png", 7, L"res\\mainWnd\\installBtnAnimate\\007.png"},
        {L"res\\mainWnd\\installBtnAnimate\\%.3d.png", 48, L"res\\mainWnd\\installBtnAnimate\\048.png"},
        {L"%03d|%-4d|%+d|%u", 5, std::nullopt},  // more than one conversion
        {L"%5d", -42, L"  -42"},
        {L"%-5d|", 42, L"42   |"},
        {L"%05d", -42, L"-0042"},
        {L"%+i", 3, L"+3"},
        {L"%u", -1, L"4294967295"},
        {L"正在安装中:%d%%，请稍候...", 35, L"正在安装中:35%，请稍候..."},
        {L"frame.png", 1, std::nullopt},
        {L"%s.png", 1, std::nullopt},
        {L"%n", 1, std::nullopt},
        {L"%d%x", 1, std::nullopt},
        {L"%", 1, std::nullopt},
        {L"%99999d", 1, std::nullopt},
        {L"%300d", 1, std::nullopt},  // longer than a path may be
    };
    for (const auto& c : cases) EXPECT_EQ(FormatInteger(c.pattern, c.value), c.want) << ToUtf8(c.pattern);
}

TEST(SequenceControls, AttributesFactoryAndTimer)
{
    auto label = CreateSequenceControl(L"sequencelabel");
    auto button = CreateSequenceControl(L"SEQUENCEBUTTON");
    ASSERT_TRUE(label && button);
    EXPECT_EQ(CreateSequenceControl(L"Label"), nullptr);
    EXPECT_EQ(label->GetClass(), L"SequenceLabel");
    EXPECT_NE(label->GetInterface(L"SequenceLabel"), nullptr);
    EXPECT_NE(label->GetInterface(L"Label"), nullptr);
    EXPECT_EQ(label->GetInterface(L"SequenceButton"), nullptr);
    EXPECT_NE(button->GetInterface(L"Button"), nullptr);

    auto* seq = static_cast<CSequenceLabelUI*>(label.get());
    seq->SetAttribute(L"sequencebkimage", L"res\\a\\%.3d.png");
    seq->SetAttribute(L"SequenceCount", L"49");
    seq->SetAttribute(L"SEQUENCESPAN", L"30ms");
    seq->SetAttribute(L"sequenceloop", L"False");  // only exactly "false" stops looping
    seq->SetAttribute(L"AutoStart", L"true");
    seq->SetAttribute(L"SequenceBkImage", L"ignored");  // the pattern's name is case-sensitive
    EXPECT_EQ(seq->GetSequenceImage(), L"res\\a\\%.3d.png");
    EXPECT_EQ(seq->GetFrameCount(), 49u);
    EXPECT_EQ(seq->GetFrameSpan(), 30u);
    EXPECT_TRUE(seq->GetFrames().loop);
    EXPECT_TRUE(seq->GetFrames().autoStart);
    EXPECT_FALSE(seq->GetFrames().bounce);
    auto* btn = static_cast<CSequenceButtonUI*>(button.get());
    EXPECT_EQ(btn->GetFrameSpan(), 60u);
    EXPECT_TRUE(btn->GetFrames().bounce);

    // Driving it through a paint manager: auto start, frames as background,
    // restart rewinds but keeps the period.
    PaintManager manager;
    uint64_t now = 0;
    manager.SetClock([&] { return now; });
    manager.AttachRoot(std::move(label));
    ASSERT_TRUE(manager.HasTimer(seq, 2100));
    auto tick = [&](uint64_t ms) {
        now += ms;
        manager.FireDueTimers(now);
    };
    tick(30);
    EXPECT_EQ(seq->GetBkImage(), L"res\\a\\000.png");
    tick(30);
    tick(30);
    EXPECT_EQ(seq->GetBkImage(), L"res\\a\\002.png");
    seq->SetFrameSpan(500);
    seq->Start();
    tick(30);
    EXPECT_EQ(seq->GetBkImage(), L"res\\a\\000.png");
    seq->Stop();
    tick(30);
    EXPECT_EQ(seq->GetBkImage(), L"res\\a\\000.png");
    EXPECT_FALSE(manager.HasTimer(seq, 2100));

    // A hostile pattern shows no frame at all.
    seq->SetSequenceImage(L"%s%s%n");
    seq->Start();
    tick(500);
    EXPECT_EQ(seq->GetBkImage(), L"");
}
