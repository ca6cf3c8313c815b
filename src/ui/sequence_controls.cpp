#include "ui/sequence_controls.h"

std::unique_ptr<toolkit::Control> CreateSequenceControl(std::wstring_view className)
{
    if (toolkit::EqualsNoCase(className, L"SequenceButton")) return std::make_unique<CSequenceButtonUI>();
    if (toolkit::EqualsNoCase(className, L"SequenceLabel")) return std::make_unique<CSequenceLabelUI>();
    return nullptr;
}
