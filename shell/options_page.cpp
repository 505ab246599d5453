#include "shell/options_page.h"

#include <string>

#include "core/init.h"
#include "core/locale.h"
#include "shell/game_shell_host.h"
#include "shell/ui/ui_input_widgets.h"
#include "shell/ui/ui_layout.h"

namespace {

template <class T>
T* Control(UILayout* page, const char* name) {
    return page ? dynamic_cast<T*>(page->FindChild(name)) : nullptr;
}

} // namespace

OptionsPage::OptionsPage(YGameShellHost& host, Init& config) : host_(host), config_(config) {}

void OptionsPage::FillOptionsPage() {
    UILayout* page = host_.Page(PAGE_OPTIONS);
    if (auto* language = Control<UISelect>(page, "language")) language->SetIndex(config_.languageIndex);
    if (auto* resolution = Control<UISelect>(page, "resolution")) {
        resolution->ClearOptions();
        YVideoMode current = YVideoMode::FromString(config_.videoMode.c_str());
        sizes_ = host_.DisplaySizes();
        for (std::size_t i = 0; i < sizes_.size(); ++i) {
            std::string text = std::to_string(sizes_[i].width) + "x" + std::to_string(sizes_[i].height);
            resolution->AddOption(text.c_str());
            if (sizes_[i].width == current.width && sizes_[i].height == current.height) {
                resolution->SetIndex(static_cast<int>(i));
            }
        }
        resolution->UpdateGeometry();
    }
    // The trackers fire their commands when the value changes, which sets the volumes again.
    if (auto* sound = Control<UITracker>(page, "soundVol")) sound->SetValue(config_.soundVolume);
    if (auto* music = Control<UITracker>(page, "musicVol")) music->SetValue(config_.musicVolume);
    if (auto* tips = Control<UISelect>(page, "showTips")) tips->SetIndex(config_.showTips ? 1 : 0);
}

void OptionsPage::ApplyOptions() {
    UILayout* page = host_.Page(PAGE_OPTIONS);
    if (auto* resolution = Control<UISelect>(page, "resolution")) {
        std::string size = resolution->GetText();
        // A display that listed no sizes leaves nothing to apply.
        if (!size.empty()) {
            std::string mode = size + ":32";
            // A refresh rate after the depth does not count as a change.
            if (config_.videoMode.compare(0, mode.size(), mode) != 0) {
                config_.videoMode = mode;
                host_.RecreateWindow();
            }
        }
    }
    if (auto* tips = Control<UISelect>(page, "showTips")) {
        bool on = tips->GetIndex() != 0;
        if (on != config_.showTips) config_.showTips = on;
    }
    if (auto* language = Control<UISelect>(page, "language")) {
        int index = language->GetIndex();
        if (index != config_.languageIndex) {
            config_.languageIndex = index;
            host_.RequestLoadPages();
        }
    }
}

void OptionsPage::FillLanguageSelect(const YLocale& locale) {
    UILayout* page = host_.Page(PAGE_OPTIONS);
    if (!page) return;
    if (auto* language = Control<UISelect>(page, "language")) {
        language->ClearOptions();
        for (const std::string& folder : config_.languages.GetNames()) {
            language->AddOption(locale.GetString(folder).c_str());
        }
    }
    page->Relayout();
}
