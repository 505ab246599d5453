#include "shell/score_table.h"

#include <algorithm>
#include <cstring>

#include "core/crypt_stream.h"
#include "core/log.h"
#include "platform/sys/files.h"

namespace {

// A table of seven entries with the longest names is about 1.8 KiB; a file past this is not ours.
constexpr std::size_t SCORE_FILE_MAX = 64 * 1024;
constexpr std::size_t HEADER_SIZE = 8;
constexpr std::size_t KEY_LENGTH = sizeof(SCORE_FILE_KEY) - 1;

// XORs bytes [HEADER_SIZE, end) with the key, the key starting at its first byte at HEADER_SIZE.
void Obscure(std::string& bytes) {
    for (std::size_t i = HEADER_SIZE; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ SCORE_FILE_KEY[(i - HEADER_SIZE) % KEY_LENGTH]);
    }
}

void PutU16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Reads little-endian fields from a byte string; every read checks that the bytes are there.
class Cursor {
public:
    explicit Cursor(const std::string& bytes) : bytes_(bytes) {}
    bool U16(uint16_t& v) {
        if (Left() < 2) return false;
        v = static_cast<uint16_t>(Byte(0) | (Byte(1) << 8));
        pos_ += 2;
        return true;
    }
    bool U32(uint32_t& v) {
        if (Left() < 4) return false;
        v = Byte(0) | (Byte(1) << 8) | (Byte(2) << 16) | (static_cast<uint32_t>(Byte(3)) << 24);
        pos_ += 4;
        return true;
    }
    bool Bytes(std::string& out, std::size_t n) {
        if (Left() < n) return false;
        out.assign(bytes_, pos_, n);
        pos_ += n;
        return true;
    }
    void Seek(std::size_t pos) { pos_ = pos; }

private:
    std::size_t Left() const { return bytes_.size() - pos_; }
    uint32_t Byte(std::size_t k) const { return static_cast<unsigned char>(bytes_[pos_ + k]); }
    const std::string& bytes_;
    std::size_t pos_ = 0;
};

} // namespace

void YScoreTable::LoadScores(const char* file) {
    fileName = file ? file : "";
    std::string bytes;
    switch (plat::ReadFile(fileName, bytes, SCORE_FILE_MAX, false)) {
        case plat::ReadStatus::Ok: break;
        case plat::ReadStatus::Missing: return; // the first named result creates it
        case plat::ReadStatus::TooLarge:
            LogPrintf(g_Log, "Score file %s is larger than a score table can be; starting a new table",
                      fileName.c_str());
            entries.clear();
            newIndex = -1;
            return;
        case plat::ReadStatus::Error:
            LogPrintf(g_Log, "Score file %s cannot be read; starting a new table", fileName.c_str());
            entries.clear();
            newIndex = -1;
            return;
    }
    if (!Deserialize(bytes)) {
        LogPrintf(g_Log, "Score file %s is damaged or not a score file; starting a new table", fileName.c_str());
    }
}

bool YScoreTable::SaveScores() {
    if (fileName.empty()) return false;
    if (!plat::WriteFileAtomic(fileName, Serialize())) {
        LogPrintf(g_Log, "Score file %s could not be written; the old file is kept", fileName.c_str());
        return false;
    }
    return true;
}

bool YScoreTable::Insert(uint32_t score) {
    YScoreEntry entry;
    entry.score = static_cast<int32_t>(score);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (static_cast<uint32_t>(entries[i].score) < score) {
            entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(i), entry);
            newIndex = static_cast<int>(i);
            if (static_cast<int>(entries.size()) > capacity) entries.pop_back();
            return true;
        }
    }
    if (static_cast<int>(entries.size()) < capacity) {
        entries.push_back(entry);
        newIndex = static_cast<int>(entries.size()) - 1;
        return true;
    }
    newIndex = -1;
    return false;
}

bool YScoreTable::SetName(const std::string& name) {
    if (newIndex < 0) return true;
    if (newIndex < static_cast<int>(entries.size())) {
        // The file holds at most SCORE_NAME_MAX bytes of a name; longer ones are cut here so that the
        // table in memory and the one read back agree.
        entries[static_cast<std::size_t>(newIndex)].name = name.substr(0, SCORE_NAME_MAX);
    }
    newIndex = -1;
    return SaveScores();
}

std::string YScoreTable::Serialize() const {
    std::string out(header, HEADER_SIZE);
    PutU32(out, static_cast<uint32_t>(entries.size()));
    for (const YScoreEntry& e : entries) {
        std::size_t n = std::min(e.name.size(), SCORE_NAME_MAX);
        PutU16(out, static_cast<uint16_t>(n));
        out.append(e.name, 0, n);
        PutU32(out, static_cast<uint32_t>(e.score));
    }
    Obscure(out);
    return out;
}

bool YScoreTable::Deserialize(const std::string& bytes) {
    entries.clear();
    newIndex = -1;
    if (bytes.size() < HEADER_SIZE + 4 || std::memcmp(bytes.data(), "HSRK", 4) != 0) return false;
    std::string plain = bytes;
    Obscure(plain);
    Cursor in(plain);
    in.Seek(HEADER_SIZE);
    uint32_t count = 0;
    in.U32(count);
    uint32_t n = std::min(count, static_cast<uint32_t>(capacity));
    std::vector<YScoreEntry> read;
    for (uint32_t i = 0; i < n; ++i) {
        YScoreEntry e;
        uint16_t length = 0;
        uint32_t score = 0;
        if (!in.U16(length) || length > SCORE_NAME_MAX || !in.Bytes(e.name, length) || !in.U32(score)) return false;
        e.score = static_cast<int32_t>(score);
        read.push_back(std::move(e));
    }
    std::memcpy(header, bytes.data(), HEADER_SIZE);
    entries = std::move(read);
    return true;
}

YScoreTable& GetScoreTable() {
    static YScoreTable table;
    return table;
}
