// Frame statistics for --stats: how regularly frames were presented, what presenting cost,
// and how much processor time the process used.
//
// Times go into histograms of 1 us bins up to 100 ms (longer times share one last bin), made
// once when the statistics are created, so recording a frame allocates nothing however long
// the run. Percentiles are exact to the microsecond; one that falls among the times of
// 100 ms and more is given as the longest time seen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvar {

class TimeHistogram {
public:
    static constexpr size_t BINS = 100000;  // 0 .. 100 ms in 1 us steps, then the overflow bin

    TimeHistogram() : bins_(BINS + 1, 0) {}
    void add(uint64_t us);
    uint64_t count() const { return count_; }
    // The smallest time that at least `fraction` (0..1) of the samples do not exceed, in ms;
    // 0 when there are no samples.
    double percentile_ms(double fraction) const;

private:
    std::vector<uint32_t> bins_;
    uint64_t count_ = 0;
    uint64_t longest_us_ = 0;
};

// Processor time used by the whole process so far, in seconds.
double process_cpu_seconds();
// Seconds on a monotonic real-time clock, from an arbitrary start.
double wall_seconds();

struct FrameStats {
    // Called for every presented frame with the platform's clock (in us) just before and just
    // after the present. The interval runs from one present's start to the next one's. The
    // first frame also starts the processor count, so that opening the window is left out.
    void frame_presented(uint64_t start_us, uint64_t end_us);

    uint64_t frames = 0;
    TimeHistogram intervals;
    TimeHistogram presents;
    uint64_t last_start_us = 0;
    double first_cpu_s = 0.0;   // process_cpu_seconds at the first frame
    double first_wall_s = 0.0;  // wall_seconds at the first frame
};

// The lines --stats prints: frames, the interval's median and 1st and 99th percentile, the
// present's median and 99th percentile, and the processor time per second of real time
// from the first frame until `cpu_s` and `wall_s` (process_cpu_seconds, wall_seconds).
std::string stats_report(const FrameStats& stats, double cpu_s, double wall_s);

}  // namespace qvar
