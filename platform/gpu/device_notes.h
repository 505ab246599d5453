#pragma once
// Notes from the device layer for the program's log: where a device gives the nearest it can
// instead of an exact result. The layer above installs the sink (the log); without one the notes
// go nowhere. Each distinct note is passed on once per run.
namespace gpu {

using DeviceNoteSink = void (*)(const char* text);
void SetDeviceNoteSink(DeviceNoteSink sink);

// Passes `text` (a string literal: notes are told apart by address) to the sink the first time.
void DeviceNoteOnce(const char* text);

} // namespace gpu
