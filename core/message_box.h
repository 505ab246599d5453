#pragma once
// A message box for the user. When no one can see it (no interactive display, or boxes switched
// off for tests), its text goes to the log instead and the call returns as if it was confirmed.
#include <cstdint>

#include "platform/window/message_box.h"

void ShowMessage(const char* text, const char* caption, uint32_t flags);
