#include "world/level/level_file.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "core/streams.h"
#include "platform/sys/files.h"
#include "world/blocks/block_material.h"

namespace {

// Sizes of the fixed parts, for bounding counts by what the rest of the file can hold.
constexpr std::size_t kBlockMinBytes = 6 * 4 + 2 + 4 + 4; // cells, sizes, empty name, glue, bonus
constexpr std::size_t kSetMinBytes = 64 + 4;              // matrix, block count

class ByteReader {
public:
    ByteReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Remaining() const { return size_ - pos_; }

    bool U32(uint32_t& v, const char* field) {
        if (!Need(4, field)) return false;
        v = static_cast<uint32_t>(data_[pos_]) | static_cast<uint32_t>(data_[pos_ + 1]) << 8 |
            static_cast<uint32_t>(data_[pos_ + 2]) << 16 | static_cast<uint32_t>(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return true;
    }
    bool I32(int32_t& v, const char* field) {
        uint32_t u;
        if (!U32(u, field)) return false;
        v = static_cast<int32_t>(u);
        return true;
    }
    bool F32(float& v, const char* field) {
        uint32_t u;
        if (!U32(u, field)) return false;
        std::memcpy(&v, &u, 4);
        if (!std::isfinite(v)) return Fail(field, "is not a finite number");
        return true;
    }
    bool U8(uint8_t& v, const char* field) {
        if (!Need(1, field)) return false;
        v = data_[pos_++];
        return true;
    }
    bool Str(std::string& s, const char* field) {
        if (!Need(2, field)) return false;
        const int16_t length = static_cast<int16_t>(data_[pos_] | data_[pos_ + 1] << 8);
        pos_ += 2;
        if (length < 0 || static_cast<uint32_t>(length) > LEVEL_STRING_MAX) {
            return Fail(field, ("is " + std::to_string(length) + " bytes long (at most 99)").c_str());
        }
        if (!Need(static_cast<std::size_t>(length), field)) return false;
        s.assign(reinterpret_cast<const char*>(data_ + pos_), static_cast<std::size_t>(length));
        pos_ += static_cast<std::size_t>(length);
        return true;
    }

    bool Fail(const char* field, const char* why) {
        if (error_.empty()) error_ = std::string(field) + " " + why + " (at byte " + std::to_string(pos_) + ")";
        return false;
    }
    std::string& Error() { return error_; }

private:
    bool Need(std::size_t n, const char* field) {
        if (Remaining() < n) return Fail(field, "lies past the end of the file");
        return true;
    }

    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    std::string error_;
};

bool CheckBlock(const YLevelBlock& b, std::string& why) {
    const int32_t cells[3] = {b.x, b.y, b.z};
    const int32_t sizes[3] = {b.sx, b.sy, b.sz};
    for (int i = 0; i < 3; ++i) {
        if (cells[i] < -LEVEL_CELL_MAX || cells[i] > LEVEL_CELL_MAX) {
            why = "cell " + std::to_string(cells[i]) + " is out of range";
            return false;
        }
        if (sizes[i] < 1 || sizes[i] > static_cast<int32_t>(BLOCK_SIZE_MAX)) {
            why = "size " + std::to_string(sizes[i]) + " is out of range (1.." + std::to_string(BLOCK_SIZE_MAX) + ")";
            return false;
        }
    }
    if (b.bonus != -1 && !IsBonusKind(b.bonus)) {
        why = "bonus kind " + std::to_string(b.bonus) + " is out of range (-1.." +
              std::to_string(BONUS_KIND_COUNT - 1) + ")";
        return false;
    }
    if (b.material.size() > LEVEL_STRING_MAX) {
        why = "material name is longer than 99 bytes";
        return false;
    }
    if (!std::isfinite(b.glue)) {
        why = "glue is not a finite number";
        return false;
    }
    return true;
}

// The grid a set's items span must stay small enough to hold one pointer per cell.
bool CheckSetSpan(const YLevelSet& set, std::string& why) {
    if (set.blocks.empty()) return true;
    int64_t lo[3] = {INT32_MAX, INT32_MAX, INT32_MAX};
    int64_t hi[3] = {INT32_MIN, INT32_MIN, INT32_MIN};
    for (const YLevelBlock& b : set.blocks) {
        const int64_t c[3] = {b.x, b.y, b.z};
        const int64_t s[3] = {b.sx, b.sy, b.sz};
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], c[i]);
            hi[i] = std::max(hi[i], c[i] + s[i]);
        }
    }
    const int64_t cells = (hi[0] - lo[0]) * (hi[1] - lo[1]) * (hi[2] - lo[2]);
    if (cells > LEVEL_SET_CELLS_MAX) {
        why = "a set spans " + std::to_string(cells) + " grid cells (at most " + std::to_string(LEVEL_SET_CELLS_MAX) +
              ")";
        return false;
    }
    return true;
}

