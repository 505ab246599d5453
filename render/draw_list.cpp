#include "render/draw_list.h"

#include <algorithm>
#include <utility>

#include "render/camera.h"

namespace {

constexpr int kInitialCapacity = 100;

} // namespace

YDrawQueue::YDrawQueue(Order order) : order_(order) { Reserve(kInitialCapacity); }

YDrawQueue::~YDrawQueue() { delete[] entries_; }

void YDrawQueue::Reserve(int newCapacity) {
    newCapacity = std::max(newCapacity, count_ + 2);
    auto* grown = new YDrawQueueEntry[newCapacity + 1];
    if (entries_) {
        std::copy(entries_, entries_ + count_ + 1, grown);
        delete[] entries_;
    }
    entries_ = grown;
    capacity_ = newCapacity;
}

void YDrawQueue::Push(void* item, const YVector* pos, YDrawObj* drawer) {
    const YVector eye = g_Camera.Position();
    const float dx = pos->x - eye.x, dy = pos->y - eye.y, dz = pos->z - eye.z;
    PushKey(item, dx * dx + dy * dy + dz * dz, drawer);
}

void YDrawQueue::PushKey(void* item, float key, YDrawObj* drawer) {
    if (count_ >= capacity_ - 1) Reserve(capacity_ + capacity_ / 2);
    int i = ++count_;
    entries_[i] = YDrawQueueEntry{item, key, drawer};
    while (i > 1 && Above(entries_[i].key, entries_[i / 2].key)) {
        std::swap(entries_[i], entries_[i / 2]);
        i /= 2;
    }
}

void YDrawQueue::Drain() {
    YDrawObj* last = nullptr;
    while (count_ != 0) {
        const YDrawQueueEntry top = entries_[1];
        entries_[1] = entries_[count_];
        --count_;
        int i = 1;
        while (2 * i <= count_) {
            int child = 2 * i;
            if (child + 1 <= count_ && Above(entries_[child + 1].key, entries_[child].key)) ++child;
            if (!Above(entries_[child].key, entries_[i].key)) break;
            std::swap(entries_[i], entries_[child]);
            i = child;
        }
        // Drawn from a copy: the drawer may push, and a push may move the array.
        if (last && last != top.drawer) last->Flush();
        last = top.drawer;
        top.drawer->Draw(top.item);
    }
    if (last) last->Flush();
}

YDrawQueue& BlendedDrawQueue() {
    static YDrawQueue queue(YDrawQueue::FarthestFirst);
    return queue;
}

YDrawQueue& OpaqueDrawQueue() {
    static YDrawQueue queue(YDrawQueue::NearestFirst);
    return queue;
}

void QueueBlendedDraw(void* item, const YVector* pos, YDrawObj* drawer) { BlendedDrawQueue().Push(item, pos, drawer); }

void QueueOpaqueDraw(void* item, const YVector* pos, YDrawObj* drawer) { OpaqueDrawQueue().Push(item, pos, drawer); }

void DrawOpaqueQueue() { OpaqueDrawQueue().Drain(); }

void DrawBlendedQueue() { BlendedDrawQueue().Drain(); }
