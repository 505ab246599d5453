#pragma once
// The options page: language, screen size, volumes and tips, copied from the configuration into
// the page's controls and back. A new screen size re-creates the window, a new language reloads
// every page once the apply command has returned. The volumes act at once through their
// trackers' commands.
#include <vector>

#include "core/video_mode.h"

class Init;
class YGameShellHost;
class YLocale;

class OptionsPage {
public:
    OptionsPage(YGameShellHost& host, Init& config);

    // Configuration to controls.
    void FillOptionsPage();
    // Controls to configuration, with the consequences. A new language is only asked for: the
    // pages, this one among them, are rebuilt after the call has returned. Does not save
    // "config.yml".
    void ApplyOptions();
    // Fills "language" with the language folders' names looked up in the locale, then lays the
    // page out. Called while the pages are loaded.
    void FillLanguageSelect(const YLocale& locale);

    // The sizes listed the last time the page was filled.
    const std::vector<YVideoMode>& Sizes() const { return sizes_; }

private:
    YGameShellHost& host_;
    Init& config_;
    std::vector<YVideoMode> sizes_;
};
