// Frame statistics: histograms of frame intervals and present costs, and the report.
#include "platform/frame_stats.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace qvar {

void TimeHistogram::add(uint64_t us) {
    bins_[us < BINS ? static_cast<size_t>(us) : BINS] += 1;
    ++count_;
    if (us > longest_us_) longest_us_ = us;
}

double TimeHistogram::percentile_ms(double fraction) const {
    if (count_ == 0) return 0.0;
    // The sample of rank ceil(fraction * count), counting from 1.
    auto rank = static_cast<uint64_t>(fraction * static_cast<double>(count_));
    if (static_cast<double>(rank) < fraction * static_cast<double>(count_)) ++rank;
    if (rank == 0) rank = 1;
    uint64_t seen = 0;
    for (size_t i = 0; i < BINS; ++i) {
        seen += bins_[i];
        if (seen >= rank) return static_cast<double>(i) / 1000.0;
    }
    return static_cast<double>(longest_us_) / 1000.0;
}

void FrameStats::frame_presented(uint64_t start_us, uint64_t end_us) {
    if (frames == 0) {
        first_cpu_s = process_cpu_seconds();
        first_wall_s = wall_seconds();
    } else {
        intervals.add(start_us >= last_start_us ? start_us - last_start_us : 0);
    }
    presents.add(end_us >= start_us ? end_us - start_us : 0);
    last_start_us = start_us;
    ++frames;
}

double process_cpu_seconds() {
    timespec t{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t) != 0) return 0.0;
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double wall_seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string stats_report(const FrameStats& stats, double cpu_s, double wall_s) {
    char text[512];
    const TimeHistogram& in = stats.intervals;
    const TimeHistogram& pr = stats.presents;
    const double cpu = stats.frames > 0 ? cpu_s - stats.first_cpu_s : 0.0;
    const double wall = stats.frames > 0 ? wall_s - stats.first_wall_s : 0.0;
    const double share = wall > 0.0 ? 100.0 * cpu / wall : 0.0;
    std::snprintf(text, sizeof text,
                  "frames presented: %llu\n"
                  "frame interval: median %.3f ms, 1st percentile %.3f ms, 99th percentile %.3f ms\n"
                  "present: median %.3f ms, 99th percentile %.3f ms\n"
                  "processor: %.1f%% of one core (%.2f s in %.2f s)\n",
                  static_cast<unsigned long long>(stats.frames), in.percentile_ms(0.5), in.percentile_ms(0.01),
                  in.percentile_ms(0.99), pr.percentile_ms(0.5), pr.percentile_ms(0.99), share, cpu, wall);
    return text;
}

}  // namespace qvar
