#pragma once
// The scores page: seven rows of name and score (children 2 + 2i and 3 + 2i of the page), and the
// name edit "winnername" that opens over a new entry's name cell after a game.
class Init;
class YGameShellHost;
class YScoreTable;

class ScoresPage {
public:
    // The rows are written to the host's scores page.
    ScoresPage(YGameShellHost& host, Init& config, YScoreTable& table);

    // The table into the rows; empty rows blank; the name edit hidden.
    void FillScoresPage();
    // Offers the racket's score (a negative score as 0); opens the name edit when it entered. Not entered: the page when
    // showTable, else back to the main menu.
    void CheckScore(bool showTable);
    // The edit's text names the new entry; "scores.dat" and "config.yml" are written.
    void CommitWinnerName();

private:
    YGameShellHost& host_;
    Init& config_;
    YScoreTable& table_;
};
