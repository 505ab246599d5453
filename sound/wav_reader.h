#pragma once
// The RIFF WAVE reader behind effect buffers. It walks the file the way the multimedia RIFF reader
// the sounds were made for did: find the RIFF chunk of form "WAVE", take the chunk that follows as
// the format chunk "fmt " (not searched for), read 18 bytes of format, step out of the format
// chunk and search for the "data" chunk. Every size is checked against the file, so a corrupt
// header can neither make it read past the end nor allocate more than the file holds.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/audio/ds_types.h"

// Largest decoded sound an effect buffer takes (WAV data or decoded Ogg), in bytes.
constexpr uint32_t SOUND_MAX_DATA_BYTES = 64u << 20;

// Reads the format and the whole "data" chunk of an open file. A file that is not a PCM WAVE file
// as described above throws YSoundError("Invalid WAV format " + path); nothing is returned then.
// A file that reads but shows signs of damage (a RIFF size other than the file's, format fields
// that disagree, data that is no whole number of frames, bytes after the data that form no chunk)
// is returned as read, and `warning` (when given) gets "WAV file <path> looks damaged: ..." for the
// first sign; otherwise it is emptied.
void ReadWavFile(FILE* file, const std::string& path, plat::WaveFormatEx* format, std::vector<uint8_t>* data,
                 std::string* warning = nullptr);
