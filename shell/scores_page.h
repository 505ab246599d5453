#pragma once
// The scores page: seven rows of name and score (children 2 + 2i and 3 + 2i of the page), and the
// name edit "winnername" that opens over a new entry's name cell after a game.
class Init;
class MenuHost;
class UILayout;
class YScoreTable;

class ScoresPage {
public:
    ScoresPage(MenuHost& host, Init& config, YScoreTable& table);

    // The page the rows are written to (the framework's scores page).
    void SetPage(UILayout* page) { page_ = page; }
    // The table into the rows; empty rows blank; the name edit hidden.
    void FillScoresPage();
    // Offers the racket's score; opens the name edit when it entered. Not entered: the page when
    // showTable, else back to the main menu.
    void CheckScore(bool showTable);
    // The edit's text names the new entry; "scores.dat" and "config.yml" are written.
    void CommitWinnerName();

private:
    MenuHost& host_;
    Init& config_;
    YScoreTable& table_;
    UILayout* page_ = nullptr;
};