bool CheckScaleAndTable(const YLevelData& level, std::string& why) {
    const float s[3] = {level.scale.x, level.scale.y, level.scale.z};
    for (float v : s) {
        if (!std::isfinite(v) || v < LEVEL_SCALE_MIN || v > LEVEL_SCALE_MAX) {
            why = "scale " + std::to_string(v) + " is out of range";
            return false;
        }
    }
    for (float v : {level.width, level.depth}) {
        if (!std::isfinite(v) || v < LEVEL_TABLE_MIN || v > LEVEL_TABLE_MAX) {
            why = "table size " + std::to_string(v) + " is out of range";
            return false;
        }
    }
    return true;
}

bool ReadBlock(ByteReader& r, YLevelBlock& b, const LevelMaterialCheck& known) {
    if (!r.I32(b.x, "block x") || !r.I32(b.y, "block y") || !r.I32(b.z, "block z") || !r.I32(b.sx, "block sx") ||
        !r.I32(b.sy, "block sy") || !r.I32(b.sz, "block sz") || !r.Str(b.material, "block material") ||
        !r.F32(b.glue, "block glue") || !r.I32(b.bonus, "block bonus")) {
        return false;
    }
    std::string why;
    if (!CheckBlock(b, why)) return r.Fail("block", why.c_str());
    if (known && !known(b.material)) return r.Fail("block", ("material \"" + b.material + "\" is unknown").c_str());
    return true;
}

bool ReadBlocks(ByteReader& r, YLevelSet& set, const LevelMaterialCheck& known) {
    uint32_t count;
    if (!r.U32(count, "block count")) return false;
    if (count > r.Remaining() / kBlockMinBytes) {
        return r.Fail("block count", (std::to_string(count) + " is more than the file can hold").c_str());
    }
    set.blocks.resize(count);
    for (YLevelBlock& b : set.blocks) {
        if (!ReadBlock(r, b, known)) return false;
    }
    std::string why;
    if (!CheckSetSpan(set, why)) return r.Fail("block set", why.c_str());
    return true;
}

void PutU32(std::string& out, uint32_t v) {
    const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
    out.append(b, 4);
}
void PutI32(std::string& out, int32_t v) { PutU32(out, static_cast<uint32_t>(v)); }
void PutF32(std::string& out, float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    PutU32(out, u);
}
void PutStr(std::string& out, const std::string& s) {
    const uint16_t n = static_cast<uint16_t>(s.size());
    out.push_back(static_cast<char>(n & 0xFF));
    out.push_back(static_cast<char>(n >> 8));
    out.append(s);
}

} // namespace

