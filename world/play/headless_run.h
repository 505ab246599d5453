#pragma once
// A level played with no window and no sound device: the world steps as in a game frame, the
// racket serves, walks and throws from its input (a recorded script, or a source that decides each
// frame as it goes, such as the autopilot), and the run reports how it ended and a hash of the
// final state. The same input on the same level gives the same hash.
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

// One frame of input: where the mouse points along the track (-1..1; NaN: it did not move),
// whether the button (or Space) was pressed, and how far the wheel (or the Up and Down keys) turned
// the launch elevation, in degrees.
struct YPlayFrame {
    float target;
    bool click;
    float aim = 0.0f;
};

struct YPlayScript {
    uint32_t seed = 1;              // seeds the game's random generators before the level loads
    float dt = 0.02f;               // seconds per frame
    std::vector<YPlayFrame> frames; // frames past the end have no input
};

enum class YPlayResult { Running, LevelComplete, GameOver, LevelRefused };

// A block is hard when its material takes at least this much damage before it breaks (one and a
// half times the default block's): brick, stone, marble, rubber and the heavier specials.
constexpr float HARD_BLOCK_HEALTH = 300.0f;

struct YPlayOutcome {
    YPlayResult result = YPlayResult::Running;
    int frames = 0; // frames played
    int score = 0;
    int lives = 0;
    int blocksLeft = 0; // blocks and cells with health above 0 at the last count
    int ballsLost = 0;
    int bonusesCaught = 0; // falling bonuses the hero caught in play
    uint64_t hash = 0;     // of the final state: racket, held-capable objects, blocks
    int blocksAtStart = 0; // blocks and cells to break, counted after the first frame
    int hardLeft = 0;      // of blocksLeft, those of a hard material (HARD_BLOCK_HEALTH)
    // The frame by whose end nine tenths of blocksAtStart were broken (blocks left <= a tenth);
    // -1 when that was never reached.
    int ninetyPercentFrame = -1;
    // The level was completed while blocks still stood: a caught Next bonus ended it.
    bool endedByNext = false;
};

class YRacket;

// Where a run's input comes from, frame by frame.
class YPlayInput {
public:
    virtual ~YPlayInput() = default;
    // The input of frame `frame` (0 first), asked before the frame is stepped; the racket and the
    // world stand as the last frame left them.
    virtual YPlayFrame Frame(int frame, const YRacket& racket) = 0;
};

// Plays at most frameCount frames of `levelPath` ("levels\x.lev" style, or any path the loader
// takes) with the game's generators seeded by `seed` and `dt` seconds a frame; stops at the first
// level-complete or game-over event.
YPlayOutcome RunHeadless(const std::string& levelPath, YPlayInput& input, int frameCount, uint32_t seed,
                         float dt = 0.02f);
// The same with the frames of a script (its seed and frame time).
YPlayOutcome RunHeadless(const std::string& levelPath, const YPlayScript& script, int frameCount);

// A script of frameCount frames drawn from seed: the mouse moves to a new place every 0.2 to 1 s
// and clicks now and then.
YPlayScript MakeSeededScript(uint32_t seed, int frameCount);

const char* PlayResultName(YPlayResult result);
