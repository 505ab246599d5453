#pragma once
// The registry of extra pages that data files name (the tip pages of the game modes): one page
// per file name, made empty on the first request and loaded with the language's pages. Entries
// are never removed and keep the order of their first request; the pages live until the process
// ends.
#include <memory>
#include <string>
#include <vector>

#include "shell/ui/ui_layout.h"

struct UILayoutSlot {
    std::string name; // file name relative to the language folder, exactly as the data gave it
    std::unique_ptr<UILayout> layout;
};

// The page registered under exactly this name (case matters); a new empty page registered under
// it when there is none. Never null.
UILayout* GetLayoutSlot(const std::string& name);
// The same; the name the game modes and the tips rule use.
UILayout* FindLayout(const std::string& pageFile);
// Every entry, in order of first request.
const std::vector<UILayoutSlot>& LayoutRegistry();
// Has the game-mode reader register each tip page here as it reads "data\modes.yml". Call before
// the configuration is first loaded.
void InstallLayoutRegistryHooks();
