#pragma once
// The information pages: the bonus pages (one layout filled anew for each page of six bonuses,
// some records never shown) and the about page's version text.
class UILayout;
class YGameShellHost;

// The version the about page shows.
inline constexpr char GAME_VERSION_TEXT[] = "v1.73";

// Whether bonus record `index` is left out of the information pages.
bool IsHiddenBonusRecord(int index);

class InfoPages {
public:
    explicit InfoPages(YGameShellHost& host);

    // Fills the six rows of the bonuses page for bonusPage.
    void FillBonusPage();
    // Whether "next" on the current page goes on to the bricks page.
    bool OnLastBonusPage() const;

    int bonusPage = 0;

private:
    YGameShellHost& host_;
};

// The about page's "version" text := GAME_VERSION_TEXT.
void SetAboutVersion(UILayout* about);
