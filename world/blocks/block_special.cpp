#include "world/blocks/block_special.h"

#include <deque>

namespace {
// A deque keeps the records where they are as kinds are added, so materials may hold pointers.
std::deque<YBlockSpecialKind>& Kinds() {
    static std::deque<YBlockSpecialKind> kinds;
    return kinds;
}
std::vector<YBlockSpecialKind>& KindCopies() {
    static std::vector<YBlockSpecialKind> copies;
    return copies;
}
} // namespace

const std::vector<YBlockSpecialKind>& BlockSpecialKinds() { return KindCopies(); }

void RegisterBlockSpecialKind(const std::string& name, YBlockSpecial* (*create)()) {
    for (YBlockSpecialKind& kind : Kinds()) {
        if (kind.name == name) {
            kind.create = create;
            KindCopies().clear();
            KindCopies().assign(Kinds().begin(), Kinds().end());
            return;
        }
    }
    Kinds().push_back({create, name});
    KindCopies().push_back({create, name});
}

const YBlockSpecialKind* FindBlockSpecialKind(const std::string& name) {
    if (name.empty()) return nullptr;
    for (const YBlockSpecialKind& kind : Kinds()) {
        if (kind.name == name) return &kind;
    }
    return nullptr;
}
