#include "core/message_box.h"

#include "core/log.h"

void ShowMessage(const char* text, const char* caption, uint32_t flags) {
    if (plat::ShowMessageBox(text, caption, flags) != plat::MessageBoxResult::Confirmed)
        LogPrintf(g_Log, "Message box (%s): %s", caption, text);
}
