#pragma once
// Block drawing. Blocks are not meshes: every frame each block builds the quads of its visible faces
// into one global face list, which is queued for drawing once every block is updated. A face is
// drawn with its material's shader; when that shader has a second stage, the stage gets one of ten
// crack textures, chosen by the block's health. The tables here describe a box in units of its half
// extents and are shared by single blocks, set items, splinters and the shadow edges.
//
// The face list keeps its storage from frame to frame, so the per-frame path allocates only while
// the scene grows beyond what an earlier frame held.
#include <cstdint>
#include <vector>

#include "math/vector.h"
#include "math/vertex.h"
#include "render/draw_list.h"
#include "render/render.h"
#include "render/texture.h"

class YShader;

// Corner signs, index 0..7: (-1,-1,-1), (1,-1,-1), (1,1,-1), (-1,1,-1), then the same at z = +1.
extern const YVector BOX_CORNER_SIGNS[8];
// Face normals in face order -x, +x, -y, +y, -z, +z.
extern const YVector BOX_FACE_NORMALS[6];
// The four corners of each face in quad order.
extern const int BOX_FACE_CORNERS[6][4];
// The 12 box edges: corner a, corner b, the face on one side, the face on the other.
extern const int BOX_EDGES[12][4];
// Texture coordinates of a quad's corners 0..3.
extern const YVector2 BOX_QUAD_UV[4];

struct YBlockFace {
    YVertex corners[4];
    YShader* shader = nullptr;
    float shade = -1.0f; // health fraction selecting the crack texture; negative: none
};

// Vertex k: corner k, the normal, quad coordinates k, and quad coordinates k + offsets as the
// second set.
void BuildBlockFace(YBlockFace* face, const YVector& a, const YVector& b, const YVector& c, const YVector& d,
                    const YVector& normal, YShader* shader, float shade, const float offsets[2]);
// As BuildBlockFace with the given coordinates for both sets.
void BuildSplinterFace(YBlockFace* face, const YVector& a, const YVector& b, const YVector& c, const YVector& d,
                       const YVector& normal, const YVector2 uv[4], YShader* shader, float shade);

// The frame's face list.
std::vector<YBlockFace>& BlockFaceList();
// A new face at the end of the list (its contents are to be filled by the caller).
YBlockFace* AddBlockFace();
// Queues every face of the list for drawing at the mean of its corners: blended shaders in the
// blended queue, the others in the opaque queue.
void QueueBlockFaces();

// Draws queued YBlockFaces: a face's shader with material; when shade >= 0 and the shader has
// more than one stage, the crack texture on stage 1; then the lit quad. Consecutive faces with the
// same shader and crack texture are gathered and drawn as one batch (a chain of blasts leaves
// thousands of faces, and the driver's cost is per draw), in their queue order, so the picture is
// the one face-by-face drawing gives. A face is drawn at the latest by the next Flush.
class YDrawBlockFace final : public YDrawObj {
public:
    void Draw(void* item) override;
    void Flush() override;

private:
    YVertex batch_[YRender::LIT_QUAD_BATCH * 4];
    int quads_ = 0;
    YShader* shader_ = nullptr;
    YTexture* crack_ = nullptr;
};
extern YDrawBlockFace g_DrawBlockFace;

// The crack texture index for a shade: whole part of shade * 10, clamped to 0..9.
int SplitTextureIndex(float shade);
// The crack texture for a shade: on first use loads "textures\split.jpg" and makes its ten copies
// darkened by k * 0.1.
YTexture* GetSplitTexture(float shade);

// Subtracts `amount` from r, g and b (not below 0); alpha 1.
class YColorFilterSub : public YColorFilter {
public:
    explicit YColorFilterSub(float amount_) : amount(amount_) {}
    void Apply(float out[4], const float in[4]) override;
    float amount;
};

// The faces whose light facing decides a set's corner edge, or false for an edge that casts no
// silhouette: a corner edge has one or three of its four cells set (mask bits 0..3).
bool SetCornerEdgeFaces(uint8_t mask, int axis, int& face1, int& face2);

// Whether a face of an opaque block is built: it faces the camera (both in block space).
inline bool FaceTowardsCamera(const YVector& normal, const YVector& centre, const YVector& camera) {
    return normal.x * (camera.x - centre.x) + normal.y * (camera.y - centre.y) + normal.z * (camera.z - centre.z) > 0;
}
