#include "render/scene/environment_box.h"

#include "core/file_list.h"
#include "core/log.h"
#include "math/matrix.h"
#include "render/camera.h"
#include "render/render.h"
#include "render/shader.h"
#include "render/texture.h"

YEnvironmentBox g_EnvironmentBox;

const char* const YEnvironmentBox::FACE_NAMES[FACE_COUNT] = {"front", "back", "right", "left", "down", "up"};

namespace {

constexpr float LO = 0.001f; // texture coordinates kept off the pictures' edges, so that
constexpr float HI = 0.999f; // filtering never samples the opposite border

struct BoxCorner {
    float x, y, z, u, v;
};

// The cube before it is turned upright: y up, the front face at z = -1. Four corners per face in
// fan order.
constexpr BoxCorner BOX[YEnvironmentBox::FACE_COUNT * 4] = {
    // front, z = -1
    {-1, -1, -1, LO, HI},
    {1, -1, -1, HI, HI},
    {1, 1, -1, HI, LO},
    {-1, 1, -1, LO, LO},
    // back, z = +1
    {1, -1, 1, LO, HI},
    {-1, -1, 1, HI, HI},
    {-1, 1, 1, HI, LO},
    {1, 1, 1, LO, LO},
    // right, x = +1
    {1, -1, -1, LO, HI},
    {1, -1, 1, HI, HI},
    {1, 1, 1, HI, LO},
    {1, 1, -1, LO, LO},
    // left, x = -1
    {-1, -1, 1, LO, HI},
    {-1, -1, -1, HI, HI},
    {-1, 1, -1, HI, LO},
    {-1, 1, 1, LO, LO},
    // down, y = -1
    {-1, -1, 1, LO, HI},
    {1, -1, 1, HI, HI},
    {1, -1, -1, HI, LO},
    {-1, -1, -1, LO, LO},
    // up, y = +1
    {-1, 1, -1, LO, HI},
    {1, 1, -1, HI, HI},
    {1, 1, 1, HI, LO},
    {-1, 1, 1, LO, LO},
};

} // namespace

YEnvironmentBox::YEnvironmentBox() = default;

void YEnvironmentBox::ListOnce() const {
    if (listed_) return;
    listed_ = true;
    ListFiles(names_, "env\\*", true);
}

void YEnvironmentBox::BuildVertices(YTexVertex out[FACE_COUNT * 4]) {
    // A quarter turn about x takes the box's y axis to the world's z axis (up): (x, y, z) becomes
    // (x, -z, y).
    YMatrix upright;
    upright.SetRotationX(90.0f);
    for (int i = 0; i < FACE_COUNT * 4; ++i) {
        const BoxCorner& c = BOX[i];
        out[i].pos = upright.TransformPoint(YVector(c.x, c.y, c.z));
        out[i].uv = YVector2(c.u, c.v);
        out[i].uv2 = YVector2(c.u, c.v);
    }
}

void YEnvironmentBox::SetEnvironment(const char* name) {
    if (!faces_[0]) {
        const YShader* look = FindShader("environment");
        for (int f = 0; f < FACE_COUNT; ++f) faces_[f] = look->Clone(std::string("env_") + FACE_NAMES[f]);
    }

    current_ = name ? name : "";
    ListOnce();
    if (names_.empty()) {
        // No picture could exist: keep the name (a level stores it as it was) and ask for none.
        if (!reportedEmpty_) {
            LogPrintf(g_Log, "No environment in folder env, sky box \"%s\" has no pictures", current_.c_str());
            reportedEmpty_ = true;
        }
        return;
    }
    bool listed = false;
    for (const std::string& n : names_)
        if (n == current_) listed = true;
    if (!listed) current_ = names_.front();

    for (int f = 0; f < FACE_COUNT; ++f) {
        const std::string file = "env\\" + current_ + "\\" + FACE_NAMES[f] + ".jpg";
        YTexture* picture = GetTexture(file.c_str());
        if (!faces_[f]->stages.empty()) faces_[f]->stages[0]->texture = picture;
    }
}

void YEnvironmentBox::SetDefault() {
    ListOnce();
    SetEnvironment(names_.empty() ? "" : names_.front().c_str());
}

void YEnvironmentBox::Draw() {
    if (!faces_[0] || !g_Render) return;
    if (!built_) {
        BuildVertices(vertices_);
        built_ = true;
    }
    const YMatrix turn = g_Camera.view.GetRotation();
    g_Render->SetWorldMatrix(&turn);
    g_Render->SetDepthRange(1.0f, 1.0f);
    for (int f = 0; f < FACE_COUNT; ++f) {
        g_Render->SetShader(faces_[f], true);
        // A face without a picture (no environment folder) is drawn plain, not with whatever the
        // scene bound last.
        if (faces_[f]->stages.empty() || !faces_[f]->stages[0]->texture) g_Render->ClearStageTexture(0);
        g_Render->DrawTexQuad(&vertices_[f * 4]);
    }
    g_Render->SetDepthRange(0.0f, 1.0f);
}
