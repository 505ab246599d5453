#pragma once
// Shaders: named render materials. A shader is one rendering pass: a block of render states, a
// lighting material and an ordered list of texture stages, each stage with its texture, its stage
// states and a texture-coordinate transform that its modifiers animate once per frame. The shader
// files fill them (render/shader_loader.h); the renderer applies them (YRender::SetShader).
//
// Shaders are looked up by exact, case-sensitive name with FindShader, which makes an empty shader
// on a miss, so a lookup never fails and a name no file defines draws untextured with the default
// states. Every shader ever made is kept in one list and lives until the process ends, so callers
// keep plain pointers (most look a shader up once).
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "math/matrix.h"
#include "render/render_objects.h"

class YTexture;

// A texture-coordinate animator. Update advances it by dt seconds and puts its own matrix in front
// of the stage matrix: M := Mmod x M (row vectors, so Mmod acts on the coordinates after M has).
// Texture coordinates are transformed as (u, v, 1, 0) x M, so a translation lies in the third row
// (elements 8 and 9). Returns whether it changed M; every modifier does.
class YMatrixMod {
public:
    virtual bool Update(float dt, YMatrix* m) = 0;
    virtual ~YMatrixMod() = default;
};

// Turns the texture about its centre at `speed` degrees per second.
class YModRotate : public YMatrixMod {
public:
    explicit YModRotate(float speed_) : speed(speed_) {}
    bool Update(float dt, YMatrix* m) override;

    float angle = 0.0f; // degrees, kept within -180..180 (180 itself stays)
    float speed;
};

// Slides the texture by (xSpeed, ySpeed) texture units per second.
class YModScroll : public YMatrixMod {
public:
    YModScroll(float xSpeed_, float ySpeed_) : xSpeed(xSpeed_), ySpeed(ySpeed_) {}
    bool Update(float dt, YMatrix* m) override;

    float u = 0.0f; // offsets, kept within -1..1 (1 itself stays)
    float v = 0.0f;
    float xSpeed;
    float ySpeed;
};

// Scales the texture about its centre by 1 / k, k swinging between min and max as the sine of a
// phase that advances `phaseSpeed` degrees per second.
class YModPulse : public YMatrixMod {
public:
    YModPulse(float phaseSpeed_, float min_, float max_) : phaseSpeed(phaseSpeed_), min(min_), max(max_) {}
    bool Update(float dt, YMatrix* m) override;

    float phase = 0.0f; // degrees
    float phaseSpeed;
    float min;
    float max;
};

// Turns the texture about its centre to an angle swinging between min and max degrees as the sine
// of a phase that advances `phaseSpeed` degrees per second.
class YModSwing : public YMatrixMod {
public:
    YModSwing(float phaseSpeed_, float minAngle_, float maxAngle_)
        : phaseSpeed(phaseSpeed_), minAngle(minAngle_), maxAngle(maxAngle_) {}
    bool Update(float dt, YMatrix* m) override;

    float phase = 0.0f; // degrees
    float phaseSpeed;
    float minAngle;
    float maxAngle;
};

// A fixed turn about the texture centre.
class YModTurn : public YMatrixMod {
public:
    explicit YModTurn(float degrees);
    bool Update(float dt, YMatrix* m) override;

    YMatrix matrix;
};

// A fixed shift of the texture coordinates.
class YModOffset : public YMatrixMod {
public:
    YModOffset(float x, float y);
    bool Update(float dt, YMatrix* m) override;

    YMatrix matrix;
};

// A fixed mirror of u and/or v (about 0, not about the centre).
class YModFlip : public YMatrixMod {
public:
    YModFlip(bool x, bool y);
    bool Update(float dt, YMatrix* m) override;

    YMatrix matrix;
};

// The texture-coordinate rotation by `degrees` about the texture centre (0.5, 0.5).
YMatrix TextureRotation(float degrees);

// One texture stage: the renderer reads texture, states, matrix and identity flag
// (YShaderStageBase); the modifiers rebuild matrix and flag every frame.
class YShaderStage : public YShaderStageBase {
public:
    // The renderer's default stage states (the same constants before a renderer exists), no
    // texture, identity matrix, identity flag 1, no modifiers.
    YShaderStage();
    ~YShaderStage() override;
    YShaderStage(const YShaderStage&) = delete;
    YShaderStage& operator=(const YShaderStage&) = delete;

    // Without modifiers nothing changes. Otherwise the matrix starts from the identity and each
    // modifier, in list order, updates it; the identity flag stays set only while no modifier
    // reports a change.
    void Animate(float dt);

    // In file order; owned.
    std::vector<std::unique_ptr<YMatrixMod>> modifiers;
};

// A named shader. Its stages (YShaderBase::stages) are always YShaderStage objects it owns; add
// them with AddStage.
class YShader : public YShaderBase {
public:
    // The renderer's default render states (the same constants before a renderer exists), a
    // material of four (0, 0, 0, 1) colours and power 0, lighting flag 0, no stages. The shader
    // joins the shader list.
    explicit YShader(const std::string& name);
    // Leaves the shader list (the last shader takes its place) and deletes the stages.
    ~YShader() override;
    YShader(const YShader&) = delete;
    YShader& operator=(const YShader&) = delete;

    // A new listed shader named `newName` (not necessarily unique) with copies of this shader's
    // render states, material and lighting flag, and for each stage a new stage with the same
    // texture and stage states but an identity matrix and no modifiers.
    YShader* Clone(const std::string& newName) const;
    // Back to a new shader's state: no stages, lighting flag 0, black material, default render
    // states. The name stays.
    void Reset();
    // Takes `source`'s render states, material and lighting flag and appends a copy of each of its
    // stages as Clone does. `source` may be this shader.
    void CopyLook(const YShader& source);

    // Appends a new default stage and returns it.
    YShaderStage* AddStage();
    YShaderStage* Stage(std::size_t i) const { return static_cast<YShaderStage*>(stages[i]); }
    // Animates every stage in order.
    void Animate(float dt);

    std::string name;

private:
    void DeleteStages();
};

// The first listed shader of exactly this name; a new empty shader of that name when there is
// none. Never null. A null name is the empty name.
YShader* FindShader(const std::string& name);
YShader* FindShader(const char* name);
// The same search without making anything: null on a miss.
YShader* FindShaderInList(const std::string& name);
// Every shader's Animate, in list order. Called once per frame with the frame's time step.
void AnimateShaders(float dt);
// Every shader made so far, in creation order except that a deleted shader's place went to the
// last one.
const std::vector<YShader*>& ShaderList();
