#include "platform/window/message_queue.h"

#include <algorithm>

#include "platform/window/interrupt_signals.h"

namespace plat {
namespace {

struct Queue {
    Msg items[MESSAGE_QUEUE_CAPACITY];
    std::size_t head = 0; // oldest waiting message
    std::size_t tail = 0; // one past the newest
    bool quitPosted = false;
    int quitCode = 0;
    MessageSource source = nullptr;
    void* sourceContext = nullptr;
    MessageSource replay = nullptr;
    void* replayContext = nullptr;
    MessageTap tap = nullptr;
    void* tapContext = nullptr;
};

Queue& Q() {
    static Queue q;
    return q;
}

bool IsMouseButtonOrWheel(uint32_t message) { return message >= WM_LBUTTONDOWN && message <= WM_MOUSEWHEEL; }

} // namespace

// A SIGINT or SIGTERM that arrived since the last look becomes a close request, whenever it came
// (also before any window existed).
static void TakeInterrupt() {
    if (TakeInterruptRequest()) PostMessage(WM_CLOSE, 0, 0);
}

bool PeekMessage(Msg& out) {
    Queue& q = Q();
    TakeInterrupt();
    if (q.head == q.tail) {
        if (q.replay) q.replay(q.replayContext);
        if (q.source) q.source(q.sourceContext);
    }
    if (q.head != q.tail) {
        out = q.items[q.head++];
        if (q.head == q.tail) q.head = q.tail = 0;
        if (q.tap) q.tap(q.tapContext, out);
        return true;
    }
    if (q.quitPosted) {
        q.quitPosted = false;
        out = Msg{WM_QUIT, static_cast<WPARAM>(q.quitCode), 0};
        return true;
    }
    return false;
}

bool MessagesWaiting() {
    Queue& q = Q();
    TakeInterrupt();
    if (q.head == q.tail) {
        if (q.replay) q.replay(q.replayContext);
        if (q.source) q.source(q.sourceContext);
    }
    return q.head != q.tail || q.quitPosted;
}

bool PostMessage(uint32_t message, WPARAM wParam, LPARAM lParam) {
    Queue& q = Q();
    if (q.tail == MESSAGE_QUEUE_CAPACITY) {
        if (q.head == 0) return false;
        std::copy(q.items + q.head, q.items + q.tail, q.items);
        q.tail -= q.head;
        q.head = 0;
    }
    q.items[q.tail++] = Msg{message, wParam, lParam};
    return true;
}

void PostQuitMessage(int exitCode) {
    Queue& q = Q();
    q.quitPosted = true;
    q.quitCode = exitCode;
}

LRESULT DefWindowProc(uint32_t, WPARAM, LPARAM) { return 0; }

void ClearMessages() {
    Queue& q = Q();
    q.head = q.tail = 0;
    q.quitPosted = false;
    q.quitCode = 0;
}

void SetMessageSource(MessageSource source, void* context) {
    Queue& q = Q();
    q.source = source;
    q.sourceContext = context;
}

void SetMessageTap(MessageTap tap, void* context) {
    Queue& q = Q();
    q.tap = tap;
    q.tapContext = context;
}

void SetInputReplay(MessageSource replay, void* context) {
    Queue& q = Q();
    q.replay = replay;
    q.replayContext = context;
}

bool InputReplayed() { return Q().replay != nullptr; }

std::size_t FreeMessageSlots() {
    const Queue& q = Q();
    return MESSAGE_QUEUE_CAPACITY - (q.tail - q.head);
}

bool PostMouseMove(WPARAM wParam, LPARAM lParam) {
    Queue& q = Q();
    for (std::size_t i = q.tail; i > q.head; --i) {
        const uint32_t m = q.items[i - 1].message;
        if (IsMouseButtonOrWheel(m)) break;
        if (m == WM_MOUSEMOVE) {
            std::copy(q.items + i, q.items + q.tail, q.items + i - 1);
            --q.tail;
            break;
        }
    }
    return PostMessage(WM_MOUSEMOVE, wParam, lParam);
}

bool PostPaint() {
    const Queue& q = Q();
    for (std::size_t i = q.head; i < q.tail; ++i) {
        if (q.items[i].message == WM_PAINT) return true;
    }
    return PostMessage(WM_PAINT, 0, 0);
}

void DiscardMessages(uint32_t message) {
    Queue& q = Q();
    Msg* end =
        std::remove_if(q.items + q.head, q.items + q.tail, [message](const Msg& m) { return m.message == message; });
    q.tail = static_cast<std::size_t>(end - q.items);
    if (q.head == q.tail) q.head = q.tail = 0;
}

} // namespace plat
