// The racket as the hand the balls and the held objects meet (world/balls/racket_hand.h).
#include "world/balls/ball.h"
#include "world/balls/racket_contact.h"
#include "world/physics/table_size.h"
#include "world/racket/racket.h"

bool YRacket::Holds(const YRacketTacked* object) const { return held && held == object; }

void YRacket::Forget(const YRacketTacked* object) { LetGo(object); }

void YRacket::HoldBall(YBall* ball) { ApplyBallMode(ball); }

void YRacket::MeetBall(YBall* ball, const YVector& p) {
    YVector hit, normal;
    if (!RacketContact(p, posX, posY, width, ball->mode->radius, g_TableSize.width, &hit, &normal)) return;
    ApplyBallMode(ball);
    if (ball->releaseCooldown > 0.0f || !CatchBall(ball, &normal)) KickBall(ball, &normal, &hit);
}
