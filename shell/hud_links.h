#pragma once
// Connects the world to the HUD: a caught bonus announces itself with a caption, the racket's
// reset clears the captions, and the indicator column draws each bonus kind's icon.

// Installs the three links; the game calls it once at start, tests before they watch the HUD.
void InstallHudLinks();
