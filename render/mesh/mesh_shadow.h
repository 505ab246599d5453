#pragma once
// Silhouette edges of mesh instances for the stencil shadow volume.
//
// The mesh code does not depend on the shadow volume: the shadow code connects itself once (for
// example from the shadow volume's constructor) with SetMeshShadowSink, giving
//   - `enabled`: whether shadows are on now (the configuration's switch and a stencil buffer);
//   - `addEdge`: takes one silhouette edge in world coordinates; with flip set the edge runs from
//     a to b, otherwise from b to a.
// Until then, or with null functions, drawables cast no stencil shadows.
#include "math/matrix.h"
#include "math/vector.h"

class YMeshInstanceBase;

using MeshShadowsEnabledFn = bool (*)();
using MeshShadowEdgeFn = void (*)(const YVector* a, const YVector* b, bool flip);

void SetMeshShadowSink(MeshShadowsEnabledFn enabled, MeshShadowEdgeFn addEdge);
// The functions connected now (null when none), for code that connects its own for a while.
void GetMeshShadowSink(MeshShadowsEnabledFn* enabled, MeshShadowEdgeFn* addEdge);

// A sink is connected and says shadows are on.
bool MeshShadowsEnabled();

// Hands the silhouette edges of `instance` placed by `world` to the sink (nothing without one):
// the camera's light direction is taken into object space by the inverse of the world matrix's
// 3x3 part; a face is lit when light . face normal > 0 (the normals stored in the shared mesh,
// which the skinning refreshes after each pose); each shared edge {a, b, f, g} whose faces differ
// in lighting goes out as (world x vertex a, world x vertex b, lit[f]), with the instance's own
// vertex positions. Allocates only when a mesh has more faces than any before.
void AddMeshShadowEdges(const YMeshInstanceBase* instance, const YMatrix* world);
