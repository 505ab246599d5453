#pragma once
// The level file (".lev"): one codec for the game's reader, the editor's reader and writer, and the
// level tool. Little-endian; a string is a u16 length and that many bytes, at most 99.
//
// Current layout (the only one the editor writes):
//   u32 magic "DQRK" (0x4B525144), u32 version (2, never tested), f32 scale x y z,
//   f32 table width, depth, str table material, str environment,
//   u32 N (BONUS_KIND_COUNT), N x i32 bonus counts in kind order, u32 S, S x { 16 x f32 matrix, u32 B, B x block }
// Old layout (read; written only for test fixtures): no magic and version, a u8 centre flag after
// the environment, and exactly one set without a matrix: u32 B, B x block.
// Block: i32 x y z (lowest cell), i32 sx sy sz, str material, f32 glue, i32 bonus (-1 or a kind).
//
// The reader checks every field before it uses it, and refuses the whole file on the first
// fault with a message saying which field and why: a short file, N above the number of kinds, a
// bonus count or kind
// out of range, a string over 99 bytes, set and block counts the rest of the file cannot hold,
// sizes outside 1..BLOCK_SIZE_MAX, cells outside +-LEVEL_CELL_MAX, a set spanning more than
// LEVEL_SET_CELLS_MAX grid cells, numbers that are not finite, set matrix entries beyond
// +-LEVEL_MATRIX_MAX, a scale or table size out of range,
// and (when asked) materials the game does not know. Nothing is allocated beyond what the file's
// own size can hold.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/bonus_kind.h"
#include "math/matrix.h"
#include "math/vector.h"

class InStream;
class OutStream;

constexpr uint32_t LEVEL_MAGIC = 0x4B525144u; // 'K' 'R' 'Q' 'D', high byte first: the file begins "DQRK"
constexpr uint32_t LEVEL_VERSION = 2;
constexpr uint32_t LEVEL_STRING_MAX = 99;
constexpr int32_t LEVEL_CELL_MAX = 1000;
constexpr int64_t LEVEL_SET_CELLS_MAX = 1 << 20;
constexpr int32_t LEVEL_BONUS_COUNT_MAX = 100000;
constexpr float LEVEL_TABLE_MIN = 1.0f;
constexpr float LEVEL_TABLE_MAX = 1000.0f;
constexpr float LEVEL_SCALE_MIN = 0.01f;
constexpr float LEVEL_SCALE_MAX = 100.0f;
constexpr float LEVEL_MATRIX_MAX = 10000.0f;
// Largest level file the readers take in.
constexpr int32_t LEVEL_FILE_MAX = 16 << 20;

struct YLevelBlock {
    int32_t x = 0, y = 0, z = 0;
    int32_t sx = 1, sy = 1, sz = 1;
    std::string material;
    float glue = 35.0f;
    int32_t bonus = -1;
};

struct YLevelSet {
    YMatrix matrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    std::vector<YLevelBlock> blocks;
};

struct YLevelData {
    bool oldLayout = false;
    uint32_t version = LEVEL_VERSION;
    YVector scale{1, 1, 1};
    float width = 20.0f;
    float depth = 20.0f;
    std::string tableMaterial = "default";
    std::string environment;
    uint8_t centreFlag = 0;           // old layout only
    std::vector<int32_t> bonusCounts; // N entries as stored (N <= BONUS_KIND_COUNT)
    std::vector<YLevelSet> sets;      // the old layout holds exactly one
};

// Whether a material name is known; the game passes its material table, the editor may pass none.
using LevelMaterialCheck = std::function<bool(const std::string& material)>;

// Reads a whole level from the bytes of a file. On a fault returns false with `error` set (and
// `out` in an unspecified state); nothing is logged.
bool ReadLevelBytes(const uint8_t* data, std::size_t size, YLevelData& out, std::string& error,
                    const LevelMaterialCheck& known = {});
// The same for the rest of a stream, which must tell its size (at most LEVEL_FILE_MAX).
bool ReadLevelData(InStream& in, YLevelData& out, std::string& error, const LevelMaterialCheck& known = {});

// Writes `level` in its layout (current unless oldLayout). Refuses, writing nothing, a level the
// readers would refuse: strings over 99 bytes, more counts than kinds, bonus kinds out of range, sizes
// out of range or non-finite numbers; false with `error` set.
bool WriteLevelData(OutStream& out, const YLevelData& level, std::string& error);

// The checks WriteLevelData makes, alone.
bool CheckLevelData(const YLevelData& level, std::string& error);

// Reads the file at `path` ('\' separated). An empty file is `false` with the error "empty", one
// that cannot be opened (missing, a folder, not readable) with "the file can't be opened"; faults
// give false with the reason.
bool ReadLevelFile(const char* path, YLevelData& out, std::string& error, const LevelMaterialCheck& known = {});

// Writes the file atomically (a temporary file renamed over the old one). False, with the old file
// kept, when the level is refused or the file cannot be written.
bool WriteLevelFile(const char* path, const YLevelData& level, std::string& error);
