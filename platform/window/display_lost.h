#pragma once
// A lost connection to the display (the X server ended or dropped the program): instead of the
// X library's own reaction (print and exit, which runs the destructors of a program whose
// display is gone, and aborts in the sound library's clean-up), the handler set here runs, then
// the process ends at once with DISPLAY_LOST_EXIT_CODE. The handler must not touch the window or
// the GPU; it may save files and release the sound device.
namespace plat {

constexpr int DISPLAY_LOST_EXIT_CODE = 3;

using DisplayLostHandler = void (*)();
void SetDisplayLostHandler(DisplayLostHandler handler);

// Called by the window layer once SDL's video runs: hooks the X library's connection-loss report.
void WatchDisplayConnection();

} // namespace plat
