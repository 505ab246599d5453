#include "shell/ui/ui_layout_registry.h"

#include "core/game_mode.h"

namespace {

std::vector<UILayoutSlot>& Registry() {
    static std::vector<UILayoutSlot> slots;
    return slots;
}

} // namespace

UILayout* GetLayoutSlot(const std::string& name) {
    std::vector<UILayoutSlot>& slots = Registry();
    for (UILayoutSlot& s : slots)
        if (s.name == name) return s.layout.get();
    slots.push_back({name, std::make_unique<UILayout>()});
    return slots.back().layout.get();
}

UILayout* FindLayout(const std::string& pageFile) { return GetLayoutSlot(pageFile); }

const std::vector<UILayoutSlot>& LayoutRegistry() { return Registry(); }

void InstallLayoutRegistryHooks() {
    GameModeHooks().registerTipPage = [](const std::string& pageFile) { FindLayout(pageFile); };
}
