#pragma once
// The bonus records as the information pages list them: every record of the bonus configuration
// in kind order, with its display text in the current language. An index outside the list reads a
// default record.
#include "shell/game_shell_host.h"

int GameBonusRecordCount();
BonusInfoRecord GameBonusRecord(int index);
