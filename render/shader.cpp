#include "render/shader.h"

#include <cmath>

#include "render/render.h"

namespace {

const YMatrix kIdentity{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

// The list lives on the heap and is never destroyed: shaders are looked up by static initialisers
// before main and may be touched by static destructors after it, and every shader stays reachable
// from here until the process ends.
std::vector<YShader*>& Shaders() {
    static auto* list = new std::vector<YShader*>();
    return *list;
}

// m := mod x m: the modifier's matrix acts on texture coordinates after what m already does.
void PutInFront(const YMatrix& mod, YMatrix* m) {
    YMatrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[4 * i + j] = mod.m[4 * i] * m->m[j] + mod.m[4 * i + 1] * m->m[4 + j] + mod.m[4 * i + 2] * m->m[8 + j] +
                             mod.m[4 * i + 3] * m->m[12 + j];
    *m = r;
}

// Angles and phases stay within -180..180; the tests are strict, so 180 itself stays.
float WrapDegrees(float a) {
    if (a > 180.0f) return a - 360.0f;
    if (a < -180.0f) return a + 360.0f;
    return a;
}

// Offsets stay within -1..1; 1 itself stays.
float WrapUnit(float a) {
    if (a > 1.0f) return a - 1.0f;
    if (a < -1.0f) return a + 1.0f;
    return a;
}

// (sin(phase) + 1) / 2 spread over min..max.
float Swing(float phaseDegrees, float min, float max) {
    return (std::sin(DegreesToRadians(phaseDegrees)) + 1.0f) * (max - min) * 0.5f + min;
}

} // namespace

// ---------------------------------------------------------------- modifiers

YMatrix TextureRotation(float degrees) {
    const float a = DegreesToRadians(degrees);
    const float c = std::cos(a), s = std::sin(a);
    YMatrix r = kIdentity;
    r.m[0] = c;
    r.m[1] = s;
    r.m[4] = -s;
    r.m[5] = c;
    r.m[8] = (1.0f - c + s) * 0.5f;
    r.m[9] = (1.0f - s - c) * 0.5f;
    return r;
}

bool YModRotate::Update(float dt, YMatrix* m) {
    angle = WrapDegrees(angle + dt * speed);
    PutInFront(TextureRotation(angle), m);
    return true;
}

bool YModScroll::Update(float dt, YMatrix* m) {
    u = WrapUnit(u + dt * xSpeed);
    v = WrapUnit(v + dt * ySpeed);
    YMatrix mod = kIdentity;
    mod.m[8] = u;
    mod.m[9] = v;
    PutInFront(mod, m);
    return true;
}

bool YModPulse::Update(float dt, YMatrix* m) {
    phase = WrapDegrees(phase + dt * phaseSpeed);
    const float k = Swing(phase, min, max);
    // A range that reaches 0 would scale by infinity there; that step leaves the matrix as it is.
    if (std::fabs(k) < 1e-6f) return true;
    const float f = 1.0f / k;
    YMatrix mod = kIdentity;
    mod.m[0] = mod.m[5] = f;
    mod.m[8] = mod.m[9] = (1.0f - f) * 0.5f;
    PutInFront(mod, m);
    return true;
}

bool YModSwing::Update(float dt, YMatrix* m) {
    phase = WrapDegrees(phase + dt * phaseSpeed);
    PutInFront(TextureRotation(Swing(phase, minAngle, maxAngle)), m);
    return true;
}

YModTurn::YModTurn(float degrees) : matrix(TextureRotation(degrees)) {}

bool YModTurn::Update(float, YMatrix* m) {
    PutInFront(matrix, m);
    return true;
}

YModOffset::YModOffset(float x, float y) : matrix(kIdentity) {
    matrix.m[8] = x;
    matrix.m[9] = y;
}

bool YModOffset::Update(float, YMatrix* m) {
    PutInFront(matrix, m);
    return true;
}

YModFlip::YModFlip(bool x, bool y) : matrix(kIdentity) {
    if (x) matrix.m[0] = -1.0f;
    if (y) matrix.m[5] = -1.0f;
}

bool YModFlip::Update(float, YMatrix* m) {
    PutInFront(matrix, m);
    return true;
}

// ---------------------------------------------------------------- stages

YShaderStage::YShaderStage() {
    if (g_Render) states = g_Render->DefaultStageStates();
    matrix = kIdentity;
    identity = 1;
}

YShaderStage::~YShaderStage() = default;

void YShaderStage::Animate(float dt) {
    if (modifiers.empty()) return;
    matrix = kIdentity;
    bool unchanged = true;
    for (const std::unique_ptr<YMatrixMod>& mod : modifiers) {
        const bool changed = mod->Update(dt, &matrix);
        unchanged = unchanged && !changed;
    }
    identity = unchanged ? 1 : 0;
}

// ---------------------------------------------------------------- shaders

YShader::YShader(const std::string& name_) : name(name_) { Shaders().push_back(this); }

YShader::~YShader() {
    std::vector<YShader*>& list = Shaders();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == this) {
            list[i] = list.back();
            list.pop_back();
            break;
        }
    }
    DeleteStages();
}

void YShader::DeleteStages() {
    for (YShaderStageBase* s : stages) delete s;
    stages.clear();
}

YShaderStage* YShader::AddStage() {
    auto* stage = new YShaderStage();
    stages.push_back(stage);
    return stage;
}

void YShader::CopyLook(const YShader& source) {
    renderStates = source.renderStates;
    material = source.material;
    lighting = source.lighting;
    // Counted first and indexed each time: the source may be this shader, whose list grows.
    const std::size_t count = source.stages.size();
    for (std::size_t i = 0; i < count; ++i) {
        const YShaderStageBase* from = source.stages[i];
        YShaderStage* to = AddStage();
        to->texture = from->texture;
        to->states = from->states;
    }
}

YShader* YShader::Clone(const std::string& newName) const {
    auto* copy = new YShader(newName);
    copy->CopyLook(*this);
    return copy;
}

void YShader::Reset() {
    DeleteStages();
    lighting = 0;
    material = YMaterial();
    renderStates = YRenderStateBlock();
}

void YShader::Animate(float dt) {
    for (std::size_t i = 0; i < stages.size(); ++i) Stage(i)->Animate(dt);
}

YShader* FindShaderInList(const std::string& name) {
    for (YShader* s : Shaders())
        if (s->name == name) return s;
    return nullptr;
}

YShader* FindShader(const std::string& name) {
    if (YShader* found = FindShaderInList(name)) return found;
    return new YShader(name);
}

YShader* FindShader(const char* name) { return FindShader(std::string(name ? name : "")); }

void AnimateShaders(float dt) {
    for (YShader* s : Shaders()) s->Animate(dt);
}

const std::vector<YShader*>& ShaderList() { return Shaders(); }