bool ReadLevelBytes(const uint8_t* data, std::size_t size, YLevelData& out, std::string& error,
                    const LevelMaterialCheck& known) {
    out = YLevelData{};
    error.clear();
    if (size == 0) {
        error = "empty";
        return false;
    }
    if (size > static_cast<std::size_t>(LEVEL_FILE_MAX)) {
        error = "the file is larger than " + std::to_string(LEVEL_FILE_MAX) + " bytes";
        return false;
    }
    ByteReader r(data, size);
    uint32_t first;
    if (!r.U32(first, "magic")) {
        error = r.Error();
        return false;
    }
    bool ok = true;
    if (first == LEVEL_MAGIC) {
        ok = r.U32(out.version, "version") && r.F32(out.scale.x, "scale x");
    } else {
        out.oldLayout = true;
        out.version = 0;
        std::memcpy(&out.scale.x, &first, 4);
        if (!std::isfinite(out.scale.x)) ok = r.Fail("scale x", "is not a finite number");
    }
    ok = ok && r.F32(out.scale.y, "scale y") && r.F32(out.scale.z, "scale z") && r.F32(out.width, "table width") &&
         r.F32(out.depth, "table depth") && r.Str(out.tableMaterial, "table material") &&
         r.Str(out.environment, "environment");
    if (ok) {
        std::string why;
        if (!CheckScaleAndTable(out, why)) ok = r.Fail("level", why.c_str());
    }
    if (ok && out.oldLayout) ok = r.U8(out.centreFlag, "centre flag");
    uint32_t n = 0;
    ok = ok && r.U32(n, "bonus count N");
    if (ok && n > static_cast<uint32_t>(BONUS_KIND_COUNT))
        ok = r.Fail("bonus count N", (std::to_string(n) + " is above " + std::to_string(BONUS_KIND_COUNT)).c_str());
    if (ok) {
        out.bonusCounts.resize(n);
        for (int32_t& c : out.bonusCounts) {
            if (!r.I32(c, "bonus count")) {
                ok = false;
                break;
            }
            if (c < 0 || c > LEVEL_BONUS_COUNT_MAX) {
                ok = r.Fail("bonus count", (std::to_string(c) + " is out of range").c_str());
                break;
            }
        }
    }
    if (ok && out.oldLayout) {
        out.sets.resize(1);
        ok = ReadBlocks(r, out.sets[0], known);
    } else if (ok) {
        uint32_t setCount;
        ok = r.U32(setCount, "set count");
        if (ok && setCount > r.Remaining() / kSetMinBytes) {
            ok = r.Fail("set count", (std::to_string(setCount) + " is more than the file can hold").c_str());
        }
        if (ok) {
            out.sets.resize(setCount);
            for (YLevelSet& set : out.sets) {
                for (float& f : set.matrix.m) {
                    if (!r.F32(f, "set matrix")) {
                        ok = false;
                        break;
                    }
                    if (std::fabs(f) > LEVEL_MATRIX_MAX) {
                        ok = r.Fail("set matrix", (std::to_string(f) + " is out of range").c_str());
                        break;
                    }
                }
                if (!ok || !ReadBlocks(r, set, known)) {
                    ok = false;
                    break;
                }
            }
        }
    }
    if (!ok) {
        error = r.Error();
        return false;
    }
    return true;
}

bool ReadLevelData(InStream& in, YLevelData& out, std::string& error, const LevelMaterialCheck& known) {
    const int32_t size = in.Remaining();
    if (size < 0) {
        error = "the input does not tell its size";
        return false;
    }
    if (size > LEVEL_FILE_MAX) {
        error = "the file is larger than " + std::to_string(LEVEL_FILE_MAX) + " bytes";
        return false;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.Read(bytes.data(), size);
    if (in.Remaining() != 0) {
        error = "the file could not be read in full";
        return false;
    }
    return ReadLevelBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, error, known);
}

