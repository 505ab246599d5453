#include "level_text.h"

#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line.substr(0, line.find('#')));
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

bool Int(const std::string& s, int32_t& v) {
    char* end = nullptr;
    const long n = std::strtol(s.c_str(), &end, 10);
    if (end == s.c_str() || *end) return false;
    v = static_cast<int32_t>(n);
    return true;
}

bool Float(const std::string& s, float& v) {
    char* end = nullptr;
    v = std::strtof(s.c_str(), &end);
    return end != s.c_str() && !*end;
}

// "glue=<g>" and "bonus=<k>" after the material.
bool Options(const std::vector<std::string>& w, std::size_t from, YLevelBlock& b) {
    for (std::size_t i = from; i < w.size(); ++i) {
        const std::string& o = w[i];
        if (o.rfind("glue=", 0) == 0) {
            if (!Float(o.substr(5), b.glue)) return false;
        } else if (o.rfind("bonus=", 0) == 0) {
            if (!Int(o.substr(6), b.bonus)) return false;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

bool ParseLevelText(const std::string& text, YLevelData& level, std::string& error) {
    level = YLevelData{};
    level.bonusCounts.assign(BONUS_KIND_COUNT, 0);
    std::istringstream in(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        const std::vector<std::string> w = Words(line);
        if (w.empty()) continue;
        const std::string& c = w[0];
        if (c == "table" && (w.size() == 3 || w.size() == 4)) {
            if (!Float(w[1], level.width) || !Float(w[2], level.depth)) return fail("bad table size");
            if (w.size() == 4) level.tableMaterial = w[3];
        } else if (c == "environment" && w.size() == 2) {
            level.environment = w[1];
        } else if (c == "scale" && w.size() == 4) {
            if (!Float(w[1], level.scale.x) || !Float(w[2], level.scale.y) || !Float(w[3], level.scale.z)) {
                return fail("bad scale");
            }
        } else if (c == "bonus" && w.size() == 3) {
            int32_t kind, count;
            if (!Int(w[1], kind) || !Int(w[2], count) || kind < 0 || kind >= BONUS_KIND_COUNT) {
                return fail("bad bonus");
            }
            if (count < 0 || count > LEVEL_BONUS_COUNT_MAX - level.bonusCounts[kind]) return fail("bad bonus count");
            level.bonusCounts[kind] += count;
        } else if (c == "old-layout" && w.size() <= 2) {
            level.oldLayout = true;
            level.centreFlag = w.size() == 2 && w[1] == "centre";
        } else if (c == "set" && (w.size() == 4 || w.size() == 6)) {
            YLevelSet set;
            float turn = 0.0f;
            if (w.size() == 6 && (w[4] != "turn" || !Float(w[5], turn))) return fail("bad turn");
            set.matrix.SetRotationZ(turn);
            if (!Float(w[1], set.matrix.m[12]) || !Float(w[2], set.matrix.m[13]) || !Float(w[3], set.matrix.m[14])) {
                return fail("bad set position");
            }
            level.sets.push_back(set);
        } else if ((c == "block" || c == "box") && w.size() >= 8) {
            if (level.sets.empty()) return fail("a block before the first set");
            int32_t v[6];
            for (int i = 0; i < 6; ++i) {
                if (!Int(w[1 + i], v[i])) return fail("bad number");
            }
            YLevelBlock b;
            b.material = w[7];
            if (!Options(w, 8, b)) return fail("bad option");
            std::vector<YLevelBlock>& blocks = level.sets.back().blocks;
            if (c == "block") {
                b.x = v[0], b.y = v[1], b.z = v[2], b.sx = v[3], b.sy = v[4], b.sz = v[5];
                blocks.push_back(b);
            } else {
                const int32_t bonus = b.bonus;
                for (int32_t z = 0; z < v[5]; ++z) {
                    for (int32_t y = 0; y < v[4]; ++y) {
                        for (int32_t x = 0; x < v[3]; ++x) {
                            b.x = v[0] + x, b.y = v[1] + y, b.z = v[2] + z;
                            b.bonus = (x == 0 && y == 0 && z == 0) ? bonus : -1;
                            blocks.push_back(b);
                        }
                    }
                }
            }
        } else {
            return fail("unknown command \"" + c + "\" or wrong number of words");
        }
    }
    if (level.oldLayout && level.sets.size() != 1) return fail("the old layout holds exactly one set");
    // A level's count of a kind is every bonus of that kind it holds; the game takes the placed
    // ones off before it hands out the rest at random.
    for (const YLevelSet& set : level.sets) {
        for (const YLevelBlock& b : set.blocks) {
            if (b.bonus >= 0 && b.bonus < BONUS_KIND_COUNT) ++level.bonusCounts[b.bonus];
        }
    }
    return CheckLevelData(level, error) || fail(error);
}
