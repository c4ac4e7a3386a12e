// Soak: whole games on the headless backend with a repeatable random player, from the start
// and from prepared progress at levels 50, 200 and 990, checked after every frame. The frame
// count per start level is QVAR_SOAK_FRAMES (default short enough for CI under sanitizers).
#include <gtest/gtest.h>

#include <sstream>

#include "soak_support.h"

using namespace qvar;
using namespace qvar::test;

namespace {

std::string describe(int32_t level, const SoakReport& r) {
    std::ostringstream out;
    out << "from level " << level << ": " << r.frames << " frames, " << r.games << " games, " << r.level_changes
        << " level changes (highest " << r.highest_level << "), " << r.ships_lost << " ships lost; most foes "
        << r.most_foes << ", shots " << r.most_shots << ", sparks " << r.most_sparks << ", debris " << r.most_debris
        << ", boni " << r.most_boni << "; merges " << r.tally.merges << ", divisions " << r.tally.divisions
        << "; collected";
    for (int32_t k = 1; k <= BONUS_KIND_COUNT; ++k) out << " " << r.tally.collected[static_cast<size_t>(k)];
    return out.str();
}

std::string missing(const GameTally& t) {
    std::ostringstream out;
    for (int32_t k = 1; k <= FOE_KIND_COUNT; ++k) {
        if (t.born[static_cast<size_t>(k)] == 0) out << " born:" << k;
        if (t.destroyed[static_cast<size_t>(k)] == 0) out << " destroyed:" << k;
    }
    for (int32_t k : {ROCK, WHEEL, TRIANGLE, WEB, BLOCK, LODESTONE})
        if (t.split[static_cast<size_t>(k)] == 0) out << " split:" << k;
    for (int32_t k = 1; k <= BONUS_KIND_COUNT; ++k)
        if (t.collected[static_cast<size_t>(k)] == 0) out << " collected:" << k;
    return out.str();
}

}  // namespace

TEST(Soak, RandomPlayFromFourStartLevelsKeepsTheWorldSound) {
    const uint64_t frames = soak_frames(4500);
    GameTally all;
    int32_t lost = 0;
    for (int32_t level : {1, 50, 200, 990}) {
        SoakRun run;
        run.start_level = level - 1;
        run.frames = frames;
        run.seed = static_cast<uint32_t>(level);
        const SoakReport r = soak(run);
        std::printf("[ soak     ] %s\n", describe(level, r).c_str());
        EXPECT_TRUE(r.first_fault.empty()) << "from level " << level << ": " << r.first_fault;
        EXPECT_GT(r.level_changes, 1) << describe(level, r);
        lost += r.ships_lost;
        for (size_t k = 0; k < all.born.size(); ++k) {
            all.born[k] += r.tally.born[k];
            all.destroyed[k] += r.tally.destroyed[k];
            all.split[k] += r.tally.split[k];
        }
        for (size_t k = 0; k < all.collected.size(); ++k) all.collected[k] += r.tally.collected[k];
        all.merges += r.tally.merges;
        all.divisions += r.tally.divisions;
    }
    // Between them the runs see every kind born and destroyed, the splitting kinds split, and
    // every pick-up collected. (Merges and divisions are reported; short runs may miss them.)
    EXPECT_EQ(missing(all), "");
    EXPECT_GT(lost, 0);
}
