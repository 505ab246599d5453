#include "render/scene/splash_show.h"

#include "core/color.h"
#include "core/init.h"
#include "core/log.h"
#include "render/render.h"
#include "render/shader.h"
#include "render/texture.h"

YSplashShow g_SplashShow;

namespace {

// The step SkipAll sets: it takes the index past any real slide list, so the show ends.
constexpr uint32_t SKIP_ALL_STEP = 100;

constexpr float LO = 0.001f;
constexpr float HI = 0.999f;

void SetQuad(YTexVertex q[4], float w, float h, float z) {
    const float corners[4][4] = {{-w, -h, LO, HI}, {w, -h, HI, HI}, {w, h, HI, LO}, {-w, h, LO, LO}};
    for (int i = 0; i < 4; ++i) {
        q[i].pos = YVector(corners[i][0], corners[i][1], z);
        q[i].uv = YVector2(corners[i][2], corners[i][3]);
        q[i].uv2 = q[i].uv;
    }
}

} // namespace

void YSplashShow::AddSlide(const char* shader, const char* bgShader, const float colour[4], float width, float height) {
    YSplashSlide slide;
    slide.picture = FindShader(shader);
    slide.background = FindShader(bgShader);
    slide.width = width;
    slide.height = height;
    for (int i = 0; i < 4; ++i) slide.colour[i] = colour[i];
    slides_.push_back(slide);
}

void YSplashShow::Update(float dt) {
    if (index_ >= slides_.size()) return;
    switch (phase_) {
        case FADING_IN:
            timer_ += dt;
            if (timer_ > FADE_TIME) {
                timer_ -= FADE_TIME;
                phase_ = SHOWING;
            }
            break;
        case SHOWING:
            timer_ += dt;
            if (timer_ > SHOW_TIME) {
                timer_ = FADE_TIME - (timer_ - SHOW_TIME);
                phase_ = FADING_OUT;
            }
            break;
        case FADING_OUT:
            timer_ -= dt;
            if (timer_ < 0.0f) {
                timer_ = -timer_;
                index_ += step_;
                phase_ = FADING_IN;
            }
            break;
    }
}

float YSplashShow::Brightness() const { return phase_ == SHOWING ? 1.0f : timer_ / FADE_TIME; }

bool YSplashShow::PictureLoaded(const YSplashSlide& slide) {
    for (const YShaderStageBase* stage : slide.picture->stages)
        if (stage->texture && !stage->texture->deviceTexture) return false;
    return true;
}

bool YSplashShow::Draw() {
    // Pictures are known to be missing only once the device has tried to load them.
    while (g_Render && index_ < slides_.size() && !PictureLoaded(slides_[index_])) {
        LogPrintf(g_Log, "Splash slide %u skipped, picture of shader \"%s\" not loaded", index_,
                  slides_[index_].picture->name.c_str());
        ++index_;
        timer_ = 0.0f;
        phase_ = FADING_IN;
    }
    if (index_ >= slides_.size()) return false;
    if (!g_Render) return true;

    if (!built_) {
        SetQuad(background_, 1.0f, 1.0f, 1.0f);
        built_ = true;
    }
    const YSplashSlide& slide = slides_[index_];
    const float f = Brightness();

    float colour[4];
    Vec4Scale(colour, slide.colour, f);
    g_Render->SetShaderColor(slide.background, colour);
    g_Render->DrawTexQuad(background_);

    // A picture without area would draw nothing; the background alone is the slide.
    if (slide.width == 0.0f || slide.height == 0.0f) return true;
    SetQuad(picture_, slide.width / 800.0f, slide.height / 600.0f, 0.0f);
    const float tint[4] = {f, f, f, 1.0f};
    g_Render->SetShaderColor(slide.picture, tint);
    g_Render->DrawTexQuad(picture_);
    return true;
}

void YSplashShow::Skip() {
    if (phase_ == FADING_IN) {
        phase_ = FADING_OUT;
    } else if (phase_ == SHOWING) {
        phase_ = FADING_OUT;
        timer_ = FADE_TIME;
    }
}

void YSplashShow::SkipAll() {
    Skip();
    step_ = SKIP_ALL_STEP;
}

void InstallSplashShowHook() {
    InitHooks().addSplashSlide = [](const std::string& shader, const std::string& bgShader, const YColor& bg,
                                    float width, float height) {
        const float colour[4] = {bg.r, bg.g, bg.b, bg.a};
        g_SplashShow.AddSlide(shader.c_str(), bgShader.c_str(), colour, width, height);
    };
}
