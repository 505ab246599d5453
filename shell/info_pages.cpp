#include "shell/info_pages.h"

#include <string>

#include "core/bonus_kind.h"
#include "render/shader.h"
#include "shell/game_shell_host.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_layout.h"

namespace {

constexpr int ROWS_PER_PAGE = 6;

template <class T>
T* ChildAs(UILayout* page, int index) {
    if (!page || index < 0 || index >= static_cast<int>(page->Children().size())) return nullptr;
    return dynamic_cast<T*>(page->Children()[static_cast<std::size_t>(index)]);
}

} // namespace

bool IsHiddenBonusRecord(int index) {
    if (!IsBonusKind(index)) return false;
    // The death, slumber, vivacity, frost, slip and random bonuses are left for the player to find.
    switch (BonusKindAt(index)) {
        case BonusKind::Death:
        case BonusKind::Slumber:
        case BonusKind::Vivacity:
        case BonusKind::Frost:
        case BonusKind::Slip:
        case BonusKind::Random: return true;
        default: return false;
    }
}

InfoPages::InfoPages(YGameShellHost& host) : host_(host) {}

void InfoPages::FillBonusPage() {
    UILayout* page = host_.Page(PAGE_BONUSES);
    int records = host_.BonusRecordCount();
    int p = 0;
    for (int shown = 0; shown < ROWS_PER_PAGE * bonusPage && p < records; ++p) {
        if (!IsHiddenBonusRecord(p)) ++shown;
    }
    for (int row = 0; row < ROWS_PER_PAGE; ++row) {
        while (IsHiddenBonusRecord(p)) ++p;
        UIImage* image = ChildAs<UIImage>(page, 3 * row + 1);
        UINamedText* text = ChildAs<UINamedText>(page, 3 * row + 2);
        UINamedText* score = ChildAs<UINamedText>(page, 3 * row + 3);
        if (!image || !text || !score) return;
        bool present = p < records;
        if (present) {
            BonusInfoRecord record = host_.BonusRecord(p);
            image->shader = FindShader(record.name);
            text->SetText(record.text);
            score->SetText(std::to_string(record.score));
        }
        // Straight through the flag: hover and focus stay as they are.
        image->visible = text->visible = score->visible = present;
        ++p;
    }
}

bool InfoPages::OnLastBonusPage() const { return bonusPage >= (host_.BonusRecordCount() + 5) / 6 - 2; }

void SetAboutVersion(UILayout* about) {
    if (!about) return;
    if (auto* version = dynamic_cast<UINamedText*>(about->FindChild("version"))) version->SetText(GAME_VERSION_TEXT);
}
