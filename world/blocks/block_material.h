#pragma once
// Block materials and block types.
//
// A material ("data\blocks.yml") gives every block made of it its density, health, the shaders of
// its outer and fracture faces, its stroke and destroy sounds, its score and an optional special
// behaviour. Each material caches one YBlockType per block size in use: the mass, health, half
// extents and inertia that blocks, set items and splinters read. Half extents depend on the level
// scale, so the level loader empties every cache before it reads a level.
//
//   <default mass="1" health="200" scores="25"/>
//   <material name="glass" shader="block_glass" health="100"/>
//
// Materials live until the process ends; callers keep plain pointers to them and to their types.
// Main thread only.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "math/vector.h"

class YShader;
class YSoundFx;
struct YBlockSpecialKind;
struct YBlockMaterial;

// Largest block size along one axis that FindBlockType makes a type for (the editor keeps sizes
// within 9; level files are held to this bound as well).
constexpr uint32_t BLOCK_SIZE_MAX = 32;

struct YBlockType {
    float mass = 0;   // sx * sy * sz * material mass
    float health = 0; // the material's health
    uint32_t sx = 1, sy = 1, sz = 1;
    // Cells on each face, in face order -x, +x, -y, +y, -z, +z.
    uint32_t cellCounts[6] = {};
    YVector halfExtents; // size * level scale / 2
    YVector inertia;     // diagonal of the solid box's inertia tensor
    YBlockMaterial* material = nullptr;
};

struct YBlockMaterial {
    std::string name;
    float mass = 1;   // per cell, always > 0
    float health = 0; // <= 0: not destroyed by ordinary hits
    YShader* shader = nullptr;
    YShader* inShader = nullptr;
    YSoundFx* soundStroke = nullptr;
    YSoundFx* soundDestroy = nullptr;
    int32_t scores = 0;
    const YBlockSpecialKind* special = nullptr;
    std::vector<std::unique_ptr<YBlockType>> types;
};

// Every material, in the order of first definition.
const std::vector<YBlockMaterial*>& BlockMaterials();

// Reads a materials file; the materials already known stay. Faults are logged as
// "Block Marterial Loader error, %s, line: %d" and the parse goes on.
void LoadBlockMaterials(const char* path);

// Creates the named material, or updates one of that name: a redefinition replaces mass, health,
// shaders, sounds and special and keeps its place, its cached types and its first scores. A mass
// that is not above 0 (or not a number) is logged and taken as 1, since a massless block has no
// usable physics body.
YBlockMaterial* BuildBlockMaterial(const std::string& name, float mass, float health, const std::string& shader,
                                   const std::string& inShader, int32_t scores, const std::string& soundStroke,
                                   const std::string& soundDestroy, const std::string& special);

// The material of exactly that name (case-sensitive), or null.
YBlockMaterial* FindBlockMaterial(const std::string& name);

// The cached type of that material and size, made with the current level scale on first use.
// Null for an unknown material or a size outside 1..BLOCK_SIZE_MAX.
YBlockType* FindBlockType(const std::string& name, uint32_t sx, uint32_t sy, uint32_t sz);

// Deletes every cached type of every material.
void ClearBlockTypeCaches();

// Deletes and forgets every material (tests, and tools before they end).
void ResetBlockMaterials();
