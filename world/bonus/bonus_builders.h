#pragma once
// The three kinds of bonus builder. A builder belongs to the block item that
// carries the bonus; Draw (the block's per-frame preview, for blocks one can
// see into) shows the bonus inside the block, Run makes it when the block is
// destroyed on the table.
#include "math/matrix.h"
#include "math/vector.h"
#include "world/blocks/bonus_builder.h"

class YBallMode;
class YBonusType;

// Makes the falling bonus of one kind.
class YBonusBuilderGive : public YBonusBuilder {
public:
    using Factory = YBonusType* (*)();
    explicit YBonusBuilderGive(Factory factory_) : factory(factory_) {}
    ~YBonusBuilderGive() override;

    // The disk, facing the camera, at the block's place; no shadow.
    void Draw(const YMatrix* world) override;
    // A falling bonus from there, with the block's velocity (straight towards the
    // racket, at 1 unit per second, in game modes whose bonuses roll); the type
    // goes to the bonus.
    void Run(const YMatrix* world, const YVector* velocity) override;

    // The type, made when first needed.
    YBonusType* Type();

    Factory factory;
    YBonusType* type = nullptr; // owned until Run
};

// Puts one new ball of a mode into play.
class YBonusBuilderBall : public YBonusBuilder {
public:
    explicit YBonusBuilderBall(int modeIndex_) : modeIndex(modeIndex_) {}
    ~YBonusBuilderBall() override;

    // The ball's look at the block's place; no shadow.
    void Draw(const YMatrix* world) override;
    // A new ball of the mode there, with the bonus's ball-mode time; the velocity
    // is not used.
    void Run(const YMatrix* world, const YVector* velocity) override;

    int modeIndex;
    YBallMode* mode = nullptr; // owned until Run
};

// Puts four small balls into play around the block's place (FourBallOffsets).
class YBonusFourBallSmall : public YBonusBuilder {
public:
    ~YBonusFourBallSmall() override;

    void Draw(const YMatrix* world) override;
    // Four balls at the offsets: new ones when nothing was shown, else around the
    // shown looks with no mode time limit.
    void Run(const YMatrix* world, const YVector* velocity) override;

    YBallMode* modes[4] = {nullptr, nullptr, nullptr, nullptr}; // owned until Run
};

// The four small balls' places around the centre: one above, three below at 120
// degrees apart.
const YVector* FourBallOffsets();
