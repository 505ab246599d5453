// The sky box: the environment list read from "env", the choice of an environment by name, the
// face pictures it asks for, the cube's faces in the world, and what reaches the device.
#include <filesystem>
#include <string>
#include <vector>

#include "render/render_resource.h"
#include "render/scene/environment_box.h"
#include "render/shader.h"
#include "render/texture.h"
#include "scene_fixture.h"

using scenetest::ExpectNear;
using scenetest::SceneTest;

namespace {

class EnvironmentBoxTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        // The faces copy this shader; each needs a stage to take its picture.
        YShader* look = FindShader("environment");
        if (look->stages.empty()) look->AddStage();
    }

    // Folders under "env" (and files, when the name has a '.') in a scratch working directory.
    static void MakeEnv(const TempDir& root, const std::vector<std::string>& entries) {
        root.MakeDir("env");
        for (const std::string& e : entries) {
            if (e.find('.') != std::string::npos)
                root.Write("env/" + e, "not a folder");
            else
                root.MakeDir("env/" + e);
        }
    }

    static std::string FaceTexture(const YEnvironmentBox& box, int face) {
        const YShader* s = box.FaceShader(face);
        if (!s || s->stages.empty() || !s->stages[0]->texture) return "";
        return s->stages[0]->texture->name;
    }
};

