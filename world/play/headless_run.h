#pragma once
// A level played with no window and no sound device: the world steps as in a game frame, the
// racket serves, walks and throws from a recorded input script, and the run reports how it ended
// and a hash of the final state. The same script on the same level gives the same hash.
//
// The caller provides what a game start would: the world set up (world/play/world_setup.h), the
// bonus records and block materials loaded, the physics started. The
// run makes a table when there is none, its own racket (there must be none), loads the level,
// starts a new game and, at the end, deletes every block and held object again.
#include <cstdint>
#include <string>
#include <vector>

#include "world/racket/game_event.h"

// Records the racket's play events a run stops at: game over and level complete.
class YPlayEndListener : public YGameEvent {
public:
    void OnGameOver() override { gameOver = true; }
    void OnLevelComplete() override { levelComplete = true; }
    void OnServe() override {}
    void OnRacketHits(int) override {}

    bool gameOver = false;
    bool levelComplete = false;
};

// One frame of input: where the mouse points along the track (-1..1; NaN: it did not move) and
// whether the button (or Space) was pressed.
struct YPlayFrame {
    float target;
    bool click;
};

struct YPlayScript {
    uint32_t seed = 1;              // seeds the game's random generators before the level loads
    float dt = 0.02f;               // seconds per frame
    std::vector<YPlayFrame> frames; // frames past the end have no input
};

enum class YPlayResult { Running, LevelComplete, GameOver, LevelRefused };

struct YPlayOutcome {
    YPlayResult result = YPlayResult::Running;
    int frames = 0; // frames played
    int score = 0;
    int lives = 0;
    int blocksLeft = 0; // blocks and cells with health above 0 at the last count
    int ballsLost = 0;
    uint64_t hash = 0; // of the final state: racket, held-capable objects, blocks
};

// Plays at most frameCount frames of `levelPath` ("levels\x.lev" style, or any path the loader
// takes); stops at the first level-complete or game-over event.
YPlayOutcome RunHeadless(const std::string& levelPath, const YPlayScript& script, int frameCount);

// A script of frameCount frames drawn from seed: the mouse moves to a new place every 0.2 to 1 s
// and clicks now and then.
YPlayScript MakeSeededScript(uint32_t seed, int frameCount);

const char* PlayResultName(YPlayResult result);