bool CheckLevelData(const YLevelData& level, std::string& error) {
    if (!CheckScaleAndTable(level, error)) return false;
    if (level.tableMaterial.size() > LEVEL_STRING_MAX || level.environment.size() > LEVEL_STRING_MAX) {
        error = "a table material or environment name is longer than 99 bytes";
        return false;
    }
    if (level.bonusCounts.size() > static_cast<std::size_t>(BONUS_KIND_COUNT)) {
        error = "more than " + std::to_string(BONUS_KIND_COUNT) + " bonus counts";
        return false;
    }
    for (int32_t c : level.bonusCounts) {
        if (c < 0 || c > LEVEL_BONUS_COUNT_MAX) {
            error = "bonus count " + std::to_string(c) + " is out of range";
            return false;
        }
    }
    if (level.oldLayout && level.sets.size() != 1) {
        error = "the old layout holds exactly one set";
        return false;
    }
    for (const YLevelSet& set : level.sets) {
        for (float f : set.matrix.m) {
            if (!std::isfinite(f)) {
                error = "a set matrix holds a number that is not finite";
                return false;
            }
            // Far-off or huge placements put blocks where the collision space cannot file them.
            if (std::fabs(f) > LEVEL_MATRIX_MAX) {
                error = "a set matrix holds a number out of range (" + std::to_string(f) + ")";
                return false;
            }
        }
        for (const YLevelBlock& b : set.blocks) {
            if (!CheckBlock(b, error)) return false;
        }
        if (!CheckSetSpan(set, error)) return false;
    }
    return true;
}

namespace {

bool EncodeLevel(const YLevelData& level, std::string& bytes, std::string& error) {
    if (!CheckLevelData(level, error)) return false;
    bytes.clear();
    if (!level.oldLayout) {
        PutU32(bytes, LEVEL_MAGIC);
        PutU32(bytes, level.version);
    }
    PutF32(bytes, level.scale.x);
    PutF32(bytes, level.scale.y);
    PutF32(bytes, level.scale.z);
    PutF32(bytes, level.width);
    PutF32(bytes, level.depth);
    PutStr(bytes, level.tableMaterial);
    PutStr(bytes, level.environment);
    if (level.oldLayout) bytes.push_back(static_cast<char>(level.centreFlag));
    PutU32(bytes, static_cast<uint32_t>(level.bonusCounts.size()));
    for (int32_t c : level.bonusCounts) PutI32(bytes, c);
    if (!level.oldLayout) PutU32(bytes, static_cast<uint32_t>(level.sets.size()));
    for (const YLevelSet& set : level.sets) {
        if (!level.oldLayout) {
            for (float f : set.matrix.m) PutF32(bytes, f);
        }
        PutU32(bytes, static_cast<uint32_t>(set.blocks.size()));
        for (const YLevelBlock& b : set.blocks) {
            PutI32(bytes, b.x);
            PutI32(bytes, b.y);
            PutI32(bytes, b.z);
            PutI32(bytes, b.sx);
            PutI32(bytes, b.sy);
            PutI32(bytes, b.sz);
            PutStr(bytes, b.material);
            PutF32(bytes, b.glue);
            PutI32(bytes, b.bonus);
        }
    }
    if (bytes.size() > static_cast<std::size_t>(LEVEL_FILE_MAX)) {
        error = "the level is larger than " + std::to_string(LEVEL_FILE_MAX) + " bytes";
        return false;
    }
    return true;
}

} // namespace

bool WriteLevelData(OutStream& out, const YLevelData& level, std::string& error) {
    std::string bytes;
    if (!EncodeLevel(level, bytes, error)) return false;
    out.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    return true;
}

bool ReadLevelFile(const char* path, YLevelData& out, std::string& error, const LevelMaterialCheck& known) {
    InFStream in(path);
    if (in.Remaining() == 0) {
        out = YLevelData{};
        // A stream that did not open reads as empty too: tell a file that is there and empty from one
        // that is missing, is a folder or may not be read.
        error = plat::FileSize(path ? path : "") == 0 ? "empty" : "the file can't be opened";
        return false;
    }
    return ReadLevelData(in, out, error, known);
}

bool WriteLevelFile(const char* path, const YLevelData& level, std::string& error) {
    std::string bytes;
    if (!EncodeLevel(level, bytes, error)) return false; // refused before the file is touched
    OutFStream out(path);
    out.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    if (!out.Close()) {
        error = "the file could not be written";
        return false;
    }
    return true;
}
