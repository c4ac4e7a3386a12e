// Writing presented frames of a headless run as 8-bit indexed PNG files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/headless_platform.h"

namespace qvar {

// Which frames to write: "all", or a comma-separated list of frame numbers (from 1) and
// ranges, e.g. "1,50,200" or "10-20,300".
struct FrameSelection {
    bool all = false;
    std::vector<std::pair<uint64_t, uint64_t>> ranges;  // inclusive

    bool contains(uint64_t frame) const;
};

// Parses a frame list; false with a one-line `error` on a malformed list.
bool parse_frame_list(std::string_view text, FrameSelection& out, std::string& error);

// "frame-000050.png" for frame 50 (six digits at least).
std::string frame_file_name(uint64_t frame);

// Counts and reports what a capture wrote; the observer on the platform fills it in.
struct FrameCaptureResult {
    uint64_t written = 0;
    bool failed = false;
    std::string error;  // the first failure, "cannot write DIR/frame-000050.png"
};

// Adds an observer to the platform that writes every selected frame, with the palette the
// platform holds when the frame is presented, into `dir` (which must exist). After the
// first failed write no more frames are written.
std::shared_ptr<const FrameCaptureResult> attach_frame_capture(HeadlessPlatform& platform, const std::string& dir,
                                                               const FrameSelection& selection);

}  // namespace qvar
