#pragma once
// The game framework as the menus see it (MenuHost).
#include "shell/menu_host.h"

class GameFramework;
class YScoreTable;

// The game's score table, read from "scores.dat".
YScoreTable& LoadGameScores();

// The bonus records as the information pages list them: every record of the bonus
// configuration in kind order, with its display text in the current language. An index outside
// the list reads a default record.
int GameBonusRecordCount();
BonusInfoRecord GameBonusRecord(int index);

class GameMenuLink : public MenuHost {
public:
    explicit GameMenuLink(GameFramework& game) : game_(game) {}

    void ShowPage(UILayout* page) override;
    void RequestState(int state) override;
    int GameState() const override;
    void Resume() override;
    void LoadPages() override;
    void RecreateWindow() override;
    void SetMusicVolume(float volume) override;
    void SetSoundVolume(float volume) override;
    uint32_t RacketScore() const override;
    int RacketLevelIndex() const override;
    void SetRacketLevelIndex(int index) override;
    std::vector<YVideoMode> DisplaySizes() const override;
    int BonusRecordCount() const override;
    BonusInfoRecord BonusRecord(int index) const override;

private:
    GameFramework& game_;
};
