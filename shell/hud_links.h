#pragma once
// Connects the world to the HUD: a caught bonus announces itself with a caption, the racket's
// reset clears the captions, and the indicator column draws each bonus kind's icon.
#include "world/play/world_setup.h"

// The world's connections to the HUD, for SetUpWorld.
YWorldOutside HudWorldOutside();

// The indicator column's icon lookup; the game calls it once at start, tests before they watch
// the HUD.
void InstallHudIconLookup();