TEST_F(EnvironmentBoxTest, TheListIsSortedAndUnknownNamesTakeTheFirst) {
    struct Row {
        const char* name;
        std::vector<std::string> entries; // under env; with a '.' a file
        const char* asked;
        std::vector<std::string> listed;
        const char* chosen;
    };
    const Row rows[] = {
        {"b and a list as a, b; the empty name takes a", {"b", "a"}, "", {"a", "b"}, "a"},
        {"a listed name is taken", {"b", "a"}, "b", {"a", "b"}, "b"},
        {"names compare case-sensitively", {"a"}, "A", {"a"}, "a"},
        {"an unknown name takes the first", {"dusk", "clouds", "stars"}, "rain", {"clouds", "dusk", "stars"}, "clouds"},
        {"files are no environments", {"b", "a.jpg", "readme.txt"}, "a.jpg", {"b"}, "b"},
        {"a null name is the empty one", {"a"}, nullptr, {"a"}, "a"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir root(true);
        MakeEnv(root, row.entries);
        YEnvironmentBox box;
        EXPECT_EQ(box.Names(), row.listed);
        EXPECT_EQ(box.FaceShader(0), nullptr); // made by the first choice
        box.SetEnvironment(row.asked);
        EXPECT_EQ(box.CurrentName(), row.chosen);
        for (int f = 0; f < YEnvironmentBox::FACE_COUNT; ++f) {
            ASSERT_NE(box.FaceShader(f), nullptr);
            EXPECT_EQ(box.FaceShader(f)->name, std::string("env_") + YEnvironmentBox::FACE_NAMES[f]);
            EXPECT_EQ(FaceTexture(box, f),
                      std::string("env\\") + row.chosen + "\\" + YEnvironmentBox::FACE_NAMES[f] + ".jpg");
        }
        box.SetDefault();
        EXPECT_EQ(box.CurrentName(), row.listed.front());
    }
}

TEST_F(EnvironmentBoxTest, WithoutEnvironmentsTheNameStaysAndNoPictureIsAskedFor) {
    const bool makeFolder[] = {true, false}; // an empty "env", and none at all
    for (bool folder : makeFolder) {
        SCOPED_TRACE(folder ? "empty env folder" : "no env folder");
        TempDir root(true);
        if (folder) MakeEnv(root, {});
        YEnvironmentBox box;
        EXPECT_TRUE(box.Names().empty());
        const std::size_t resources = RenderResources().size();
        const int logged = CountLogLines("No environment in folder env");
        box.SetEnvironment("dusk");
        box.SetEnvironment("stars");
        box.SetDefault();
        EXPECT_EQ(box.CurrentName(), "");
        EXPECT_EQ(RenderResources().size(), resources);
        EXPECT_EQ(CountLogLines("No environment in folder env"), logged + 1); // once per box
        EXPECT_EQ(FaceTexture(box, 0), "");
        box.SetEnvironment("stars");
        EXPECT_EQ(box.CurrentName(), "stars");
        box.Draw(); // faces without pictures; no renderer, nothing happens
    }
}

TEST_F(EnvironmentBoxTest, ChoosingTheSameEnvironmentAgainLoadsNothing) {
    MakeDevice();
    TempDir root(true);
    // Names of their own: pictures stay loaded for the rest of the process.
    MakeEnv(root, {"envtest_first", "envtest_second"});
    for (const char* face : YEnvironmentBox::FACE_NAMES) {
        WritePicture(std::string("env/envtest_first/") + face + ".jpg");
        WritePicture(std::string("env/envtest_second/") + face + ".jpg");
    }
    YEnvironmentBox box;
    const std::size_t before = RenderResources().size();
    box.SetEnvironment("envtest_first");
    EXPECT_EQ(RenderResources().size(), before + 6);
    EXPECT_EQ(CountLogLines("Load texture env\\envtest_first\\"), 6);
    for (int f = 0; f < YEnvironmentBox::FACE_COUNT; ++f)
        EXPECT_TRUE(box.FaceShader(f)->stages[0]->texture->deviceTexture) << f;

    const YShader* shaders[YEnvironmentBox::FACE_COUNT];
    for (int f = 0; f < YEnvironmentBox::FACE_COUNT; ++f) shaders[f] = box.FaceShader(f);
    device_->ClearTrace();
    box.SetEnvironment("envtest_first");
    EXPECT_EQ(RenderResources().size(), before + 6);
    EXPECT_EQ(CountLogLines("Load texture "), 6);
    EXPECT_TRUE(device_->TraceStartingWith("CreateTexture(").empty());

    box.SetEnvironment("envtest_second");
    box.SetEnvironment("envtest_first");
    EXPECT_EQ(RenderResources().size(), before + 12);
    EXPECT_EQ(CountLogLines("Load texture "), 12);
    for (int f = 0; f < YEnvironmentBox::FACE_COUNT; ++f) EXPECT_EQ(box.FaceShader(f), shaders[f]); // the same copies
}

// The box lies at the far plane: its faces are drawn with the depth range 1..1, set back to 0..1
// afterwards, so the scene may be drawn before it. A face without a picture is drawn with no
// texture, not with the one the scene bound last.
TEST_F(EnvironmentBoxTest, TheBoxIsDrawnAtTheFarPlaneAndAFaceWithoutAPictureUntextured) {
    MakeDevice();
    TempDir root(true);
    MakeEnv(root, {}); // no environment: faces without pictures
    WritePicture("envtest_bound.jpg");
    YTexture* bound = GetTexture("envtest_bound.jpg");
    ASSERT_TRUE(bound->deviceTexture);
    YEnvironmentBox box;
    box.SetEnvironment("");
    render_->BindStageTexture(bound, 0);
    device_->ClearTrace();
    box.Draw();
    const std::vector<std::string> trace = device_->Trace();
    int draws = 0, firstDraw = -1, lastDraw = -1, farRange = -1, fullRange = -1, unbound = -1;
    for (int i = 0; i < static_cast<int>(trace.size()); ++i) {
        const std::string& t = trace[static_cast<size_t>(i)];
        if (t.rfind("DrawPrimitiveUP(", 0) == 0) {
            ++draws;
            if (firstDraw < 0) firstDraw = i;
            lastDraw = i;
        }
        if (t.rfind("SetViewport(", 0) == 0 && t.find(",1,1)") != std::string::npos) farRange = i;
        if (t.rfind("SetViewport(", 0) == 0 && t.find(",0,1)") != std::string::npos) fullRange = i;
        if (t == "SetTexture(0,null)" && unbound < 0) unbound = i;
    }
    EXPECT_EQ(draws, YEnvironmentBox::FACE_COUNT);
    EXPECT_GE(farRange, 0);
    EXPECT_LT(farRange, firstDraw);
    EXPECT_GT(fullRange, lastDraw);
    EXPECT_GE(unbound, 0);
    EXPECT_LT(unbound, firstDraw);
}

// The one box is made before the program is in its game folder: the folders of "env" are those
// of the working directory at the first question, not at construction.
TEST_F(EnvironmentBoxTest, EnvironmentsAreListedAtTheFirstQuestion) {
    TempDir before(true);
    MakeEnv(before, {"early"});
    YEnvironmentBox box;
    TempDir later(true);
    MakeEnv(later, {"late"});
    box.SetEnvironment("");
    EXPECT_EQ(box.Names(), std::vector<std::string>{"late"});
    EXPECT_EQ(box.CurrentName(), "late");
}

TEST_F(EnvironmentBoxTest, FacesAreCopiesTakenAtTheFirstChoice) {
    TempDir root(true);
    MakeEnv(root, {"a"});
    YShader* look = FindShader("environment");
    const uint32_t saved = look->renderStates[RS_DEPTH_WRITE_ENABLE];
    look->renderStates[RS_DEPTH_WRITE_ENABLE] = 0;
    YEnvironmentBox box;
    box.SetEnvironment("a");
    look->renderStates[RS_DEPTH_WRITE_ENABLE] = 1; // the file's entry changes later
    for (int f = 0; f < YEnvironmentBox::FACE_COUNT; ++f) {
        EXPECT_NE(box.FaceShader(f), look);
        EXPECT_EQ(box.FaceShader(f)->renderStates[RS_DEPTH_WRITE_ENABLE], 0u);
    }
    EXPECT_EQ(look->stages[0]->texture, nullptr); // the pictures go to the copies only
    look->renderStates[RS_DEPTH_WRITE_ENABLE] = saved;
}

TEST_F(EnvironmentBoxTest, FacesStandUprightAroundTheEyeWithZUp) {
    gpu::NullDevice& dev = MakeDevice();
    TempDir root(true);
    MakeEnv(root, {"envtest_faces"});
    for (const char* face : YEnvironmentBox::FACE_NAMES)
        WritePicture(std::string("env/envtest_faces/") + face + ".jpg");
    YEnvironmentBox box;
    box.Draw();
    EXPECT_TRUE(Quads().empty()); // nothing before an environment is chosen

    box.SetEnvironment("envtest_faces");
    YMatrix turn, view;
    turn.SetRotationZ(35.0f);
    view.MatrixSetTranslation(YVector(4, -7, 2));
    view = turn * view; // moved, then turned
    g_Camera.SetView(&view);
    dev.ClearTrace();
    box.Draw();

    // World = the camera's turn alone: the box moves with the eye.
    const gpu::Matrix& world = dev.State().world;
    const YMatrix rotation = g_Camera.view.GetRotation();
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(world.m[i], rotation.m[i]) << i;
    EXPECT_EQ(world.m[12], 0.0f);
    EXPECT_EQ(world.m[13], 0.0f);
    EXPECT_EQ(world.m[14], 0.0f);

    struct Face {
        const char* name;
        YVector normal; // the plane the face lies in: normal . p = 1
        YVector uDir;   // where the picture's u grows
        YVector topDir; // where its top row (v = 0) lies
    };
    const Face faces[] = {
        {"front", {0, 1, 0}, {1, 0, 0}, {0, 0, 1}},  {"back", {0, -1, 0}, {-1, 0, 0}, {0, 0, 1}},
        {"right", {1, 0, 0}, {0, -1, 0}, {0, 0, 1}}, {"left", {-1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"down", {0, 0, -1}, {1, 0, 0}, {0, 1, 0}},  {"up", {0, 0, 1}, {1, 0, 0}, {0, -1, 0}},
    };
    const std::vector<scenetest::Quad> quads = Quads();
    ASSERT_EQ(quads.size(), 6u);
    EXPECT_EQ(dev.TraceStartingWith("SetTexture(0,tex#").size(), 6u); // each face its own picture
    for (int f = 0; f < 6; ++f) {
        SCOPED_TRACE(faces[f].name);
        const YTexVertex* v = quads[static_cast<std::size_t>(f)].v;
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(v[i].pos.Dot(faces[f].normal), 1.0f, 1e-6f);
            EXPECT_EQ(v[i].uv.u, v[i].uv2.u);
            EXPECT_EQ(v[i].uv.v, v[i].uv2.v);
        }
        // Corner 0 is the picture's bottom left (0.001, 0.999), corner 1 its bottom right and
        // corner 3 its top left.
        EXPECT_FLOAT_EQ(v[0].uv.u, 0.001f);
        EXPECT_FLOAT_EQ(v[0].uv.v, 0.999f);
        EXPECT_FLOAT_EQ(v[2].uv.u, 0.999f);
        EXPECT_FLOAT_EQ(v[2].uv.v, 0.001f);
        ExpectNear(v[1].pos - v[0].pos, faces[f].uDir * 2.0f);
        ExpectNear(v[3].pos - v[0].pos, faces[f].topDir * 2.0f);
    }
}

} // namespace
