#pragma once
// The message queue the main loop reads: window input translated into messages (see window.h),
// messages posted by the program or by tests, and the quit message. Main thread only.
#include <cstddef>
#include <cstdint>

#include "platform/window/win_messages.h"

namespace plat {

struct Msg {
    uint32_t message = WM_NULL;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Room for this many waiting messages; posting into a full queue fails.
constexpr std::size_t MESSAGE_QUEUE_CAPACITY = 1024;

// Takes the oldest waiting message into `out` and returns true; false when none waits. When the
// queue is empty it first collects the open window's new input. After PostQuitMessage, WM_QUIT
// (wParam = the exit code) comes out once nothing else waits, and only once.
bool PeekMessage(Msg& out);

// Whether a message waits (collecting the open window's new input first when none does), so that
// a caller about to sleep can handle it instead.
bool MessagesWaiting();

// Appends a message. False when the queue is full.
bool PostMessage(uint32_t message, WPARAM wParam, LPARAM lParam);

// Asks for WM_QUIT; see PeekMessage.
void PostQuitMessage(int exitCode);

// What the frameworks pass unhandled messages to. Nothing needs doing on this platform: the
// window layer itself acts on what the system's default handling did (it never sends a close
// that would destroy the window, nor screen-saver requests), so this returns 0.
LRESULT DefWindowProc(uint32_t message, WPARAM wParam, LPARAM lParam);

// Drops every waiting message and a pending quit.
void ClearMessages();

// ---- For the window layer ---------------------------------------------------------------------

// Called by PeekMessage when the queue is empty, to translate new input into messages.
using MessageSource = void (*)(void* context);
void SetMessageSource(MessageSource source, void* context);

std::size_t FreeMessageSlots();

// Called with every message PeekMessage hands out (message_recording.h). Null: none.
using MessageTap = void (*)(void* context, const Msg& msg);
void SetMessageTap(MessageTap tap, void* context);

// Called by PeekMessage when the queue is empty, before the window's source, to post replayed
// input (message_recording.h). While one is set, the window takes no input of its own but close
// requests. Null: none.
void SetInputReplay(MessageSource replay, void* context);
bool InputReplayed();

// Posts a mouse move, first removing a waiting mouse move that no mouse button or wheel message
// follows: only the newest position of a burst of motion is delivered.
bool PostMouseMove(WPARAM wParam, LPARAM lParam);

// Posts WM_PAINT unless one is already waiting.
bool PostPaint();

// Removes every waiting message with this id.
void DiscardMessages(uint32_t message);

} // namespace plat
