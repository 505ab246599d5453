#pragma once
// Texture stage operations as OpenGL texture-environment combiners.
#include <cstdint>

namespace gpu {

// Sets up the texture environment of the active unit for one enabled stage. `stage` holds the
// stage's states indexed by stage state number. With `combine3` (ATI_texture_env_combine3) the
// multiply-add operations are exact; without it they fall back to the nearest plain combiner.
// SPECULAR arguments read the unit's constant colour, which the caller sets (black: see
// StageReads); PREMODULATE is drawn as MODULATE (noted once).
void ApplyStageCombiner(const uint32_t* stage, bool combine3);

// Whether one of the stage's colour or alpha arguments selects `d3dArg` (D3DTA_SPECULAR, ...).
bool StageReads(const uint32_t* stage, uint32_t d3dArg);

} // namespace gpu
