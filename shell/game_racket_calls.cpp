// The racket's entry operations as the state machine and the input handlers reach them.
#include "shell/game_framework.h"
#include "world/racket/racket.h"

int GameFramework::RacketLives() { return 0; }
int GameFramework::RacketLevelIndex() { return levelIndex_; }
void GameFramework::SetRacketLevelIndex(int index) { levelIndex_ = index; }
int GameFramework::RacketScore() { return g_Racket ? g_Racket->score : 0; }
int GameFramework::Score() const { return g_Racket ? g_Racket->score : 0; }
int GameFramework::LevelIndex() const { return levelIndex_; }
void GameFramework::SetLevelIndex(int index) { levelIndex_ = index; }
void GameFramework::RacketNewGame() {}
void GameFramework::RacketContinueGame() {}
void GameFramework::RacketNewRound() {}
void GameFramework::RacketPrepareLevel() {}
void GameFramework::RacketPark() {}
void GameFramework::RacketResetScore() {}
float GameFramework::RacketMoveTo(float target) { return target; }
float GameFramework::RacketMoveStep(int) { return 0.0f; }
void GameFramework::RacketAdjustAim(float) {}
void GameFramework::RacketRelease() {
    if (g_Racket) g_Racket->ReleaseTacked(true);
}
