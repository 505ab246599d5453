#pragma once
// The names the editor's status line gives the bonus kinds 0..33.

// "Normal Ball" for 0 ... "[Universal Ball]" for 33; "" outside.
const char* EditorBonusName(int kind);
