#pragma once
// How a level's bonuses reach its blocks. The level file fixes some bonuses on particular items and
// counts, per kind, how many the level holds in all; the current game mode says which kinds are
// allowed (probability above 0) and how likely each is. The hand-out:
//   1. drops the counts of kinds the mode forbids;
//   2. keeps each placed bonus of an allowed kind; a placed bonus of a forbidden kind is re-drawn;
//   3. makes sure there is at least one bonus per ten items (as far as the counts go), adding the
//      missing ones by roulette over the weights of BuildBonusWeights;
//   4. re-draws the forbidden placed bonuses from kinds that still have a count;
//   5. hands what is left of the counts once the placed bonuses are taken off (their sum, a count
//      below its placed bonuses lowering it) to random items without a bonus and without a special,
//      opaque items first and items of a blended material only when too few opaque ones are left.
// All draws use XorShiftRand, so a level gets the same bonuses in every run.
#include <cstdint>
#include <vector>

// What the hand-out needs to know of one item.
struct YBonusCandidate {
    int32_t placedKind = -1; // from the level file: -1 none, else a kind below the kind count
    bool hasSpecial = false;
    bool blended = false;
};

// The roulette weights: per kind max(0, probability - count / total), normalised to sum 1 (left
// all 0 when they sum to 0). `total` is the sum of the counts, at least 1.
std::vector<float> BuildBonusWeights(const std::vector<int32_t>& counts, const std::vector<float>& probabilities);

// Returns the kind each item receives (-1 for none). `counts` and `probabilities` have one entry
// per bonus kind (missing entries count as 0). Placed kinds outside the kind range are treated as
// none. When every weight is 0 (the mode and the counts leave nothing to draw by probability) no
// bonus is added by roulette.
std::vector<int32_t> HandOutBonuses(std::vector<int32_t> counts, const std::vector<float>& probabilities,
                                    const std::vector<YBonusCandidate>& items);
