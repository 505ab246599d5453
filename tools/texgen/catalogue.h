#pragma once
// Which recipe makes which file. The file list itself (names, sizes, formats) is
// tools/common/texture_names.h; this only binds each of its entries to the code that draws it.
#include <string_view>

#include "tools/texgen/cube_faces.h"
#include "tools/texgen/recipes.h"

namespace texgen {

// The recipe of a texture or splash picture by its path, or null.
Recipe FindRecipe(std::string_view path);

struct SkyRecipe {
    SkyFunction sky = nullptr;
    float threshold = 0.03f; // corner disagreement that makes a pixel take more directions
};
// The sky of an environment by name; sky is null for an unknown name.
SkyRecipe FindSky(std::string_view environment);

} // namespace texgen
