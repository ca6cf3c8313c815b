#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The frame stepping shared by both sequence controls, kept apart from any
// control so that it can be checked frame by frame.
struct SequenceFrames {
    std::wstring pattern;  // one integer conversion, e.g. "res\anim\%.3d.png"
    uint32_t count = 0;
    uint32_t period = 30;
    bool autoStart = false;
    bool loop = true;
    bool forward = true;
    bool bounce = false;
    uint32_t current = 0;  // the next frame to show

    enum class Step { Idle, Show, Stop };
    // One timer tick: which frame to show now (in `shown`), or that the
    // sequence ends here, or that there is nothing to play.
    Step Next(uint32_t& shown);
    // The picture of a frame, or nothing when the pattern is not a plain
    // one-integer pattern: such a pattern shows no frames.
    std::optional<std::wstring> FramePath(uint32_t frame) const;
};
