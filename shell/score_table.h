#pragma once
// The high-score table: the seven best results with the players' names, best first, kept in
// "scores.dat". The table compares scores as unsigned numbers; a new score equal to existing ones
// goes below them.
//
// "scores.dat", little-endian:
//   0  4  "HSRK"                      plain
//   4  4  u32 version (1)             plain
//   8  4  u32 count                   from here on every byte is XORed with "PLOVERKIT"
//   12 .. count x { u16 name length, name bytes, i32 score }
// The magic and version read are kept and written back as read. The file is written whole to a
// temporary file and renamed over the old one, so a crash never leaves a broken table.
#include <cstdint>
#include <string>
#include <vector>

struct YScoreEntry {
    std::string name; // 8-bit code page bytes; empty until named
    int32_t score = 0;
};

class YScoreTable {
public:
    // Longest name the file may hold; a longer one marks the file as damaged.
    static constexpr std::size_t SCORE_NAME_MAX = 255;

    YScoreTable() = default;

    // Replaces the entries with those of `file` and remembers the file for SaveScores. A missing
    // file keeps the entries; a damaged or foreign file is refused with a log line and leaves the
    // table empty.
    void LoadScores(const char* file);
    // Writes the table to the remembered file atomically. False (logged, the old file kept) when
    // it cannot be written; false without a file name.
    bool SaveScores();
    // Offers a score: true when it entered (newIndex is its place), else false (newIndex -1).
    bool Insert(uint32_t score);
    // Names the entry at newIndex and saves; nothing when newIndex < 0. newIndex := -1.
    // The result of the save; true when there was nothing to name.
    bool SetName(const std::string& name);

    // The file bytes of the table as SaveScores writes them.
    std::string Serialize() const;
    // Reads file bytes; false when they are damaged (the table is then empty).
    bool Deserialize(const std::string& bytes);

    std::string fileName;
    std::vector<YScoreEntry> entries;
    int capacity = 7;
    int newIndex = -1;
    char header[8] = {'H', 'S', 'R', 'K', 1, 0, 0, 0};
};

// The one table of the game.
YScoreTable& GetScoreTable();
