// The racket's entry operations as the state machine, the input handlers and the menus reach them.
#include "shell/game_framework.h"
#include "world/racket/racket.h"

int GameFramework::RacketLives() { return racket_->lives; }
int GameFramework::RacketLevelIndex() { return racket_->levelIndex; }
void GameFramework::SetRacketLevelIndex(int index) { racket_->SetLevelIndex(index); }
int GameFramework::RacketScore() { return racket_->score; }
void GameFramework::RacketNewGame() { racket_->NewGame(); }
void GameFramework::RacketContinueGame() { racket_->ContinueGame(); }
void GameFramework::RacketNewRound() { racket_->NewRound(); }
void GameFramework::RacketPrepareLevel() { racket_->PrepareLevel(); }
void GameFramework::RacketPark() { racket_->Park(); }
void GameFramework::RacketResetScore() { racket_->ResetScore(); }
float GameFramework::RacketMoveTo(float target) { return racket_->MoveTo(target); }
float GameFramework::RacketMoveStep(int direction) { return racket_->MoveStep(static_cast<float>(direction)); }
void GameFramework::RacketAdjustAim(float degrees) { racket_->AdjustAimAngle(degrees); }
void GameFramework::RacketRelease() { racket_->ReleaseTacked(true); }
