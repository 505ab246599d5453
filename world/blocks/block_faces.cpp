#include "world/blocks/block_faces.h"

#include <algorithm>
#include <cmath>

#include "render/camera.h"
#include "render/render.h"
#include "render/shader.h"

const YVector BOX_CORNER_SIGNS[8] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                     {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
const YVector BOX_FACE_NORMALS[6] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
const int BOX_FACE_CORNERS[6][4] = {{0, 4, 7, 3}, {6, 5, 1, 2}, {0, 1, 5, 4}, {6, 2, 3, 7}, {0, 3, 2, 1}, {6, 7, 4, 5}};
const int BOX_EDGES[12][4] = {{0, 1, 2, 4}, {1, 2, 1, 4}, {2, 3, 3, 4}, {3, 0, 0, 4}, {4, 5, 5, 2}, {5, 6, 5, 1},
                              {6, 7, 5, 3}, {7, 4, 5, 0}, {0, 4, 0, 2}, {1, 5, 2, 1}, {2, 6, 1, 3}, {3, 7, 3, 0}};
const YVector2 BOX_QUAD_UV[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};

YDrawBlockFace g_DrawBlockFace;

namespace {

std::vector<YBlockFace>& Faces() {
    static std::vector<YBlockFace> faces = [] {
        std::vector<YBlockFace> v;
        v.reserve(4096);
        return v;
    }();
    return faces;
}

// Quadrant of a corner edge's mask (one cell set, or one cell missing), or -1.
int CornerQuadrant(uint8_t mask) {
    switch (mask & 15) {
        case 1:
        case 14: return 0;
        case 2:
        case 13: return 1;
        case 4:
        case 11: return 2;
        case 8:
        case 7: return 3;
        default: return -1;
    }
}

// [quadrant][axis] -> the two faces compared.
constexpr int kCornerFaces[4][3][2] = {
    {{3, 5}, {5, 1}, {1, 3}},
    {{5, 2}, {0, 5}, {3, 0}},
    {{4, 3}, {1, 4}, {2, 1}},
    {{2, 4}, {4, 0}, {0, 2}},
};

} // namespace

void BuildBlockFace(YBlockFace* face, const YVector& a, const YVector& b, const YVector& c, const YVector& d,
                    const YVector& normal, YShader* shader, float shade, const float offsets[2]) {
    const YVector* p[4] = {&a, &b, &c, &d};
    for (int k = 0; k < 4; ++k) {
        YVertex& v = face->corners[k];
        v.pos = *p[k];
        v.normal = normal;
        v.uv1 = BOX_QUAD_UV[k];
        v.uv2 = YVector2(BOX_QUAD_UV[k].u + offsets[0], BOX_QUAD_UV[k].v + offsets[1]);
    }
    face->shader = shader;
    face->shade = shade;
}

void BuildSplinterFace(YBlockFace* face, const YVector& a, const YVector& b, const YVector& c, const YVector& d,
                       const YVector& normal, const YVector2 uv[4], YShader* shader, float shade) {
    const YVector* p[4] = {&a, &b, &c, &d};
    for (int k = 0; k < 4; ++k) {
        YVertex& v = face->corners[k];
        v.pos = *p[k];
        v.normal = normal;
        v.uv1 = uv[k];
        v.uv2 = uv[k];
    }
    face->shader = shader;
    face->shade = shade;
}

std::vector<YBlockFace>& BlockFaceList() { return Faces(); }

YBlockFace* AddBlockFace() {
    Faces().emplace_back();
    return &Faces().back();
}

void QueueBlockFaces() {
    for (YBlockFace& f : Faces()) {
        const YVector centre = (f.corners[0].pos + f.corners[1].pos + f.corners[2].pos + f.corners[3].pos) * 0.25f;
        if (f.shader && f.shader->IsBlended())
            QueueBlendedDraw(&f, &centre, &g_DrawBlockFace);
        else
            QueueOpaqueDraw(&f, &centre, &g_DrawBlockFace);
    }
}

void YDrawBlockFace::Draw(void* item) {
    if (!g_Render) return;
    const YBlockFace* face = static_cast<const YBlockFace*>(item);
    YTexture* crack =
        face->shade >= 0.0f && face->shader && face->shader->stages.size() > 1 ? GetSplitTexture(face->shade) : nullptr;
    if (quads_ > 0 && (face->shader != shader_ || crack != crack_ || quads_ == YRender::LIT_QUAD_BATCH)) Flush();
    shader_ = face->shader;
    crack_ = crack;
    std::copy(face->corners, face->corners + 4, batch_ + 4 * quads_);
    ++quads_;
}

void YDrawBlockFace::Flush() {
    const int quads = quads_;
    quads_ = 0;
    if (quads == 0 || !g_Render) return;
    g_Render->SetWorldMatrix(&g_Camera.view); // world space, whatever the drawer before left
    g_Render->SetShader(shader_, true);
    if (crack_) g_Render->BindStageTexture(crack_, 1);
    g_Render->DrawLitQuads(batch_, quads);
}

int SplitTextureIndex(float shade) {
    const float k = std::floor(shade * 10.0f);
    if (!(k >= 0.0f)) return 0;
    return static_cast<int>(std::min(k, 9.0f));
}

YTexture* GetSplitTexture(float shade) {
    static YTexture* textures[10] = {};
    if (!textures[0]) {
        YTexture* source = GetTexture("textures\\split.jpg");
        for (int k = 0; k < 10; ++k) {
            textures[k] = new YFilterTexture(source, new YColorFilterSub(static_cast<float>(k) * 0.1f));
            textures[k]->Restore();
        }
    }
    return textures[SplitTextureIndex(shade)];
}

void YColorFilterSub::Apply(float out[4], const float in[4]) {
    for (int i = 0; i < 3; ++i) out[i] = std::max(in[i] - amount, 0.0f);
    out[3] = 1.0f;
}

bool SetCornerEdgeFaces(uint8_t mask, int axis, int& face1, int& face2) {
    const int q = CornerQuadrant(mask);
    if (q < 0 || axis < 0 || axis > 2) return false;
    face1 = kCornerFaces[q][axis][0];
    face2 = kCornerFaces[q][axis][1];
    return true;
}
