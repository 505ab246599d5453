#pragma once
// The information pages: the bonus pages (one layout filled anew for each page of six bonuses,
// some records never shown) and the about page's version text.
class MenuHost;
class UILayout;

// The version the about page shows.
inline constexpr char GAME_VERSION_TEXT[] = "v1.73";

// Whether bonus record `index` is left out of the information pages.
bool IsHiddenBonusRecord(int index);

class InfoPages {
public:
    explicit InfoPages(MenuHost& host);

    void SetBonusPage(UILayout* page) { page_ = page; }
    // Fills the six rows for bonusPage.
    void FillBonusPage();
    // Whether "next" on the current page goes on to the bricks page.
    bool OnLastBonusPage() const;

    int bonusPage = 0;

private:
    MenuHost& host_;
    UILayout* page_ = nullptr;
};

// The about page's "version" text := GAME_VERSION_TEXT.
void SetAboutVersion(UILayout* about);
