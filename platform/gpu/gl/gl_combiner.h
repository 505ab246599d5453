#pragma once
// Texture stage operations as OpenGL texture-environment combiners.
#include <cstdint>

namespace gpu {

// Sets up the texture environment of the active unit for one enabled stage. `stage` holds the
// stage's states indexed by stage state number. With `combine3` (ATI_texture_env_combine3) the
// multiply-add operations are exact; without it they fall back to the nearest plain combiner.
void ApplyStageCombiner(const uint32_t* stage, bool combine3);

} // namespace gpu
