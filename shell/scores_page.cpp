#include "shell/scores_page.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "core/init.h"
#include "shell/game_shell_host.h"
#include "shell/score_table.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_input_widgets.h"
#include "shell/ui/ui_layout.h"

namespace {

// The page's direct child at `index` when it is a text cell, else null.
UINamedText* Cell(UILayout* page, int index) {
    if (!page || index < 0 || index >= static_cast<int>(page->Children().size())) return nullptr;
    return dynamic_cast<UINamedText*>(page->Children()[static_cast<std::size_t>(index)]);
}
UINamedText* NameCell(UILayout* page, int row) { return Cell(page, 2 + 2 * row); }
UINamedText* ScoreCell(UILayout* page, int row) { return Cell(page, 3 + 2 * row); }

UIEdit* NameEdit(UILayout* page) { return page ? dynamic_cast<UIEdit*>(page->FindChild("winnername")) : nullptr; }

} // namespace

ScoresPage::ScoresPage(YGameShellHost& host, Init& config, YScoreTable& table)
    : host_(host), config_(config), table_(table) {}

void ScoresPage::FillScoresPage() {
    UILayout* page = host_.Page(PAGE_SCORES);
    int count = static_cast<int>(table_.entries.size());
    for (int i = 0; i < table_.capacity; ++i) {
        UINamedText* name = NameCell(page, i);
        UINamedText* score = ScoreCell(page, i);
        if (i < count) {
            const YScoreEntry& e = table_.entries[static_cast<std::size_t>(i)];
            char text[16];
            std::snprintf(text, sizeof(text), "%d", static_cast<int>(e.score));
            if (name) name->SetText(e.name);
            if (score) score->SetText(text);
        } else {
            if (name) name->SetText("");
            if (score) score->SetText("");
        }
    }
    if (UIEdit* edit = NameEdit(page)) edit->Hide();
}

void ScoresPage::CheckScore(bool showTable) {
    // The table orders scores as unsigned numbers: a negative run score would top it.
    table_.Insert(static_cast<uint32_t>(std::max(host_.RacketScore(), 0)));
    FillScoresPage();
    UILayout* page = host_.Page(PAGE_SCORES);
    if (table_.newIndex >= 0) {
        UIEdit* edit = NameEdit(page);
        UINamedText* cell = NameCell(page, table_.newIndex);
        if (edit && cell) {
            const std::string& player = config_.CurrentGameMode().player;
            if (!player.empty()) edit->SetText(player);
            edit->x = cell->x;
            edit->y = cell->y;
            edit->w = cell->w;
            edit->h = cell->h;
            edit->UpdateGeometry();
            cell->Hide();
            edit->Show();
            edit->TakeFocus();
        }
        host_.ShowPage(PAGE_SCORES);
    } else if (showTable) {
        host_.ShowPage(PAGE_SCORES);
    } else {
        host_.RequestState(GS_MAIN_MENU);
    }
}

void ScoresPage::CommitWinnerName() {
    UILayout* page = host_.Page(PAGE_SCORES);
    UIEdit* edit = NameEdit(page);
    if (table_.newIndex < 0 || !edit || !edit->visible) return;
    UINamedText* cell = NameCell(page, table_.newIndex);
    if (cell) {
        std::string text = edit->GetText();
        table_.SetName(text);
        YGameMode& mode = config_.CurrentGameMode();
        mode.player = text.substr(0, YScoreTable::SCORE_NAME_MAX);
        cell->SetText(mode.player);
        config_.Save();
        edit->Hide();
        cell->Show();
    }
    table_.newIndex = -1;
}
