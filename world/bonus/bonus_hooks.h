#pragma once
// Start-up of the bonuses: reads "data\bonuses.yml" (after the log is open, so
// its errors reach the log) and connects the registry to the blocks, the level
// loader and the racket.
void BonusStartUp(const char* configFile = "data\\bonuses.yml");
// Only the connections (tests that configure the records themselves).
void InstallBonusHooks();
