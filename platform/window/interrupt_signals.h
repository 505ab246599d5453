#pragma once
// SIGINT and SIGTERM as close requests. The process keeps one handler of its own for both from
// the first call of WatchInterruptSignals on: the handler only notes the request, and the message
// queue hands it out as WM_CLOSE the next time it is read. SDL is asked to install none of its own,
// because SDL's are restored to the default action (end the process) whenever its video subsystem
// is shut down, and the quit event it makes of a signal is dropped with its event queue: a signal
// arriving while the program starts (the renderer's probes start and stop SDL) would be lost or
// would kill the process.
namespace plat {

// Installs the handler for SIGINT and SIGTERM (once; later calls do nothing).
void WatchInterruptSignals();

// Whether a signal arrived since the last call; clears the note.
bool TakeInterruptRequest();

} // namespace plat
