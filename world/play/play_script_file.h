#pragma once
// Input scripts on disk, in the game's own input recording format ("KVINPUT1", see
// platform/window/message_recording.h): a session recorded by the game (KORVELIN_RECORD_INPUT)
// plays in a headless run, and a headless run's script can be written for a later run.
//
// Reading, message by message, as the game's input handling takes them in play: a mouse move sets
// the target to 2 x / width - 1 (width: the client width of the last size message, 800 before
// one), the left button and Space click, Up and Down turn the launch elevation by 5 degrees and the
// wheel by 5 degrees a notch (up: lower). A message at t milliseconds belongs to frame
// t / (frame time in ms); times count from the level's first frame. Other messages are skipped.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/window/message_recording.h"
#include "world/play/headless_run.h"

// Recordings that would play longer than this many frames (about 5.5 hours at 50 a second) are
// refused: the script holds one entry per frame.
constexpr int MAX_SCRIPT_FRAMES = 1000000;
// The client width a recording plays at until it says otherwise (the game's default mode's).
constexpr int DEFAULT_SCRIPT_WIDTH = 800;

// The script of a recording with frames of script.dt seconds (its seed and dt are kept). False,
// with why in `error`, when the messages run past MAX_SCRIPT_FRAMES (script.frames left empty).
bool ScriptFromRecording(const std::vector<plat::RecordedMessage>& messages, YPlayScript& script, std::string& error);
// Reads a recording file into script.frames (missing, oversized, truncated or malformed: false, with
// why in `error`, frames left empty).
bool LoadPlayScript(const std::string& path, YPlayScript& script, std::string& error);

// The messages a player makes for the script on a client `width` pixels wide: a size message
// first, then per frame a mouse move to the target's pixel, a left button press and release for a
// click and the wheel for the aim. A target that falls between pixels is played at the nearest.
std::vector<plat::RecordedMessage> RecordingFromScript(const YPlayScript& script, int width);
// Writes that recording atomically; false, with why in `error`, when it cannot.
bool SavePlayScript(const std::string& path, const YPlayScript& script, int width, std::string& error);
