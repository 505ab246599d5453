// Feeds arbitrary bytes, as "scores.dat", through the score table's reader; whatever it accepts
// must be a sound table that writes and reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_scratch.h"
#include "shell/score_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static FuzzScratch scratch("score_file");
    std::string path = scratch.Write("scores.dat", data, size);
    YScoreTable table;
    table.LoadScores(path.c_str());
    if (table.entries.size() > static_cast<std::size_t>(table.capacity)) std::abort();
    for (const YScoreEntry& e : table.entries) {
        if (e.name.size() > YScoreTable::SCORE_NAME_MAX) std::abort();
    }
    // What was read survives a write and a read.
    YScoreTable again;
    if (!again.Deserialize(table.Serialize())) std::abort();
    if (again.entries.size() != table.entries.size()) std::abort();
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
        if (again.entries[i].name != table.entries[i].name || again.entries[i].score != table.entries[i].score) {
            std::abort();
        }
    }
    // A new score always finds its rule: in, or out with no place.
    bool entered = table.Insert(static_cast<uint32_t>(size) * 2654435761u);
    if (entered != (table.newIndex >= 0)) std::abort();
    return 0;
}
