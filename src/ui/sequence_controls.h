#pragma once

#include <memory>
#include <string_view>

#include "toolkit/button.h"
#include "toolkit/label.h"
#include "toolkit/paint_manager.h"
#include "toolkit/text.h"
#include "ui/sequence_frames.h"

// A control that plays numbered frames as its background image on timer 2100.
template <class Base>
class SequenceControl : public Base {
public:
    static constexpr unsigned kTimerId = 2100;

    virtual void SetSequenceImage(std::wstring pattern) { m_frames.pattern = std::move(pattern); }
    virtual const std::wstring& GetSequenceImage() const { return m_frames.pattern; }
    virtual void SetFrameCount(uint32_t count) { m_frames.count = count; }
    virtual uint32_t GetFrameCount() const { return m_frames.count; }
    virtual void SetFrameSpan(uint32_t period) { m_frames.period = period; }
    virtual uint32_t GetFrameSpan() const { return m_frames.period; }

    const SequenceFrames& GetFrames() const { return m_frames; }

    // Rewinds and runs; a running sequence keeps its period.
    void Start()
    {
        m_frames.current = 0;
        if (this->m_manager) this->m_manager->SetTimer(this, kTimerId, m_frames.period);
    }
    void Stop()
    {
        if (this->m_manager) this->m_manager->KillTimer(this, kTimerId);
    }

    void SetAttribute(std::wstring_view name, std::wstring_view value) override
    {
        using toolkit::EqualsNoCase;
        if (name == L"sequencebkimage")
            m_frames.pattern = value;
        else if (EqualsNoCase(name, L"sequencecount"))
            m_frames.count = static_cast<uint32_t>(toolkit::ToInt(value));
        else if (EqualsNoCase(name, L"sequencespan"))
            m_frames.period = static_cast<uint32_t>(toolkit::ToInt(value));
        else if (EqualsNoCase(name, L"sequenceloop"))
            m_frames.loop = value != L"false";
        else if (EqualsNoCase(name, L"autostart"))
            m_frames.autoStart = value != L"false";
        else if (EqualsNoCase(name, L"sequenceround"))
            m_frames.bounce = value != L"false";
        else
            Base::SetAttribute(name, value);
    }

    void DoInit() override
    {
        if (m_frames.autoStart && this->m_manager) this->m_manager->SetTimer(this, kTimerId, m_frames.period);
        Base::DoInit();
    }

    void DoEvent(toolkit::Event& event) override
    {
        Base::DoEvent(event);
        if (event.type != toolkit::EventType::Timer) return;
        uint32_t shown = 0;
        switch (m_frames.Next(shown)) {
        case SequenceFrames::Step::Idle: return;
        case SequenceFrames::Step::Stop: Stop(); return;
        case SequenceFrames::Step::Show: break;
        }
        this->SetBkImage(m_frames.FramePath(shown).value_or(L""));
        this->Invalidate();
    }

protected:
    SequenceFrames m_frames;
};

class CSequenceLabelUI final : public SequenceControl<toolkit::Label> {
public:
    CSequenceLabelUI() = default;
    ~CSequenceLabelUI() override { Stop(); }
    std::wstring_view GetClass() const override { return L"SequenceLabel"; }
    void* GetInterface(std::wstring_view name) override
    {
        return name == L"SequenceLabel" ? this : SequenceControl<toolkit::Label>::GetInterface(name);
    }
};

class CSequenceButtonUI final : public SequenceControl<toolkit::Button> {
public:
    CSequenceButtonUI()
    {
        m_frames.period = 60;
        m_frames.bounce = true;
    }
    std::wstring_view GetClass() const override { return L"SequenceButton"; }
    void* GetInterface(std::wstring_view name) override
    {
        return name == L"SequenceButton" ? this : SequenceControl<toolkit::Button>::GetInterface(name);
    }
};

// The main window's control factory: the two sequence classes, by class name
// in any letter case; null for anything else.
std::unique_ptr<toolkit::Control> CreateSequenceControl(std::wstring_view className);
