#pragma once
// The names the editor's status line gives the bonus kinds.

// "Normal Ball" for BallNormal ... "[Universal Ball]" for NewBallUniversal; "" for a number that
// names no kind.
const char* EditorBonusName(int kind);
