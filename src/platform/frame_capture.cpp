// Frame lists and the observer that writes selected frames as PNG files.
#include "platform/frame_capture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "util/message_text.h"
#include "util/png.h"

namespace qvar {

namespace {

constexpr uint64_t MAX_FRAME_NUMBER = 1000000000;
constexpr size_t MAX_LIST_ITEMS = 10000;

bool parse_frame_number(std::string_view s, uint64_t& out) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (s.empty() || s.size() > 10) return false;
    uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v == 0 || v > MAX_FRAME_NUMBER) return false;
    out = v;
    return true;
}

bool parse_item(std::string_view item, FrameSelection& out, std::string& error) {
    size_t dash = item.find('-');
    uint64_t first = 0, last = 0;
    bool ok = false;
    if (dash == std::string_view::npos) {
        ok = parse_frame_number(item, first);
        last = first;
    } else {
        ok = parse_frame_number(item.substr(0, dash), first) && parse_frame_number(item.substr(dash + 1), last);
    }
    if (!ok || last < first) {
        error = "bad frame list item '" + printable(item) +
                "': use frame numbers from 1 and ranges like 10-20, or all";
        return false;
    }
    out.ranges.emplace_back(first, last);
    return true;
}

}  // namespace

bool FrameSelection::contains(uint64_t frame) const {
    if (all) return true;
    for (const auto& [first, last] : ranges)
        if (frame >= first && frame <= last) return true;
    return false;
}

bool parse_frame_list(std::string_view text, FrameSelection& out, std::string& error) {
    out = FrameSelection{};
    if (text == "all") {
        out.all = true;
        return true;
    }
    if (text.empty()) {
        error = "the frame list is empty";
        return false;
    }
    for (;;) {
        size_t comma = text.find(',');
        if (out.ranges.size() >= MAX_LIST_ITEMS) {
            error = "the frame list has more than 10000 items";
            return false;
        }
        if (!parse_item(text.substr(0, comma), out, error)) return false;
        if (comma == std::string_view::npos) return true;
        text.remove_prefix(comma + 1);
    }
}

std::string frame_file_name(uint64_t frame) {
    char name[40];
    std::snprintf(name, sizeof name, "frame-%06llu.png", static_cast<unsigned long long>(frame));
    return name;
}

std::shared_ptr<const FrameCaptureResult> attach_frame_capture(HeadlessPlatform& platform, const std::string& dir,
                                                               const FrameSelection& selection) {
    auto result = std::make_shared<FrameCaptureResult>();
    platform.add_frame_observer([result, dir, selection](HeadlessPlatform& p, uint64_t frame) {
        if (result->failed || !selection.contains(frame)) return;
        // Frames are throw-away output: a plain write, no flush to disk per file.
        const std::string path = (std::filesystem::path(dir) / frame_file_name(frame)).string();
        const std::vector<uint8_t> png = encode_png_indexed(320, 200, p.last_frame().data(), rgb_triples(p.palette()));
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        out.close();
        if (!out) {
            result->failed = true;
            result->error = "cannot write " + printable(path);
            return;
        }
        ++result->written;
    });
    return result;
}

}  // namespace qvar
