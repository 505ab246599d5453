#include "editor/editor_bonus_names.h"

#include "editor/editor_level.h"

const char* EditorBonusName(int kind) {
    static const char* const names[EDITOR_BONUS_KINDS] = {"Normal Ball",
                                                          "Heavy Ball",
                                                          "Through Ball",
                                                          "Fire Ball",
                                                          "Explosive Ball",
                                                          "Electro Ball",
                                                          "Generative Ball",
                                                          "Universal Ball",
                                                          "Hand Ball",
                                                          "Boomerang",
                                                          "Bomb",
                                                          "Grenades",
                                                          "Slow Ball",
                                                          "Quick Ball",
                                                          "Extra Life",
                                                          "Life Lose",
                                                          "Brake",
                                                          "Energy",
                                                          "Shield",
                                                          "Freeze",
                                                          "Ice",
                                                          "Reset",
                                                          "Random",
                                                          "Next Level",
                                                          "[Small Ball]",
                                                          "[4-Small Ball]",
                                                          "[Normal Ball]",
                                                          "[Heavy Ball]",
                                                          "[Through Ball]",
                                                          "[Fire Ball]",
                                                          "[Explosive Ball]",
                                                          "[Electro Ball]",
                                                          "[Generative Ball]",
                                                          "[Universal Ball]"};
    return kind >= 0 && kind < EDITOR_BONUS_KINDS ? names[kind] : "";
}
