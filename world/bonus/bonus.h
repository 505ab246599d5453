#pragma once
// A falling bonus: a small physics sphere carrying a YBonusType. It falls and
// rolls over the table, swells a little while it falls (in game modes that say
// so), and is caught when it comes into the racket's catch zone: in play the
// catch scores, applies the effect, sounds and shows a HUD caption; outside
// play the bonus just goes. A bonus that leaves the table is lost, with a small
// burst. The racket updates every bonus once per frame.
#include <string>
#include <vector>

#include "core/color.h"
#include "math/matrix.h"
#include "math/vector.h"
#include "world/physics/bump_event.h"
#include "world/physics/rigid_body.h"
#include "world/physics/zdelete.h"

class YBonusType;

// How far a bonus swells while it falls (swellBonuses): +0.25 of its radius per
// second up to 1.25.
constexpr float BONUS_SWELL_RATE = 0.25f;
constexpr float BONUS_SWELL_MAX = 1.25f;

class YBonus : public YZDelete, public YBumpEvent {
public:
    // Takes `type` over; the sphere's kind follows the game mode's bonusMode (0:
    // ordinary, 1: passes through all but balls, 2: rolls to the racket over
    // floor and walls only). Joins the list.
    YBonus(YBonusType* type, const YMatrix& at, const YVector& velocity);
    // Leaves the list; a bonus that was not caught shows its loss burst (with
    // block effects on).
    ~YBonus() override;

    // Once per frame: swell, the sphere's motion, the drawn disk, then the catch
    // or the play-area test.
    virtual void Update(float dt);

    // YBumpEvent: a touch of the back wall (static, normal y above 0.9) wears the
    // racket's shield.
    void OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                   const YVector* position, const YVector* normal, float depth) override;
    void SetMatrix(const YMatrix* matrix) override;
    YMatrix* GetMatrix(YMatrix* result) override;

    YBonusType* type; // owned
    YRigidBall body;
    bool caught = false;
    float baseRadius;
    float scale = 1.0f;
};

// Every live bonus, in creation order except that a deleted bonus's place goes
// to the last one.
const std::vector<YBonus*>& BonusList();
// Update of every bonus (walked by index, so a bonus made meanwhile is updated
// too).
void UpdateBonuses(float dt);
// Deletes every bonus at once.
void DeleteAllBonuses();
// How many bonuses have been caught in play since the program started (a run counts its own
// catches as the difference).
int BonusesCaught();

// The HUD caption of a catch in play ("<text>: +<points>" in the kind's
// colour), connected by the world set-up.
extern void (*g_BonusCaptionHook)(const std::string& text, const YColor& colour);
