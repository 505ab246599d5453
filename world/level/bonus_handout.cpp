#include "world/level/bonus_handout.h"

#include <algorithm>

#include "core/xorshift.h"

std::vector<float> BuildBonusWeights(const std::vector<int32_t>& counts, const std::vector<float>& probabilities) {
    int64_t total = 0;
    for (int32_t c : counts) total += c;
    if (total < 1) total = 1;
    std::vector<float> weights(counts.size(), 0.0f);
    float sum = 0.0f;
    for (std::size_t k = 0; k < counts.size(); ++k) {
        const float p = k < probabilities.size() ? probabilities[k] : 0.0f;
        const float w = p - static_cast<float>(counts[k]) / static_cast<float>(total);
        weights[k] = w >= 0.0f ? w : 0.0f;
        sum += weights[k];
    }
    if (sum > 0.0f) {
        for (float& w : weights) w /= sum;
    }
    return weights;
}

std::vector<int32_t> HandOutBonuses(std::vector<int32_t> counts, const std::vector<float>& probabilities,
                                    const std::vector<YBonusCandidate>& items) {
    const int32_t kinds = static_cast<int32_t>(counts.size());
    std::vector<int32_t> result(items.size(), -1);
    const std::vector<float> weights = BuildBonusWeights(counts, probabilities);
    auto allowed = [&](int32_t k) {
        return k >= 0 && k < kinds && static_cast<std::size_t>(k) < probabilities.size() && probabilities[k] > 0.0f;
    };

    int64_t total = 0;
    for (int32_t k = 0; k < kinds; ++k) {
        if (!allowed(k)) counts[k] = 0;
        total += counts[k];
    }

    std::vector<std::size_t> redraw, opaque, blended;
    int64_t placed = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const YBonusCandidate& item = items[i];
        const int32_t kind = item.placedKind < kinds ? item.placedKind : -1;
        if (kind >= 0) {
            if (allowed(kind)) {
                --counts[kind];
                result[i] = kind;
                ++placed;
            } else {
                redraw.push_back(i);
            }
            continue;
        }
        if (item.hasSpecial) continue;
        (item.blended ? blended : opaque).push_back(i);
    }

    const int64_t target = std::max(static_cast<int64_t>(static_cast<double>(items.size()) * 0.1),
                                    static_cast<int64_t>(redraw.size()) + placed);
    for (int64_t missing = target - total; missing > 0; --missing) {
        const int kind = XorShiftRoulette(weights.data(), kinds);
        if (kind < 0) break; // nothing can be drawn by probability: add nothing
        ++counts[kind];
    }

    // The counts may now hold fewer than the re-draw list needs (every weight 0); items left over
    // keep no bonus.
    int64_t available = 0;
    for (int32_t k = 0; k < kinds; ++k) available += std::max(counts[k], 0);
    while (!redraw.empty() && available > 0) {
        const int32_t k = static_cast<int32_t>(XorShiftRand() % static_cast<uint32_t>(kinds));
        if (counts[k] <= 0) continue;
        result[redraw.back()] = k;
        redraw.pop_back();
        --counts[k];
        --available;
    }

    // The file's counts include the bonuses placed on blocks, which were taken off above; a count
    // the file gave too low for its placed bonuses has gone negative and lowers the rest by as much.
    int64_t remaining = 0;
    for (int32_t k = 0; k < kinds; ++k) remaining += counts[k];
    while (static_cast<int64_t>(opaque.size()) < remaining && !blended.empty()) {
        const std::size_t j = XorShiftRand() % blended.size();
        opaque.push_back(blended[j]);
        blended[j] = blended.back();
        blended.pop_back();
    }
    remaining = std::min<int64_t>(remaining, static_cast<int64_t>(opaque.size()));
    for (int32_t k = 0; k < kinds && remaining > 0; ++k) {
        for (int32_t n = 0; n < counts[k] && remaining > 0; ++n) {
            --remaining;
            const std::size_t j = XorShiftRand() % opaque.size();
            result[opaque[j]] = k;
            opaque[j] = opaque.back();
            opaque.pop_back();
        }
    }
    return result;
}
