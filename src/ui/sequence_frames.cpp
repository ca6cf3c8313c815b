#include "ui/sequence_frames.h"

#include "toolkit/int_format.h"

SequenceFrames::Step SequenceFrames::Next(uint32_t& shown)
{
    if (pattern.empty()) return Step::Idle;
    // Unsigned on purpose: with count 0, count - 1 is the largest value, so
    // such a sequence counts up without ever wrapping.
    if (forward && current > count - 1u) {
        if (bounce) {
            forward = false;
            current = count - 2u;
        } else {
            current = 0;
            if (!loop) return Step::Stop;
        }
    }
    if (!forward && current == 0) {
        if (bounce) forward = true;
        current = 0;
        if (!loop) return Step::Stop;
    }
    shown = current;
    current = forward ? current + 1 : current - 1;
    return Step::Show;
}

std::optional<std::wstring> SequenceFrames::FramePath(uint32_t frame) const
{
    // The frame number goes in as the unsigned value it is.
    return toolkit::FormatInteger(pattern, static_cast<long long>(frame));
}
