#include "support/scratch_game.h"

#include <stdlib.h>

#include <fstream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace benchgame {

ScratchGame::ScratchGame(const char* config) {
    char pattern[] = "/tmp/korvelin_bench_XXXXXX";
    if (!mkdtemp(pattern)) return;
    root_ = pattern;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(KORVELIN_GAME_DIR, ec)) {
        const std::string name = e.path().filename().string();
        if (name == "config.yml" || name == "log.txt" || name == "korvelin") continue;
        fs::create_directory_symlink(e.path(), root_ / name, ec);
        if (ec) fs::create_symlink(e.path(), root_ / name, ec);
    }
    std::ofstream(root_ / "config.yml") << config;
}

void ScratchGame::Enter() {
    previous_ = fs::current_path();
    fs::current_path(root_);
}

void ScratchGame::Leave() {
    if (previous_.empty()) return;
    std::error_code ec;
    fs::current_path(previous_, ec);
    previous_.clear();
}

ScratchGame::~ScratchGame() {
    std::error_code ec;
    if (!root_.empty()) fs::remove_all(root_, ec);
}

} // namespace benchgame
