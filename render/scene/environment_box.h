#pragma once
// The sky box: six pictures on the inside of a cube around the eye. It turns with the camera but
// never moves with it, so it always seems infinitely far away. It lies at the far plane (depth
// 1.0, the value depth clears to), so it may be drawn after the opaque scene and shades only the
// pixels nothing covers.
//
// An environment is a folder "env\<name>\" holding six pictures "<face>.jpg". The folders are
// listed once, at the first question for them (the first choice or Names()), sorted by name: the
// one box is a static made before the program reaches its game folder; an environment is chosen by exact name, and
// a name that is not listed (the empty one included) chooses the first.
//
// Each face draws with its own copy of the shader "environment", made at the first choice, whose
// first stage takes the face's picture. The shader should test depth with "less or equal" and
// write none: drawn first, the box passes everywhere and leaves the depth buffer cleared for the
// scene; drawn after the opaque scene, it fills what the scene left uncovered.
#include <string>
#include <vector>

#include "render/render_values.h"

class YShader;

class YEnvironmentBox {
public:
    static constexpr int FACE_COUNT = 6;
    // In drawing order; also the suffix of the face shaders ("env_front") and the picture names.
    static const char* const FACE_NAMES[FACE_COUNT]; // front, back, right, left, down, up

    // No environment listed or chosen, no face shaders yet.
    YEnvironmentBox();
    YEnvironmentBox(const YEnvironmentBox&) = delete;
    YEnvironmentBox& operator=(const YEnvironmentBox&) = delete;

    // Chooses the environment of exactly this name, or the first listed one when there is none of
    // that name, and gives each face its picture "env\<name>\<face>.jpg" (pictures are shared by
    // file name, so choosing again loads nothing). The first call makes the face shaders. When
    // "env" holds no folder, the name is kept as given, no picture is asked for and a line is
    // logged (once).
    void SetEnvironment(const char* name);
    // SetEnvironment with the first listed name.
    void SetDefault();
    // The box with world = the camera's rotation alone, at the far plane (the depth range 1..1,
    // set back to 0..1 afterwards). Nothing before the first SetEnvironment.
    void Draw();

    // The listed environments, sorted (listed now when they were not yet).
    const std::vector<std::string>& Names() const {
        ListOnce();
        return names_;
    }
    // The environment chosen last (empty before the first choice).
    const std::string& CurrentName() const { return current_; }
    // The shader of a face (FACE_NAMES order), null before the first choice.
    YShader* FaceShader(int face) const { return faces_[face]; }

    // The cube of half size 1 as four corners per face in FACE_NAMES order, each corner's fan
    // order and texture coordinates (kept 0.001 inside the picture's edges, in both sets) such
    // that every picture is upright and unmirrored from inside; z points up.
    static void BuildVertices(YTexVertex out[FACE_COUNT * 4]);

private:
    // Lists the folders of "env" of the working directory, the first time only.
    void ListOnce() const;

    YShader* faces_[FACE_COUNT] = {};
    mutable std::vector<std::string> names_;
    mutable bool listed_ = false;
    std::string current_;
    YTexVertex vertices_[FACE_COUNT * 4];
    bool built_ = false;
    bool reportedEmpty_ = false;
};

// The one sky box, made at start-up (the "env" folder of the working directory is listed then).
extern YEnvironmentBox g_EnvironmentBox;
