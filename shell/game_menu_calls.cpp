// The level picker and the score pages as the state machine and the input handlers reach them.
#include "shell/game_framework.h"

void GameFramework::EnterLevelChoice() { menus_.levelChoice.EnterLevelChoice(); }
void GameFramework::CheckScore(bool afterGame) { menus_.scoresPage.CheckScore(afterGame); }
void GameFramework::SelectLevel(int index) { menus_.levelChoice.SelectLevel(index); }
void GameFramework::StartSelectedLevel() { menus_.levelChoice.StartSelectedLevel(); }
void GameFramework::ClickLevelThumbnail() { menus_.levelChoice.ClickLevelThumbnail(); }
