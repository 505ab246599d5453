#pragma once
// The one place where the game world is connected. Inside the world, the lower parts call up into
// the parts built on them through slots they declare (the blocks into the bonus registry and the
// racket, the racket into the falling bonuses, the balls into the bonus time-outs); SetUpWorld
// fills every one of those slots. What the world calls out of itself (the HUD's captions, the
// observers of sounds and physics steps) it takes as arguments. The game, the level editor, the
// headless run, the benchmarks and the test harnesses that build a world all start here.
//
// The racket and the table are objects that come and go (g_Racket, g_Table); they register
// themselves while they live. The set-up connects the calls, not the objects.
#include <string>

struct YColor;
struct YVector;
class YSoundFx;

struct YWorldOutside {
    // Whether the program plays with a racket. The level editor has none: a destroyed block
    // scores for no one, no Next bonus drops and nothing is caught, so it needs no captions.
    bool racket = true;
    // A caught bonus announces itself ("<text>: +<points>" in the kind's colour). Required with a
    // racket.
    void (*showCaption)(const std::string& text, const YColor& colour) = nullptr;
    // The racket's serves and standing poses clear the captions. Required with a racket.
    void (*clearCaptions)() = nullptr;
    // Observers: every sound effect the world plays at a place, every physics step taken. Null:
    // nobody watches (the game); tests listen here.
    void (*soundObserver)(const YSoundFx* sound, const YVector* position) = nullptr;
    void (*stepObserver)(float step) = nullptr;
};

// Connects the world. When a required connection is missing, logs a line naming each one and
// returns false having connected nothing; the world then stops at the first call into it.
bool SetUpWorld(const YWorldOutside& outside);

// Undoes SetUpWorld: every slot is unconnected again.
void TearDownWorld();

// The connections of a run with a racket and no screen (the headless run, playrun, benchmarks):
// captions go to the log, there are none to clear, nobody observes.
YWorldOutside HeadlessWorldOutside();
