#pragma once
// Volume levels run from 0 (silent) to 1 (full level). Every level that comes from outside the
// sound system (the configuration, the console, a fade, a product of two levels) goes through
// this one clamp before it reaches a buffer.

// 0..1; below 0 and not-a-number give 0, above 1 (also infinity) gives 1.
float ClampVolume(float volume);
