#pragma once
// Depth-ordered drawing. Objects that must be composed in order are not drawn when the scene is
// walked: they are queued with the item, its position and the drawer that knows how to draw it.
// After the walk the frame empties the opaque queue nearest first, then the blended queue
// farthest first, so transparent things land back to front over everything solid.
//
// Each queue is a binary heap (1-based) keyed by the squared distance from the camera's eye at
// the time of the push. Pushing and popping are logarithmic and allocate only when the array
// grows by half; the arrays never shrink.
#include "math/vector.h"

// A drawer: one per kind of item (mesh drawable, particle, block face, ...). Drawers are global
// or function-local statics; the item pointer is whatever the drawer expects.
class YDrawObj {
public:
    virtual void Draw(void* item) = 0;
    // A drawer may gather consecutive items into one draw: the queue calls Flush when the next
    // item has another drawer and when it is empty, so gathered items keep their place in the
    // order.
    virtual void Flush() {}

protected:
    ~YDrawObj() = default;
};

struct YDrawQueueEntry {
    void* item;
    float key; // squared distance from the camera's eye
    YDrawObj* drawer;
};

class YDrawQueue {
public:
    enum Order {
        FarthestFirst, // largest key on top: the blended queue
        NearestFirst,  // smallest key on top: the opaque queue
    };

    explicit YDrawQueue(Order order);
    ~YDrawQueue();
    YDrawQueue(const YDrawQueue&) = delete;
    YDrawQueue& operator=(const YDrawQueue&) = delete;

    // Queues the item keyed by its squared distance from the camera's eye now.
    void Push(void* item, const YVector* pos, YDrawObj* drawer);
    // Pops every entry in order and has its drawer draw it. Entries that drawers push meanwhile
    // are drawn before this returns. A drawer is flushed before another drawer's item and at the
    // end.
    void Drain();

    // Sets the capacity and moves the queued entries to a new array. The capacity never drops
    // below the queued count plus two, so the next push always has room.
    void Reserve(int newCapacity);

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }

private:
    void PushKey(void* item, float key, YDrawObj* drawer);
    // Whether key a belongs above key b in the heap; equal keys do not.
    bool Above(float a, float b) const { return order_ == FarthestFirst ? a > b : a < b; }

    Order order_;
    int count_ = 0;
    int capacity_ = 0;
    YDrawQueueEntry* entries_ = nullptr; // capacity_ + 1 entries, used from index 1
};

// The two queues of the frame.
YDrawQueue& BlendedDrawQueue();
YDrawQueue& OpaqueDrawQueue();

void QueueBlendedDraw(void* item, const YVector* pos, YDrawObj* drawer);
void QueueOpaqueDraw(void* item, const YVector* pos, YDrawObj* drawer);
// Nearest first.
void DrawOpaqueQueue();
// Farthest first.
void DrawBlendedQueue();
