#include "shell/scores_page.h"

#include <cstdio>

#include "core/init.h"
#include "shell/menu_host.h"
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

ScoresPage::ScoresPage(MenuHost& host, Init& config, YScoreTable& table)
    : host_(host), config_(config), table_(table) {}

void ScoresPage::FillScoresPage() {
    int count = static_cast<int>(table_.entries.size());
    for (int i = 0; i < table_.capacity; ++i) {
        UINamedText* name = NameCell(page_, i);
        UINamedText* score = ScoreCell(page_, i);
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
    if (UIEdit* edit = NameEdit(page_)) edit->Hide();
}

void ScoresPage::CheckScore(bool showTable) {
    table_.Insert(host_.RacketScore());
    FillScoresPage();
    if (table_.newIndex >= 0) {
        UIEdit* edit = NameEdit(page_);
        UINamedText* cell = NameCell(page_, table_.newIndex);
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
        host_.ShowPage(page_);
    } else if (showTable) {
        host_.ShowPage(page_);
    } else {
        host_.RequestState(gamestate::MAIN_MENU);
    }
}

void ScoresPage::CommitWinnerName() {
    UIEdit* edit = NameEdit(page_);
    if (table_.newIndex < 0 || !edit || !edit->visible) return;
    UINamedText* cell = NameCell(page_, table_.newIndex);
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
