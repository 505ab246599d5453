#include "world/racket/racket_tacked.h"

#include <algorithm>

#include "world/racket/falling_bonus_link.h"
#include "world/racket/racket.h"

namespace {

std::vector<YRacketTacked*>& List() {
    static std::vector<YRacketTacked*> list;
    return list;
}

} // namespace

YRacketTacked::YRacketTacked() { List().push_back(this); }

YRacketTacked::~YRacketTacked() {
    std::vector<YRacketTacked*>& list = List();
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end()) {
        *it = list.back();
        list.pop_back();
    }
    if (g_Racket && g_Racket->held == this) g_Racket->held = nullptr;
}

void YRacketTacked::Release(bool byPlayer) { releaseCooldown = 0.5f; }

void YRacketTacked::Update(float dt) {
    if (releaseCooldown > 0.0f) releaseCooldown -= dt;
}

const std::vector<YRacketTacked*>& TackedList() { return List(); }

void DeleteAllTacked() {
    std::vector<YRacketTacked*>& list = List();
    while (!list.empty()) delete list.back();
    FallingBonusLink().deleteAll();
}
