#pragma once
// The start-up slide show: full-screen slides (logos, title cards) played once before the first
// menu. Each slide is a picture centred over a coloured background; it fades in from black, stays,
// fades out to black, and the next slide follows. Key presses and clicks cut a slide short.
//
// The slides come from the "splash" tags of "splash\config.yml", read by the configuration
// (InstallSplashShowHook connects it to the show); their shaders are defined in
// "splash\shaders.yml". The frame calls Update and then Draw with identity world, view and
// projection, so the quads are given in clip space: the background fills the screen at depth 1,
// the picture lies at depth 0 and measures width x height units of an 800 x 600 screen.
#include <cstdint>
#include <vector>

#include "render/render_values.h"

class YShader;

struct YSplashSlide {
    YShader* picture; // shared, not owned
    YShader* background;
    float width; // in units of the 800 x 600 virtual screen
    float height;
    float colour[4]; // the background at full brightness
};

class YSplashShow {
public:
    enum Phase : uint32_t { FADING_IN = 0, SHOWING = 1, FADING_OUT = 2 };

    static constexpr float FADE_TIME = 2.0f; // seconds of fade-in and of fade-out
    static constexpr float SHOW_TIME = 3.0f; // seconds at full brightness

    YSplashShow() = default;

    // Appends a slide drawn with the shaders of these names.
    void AddSlide(const char* shader, const char* bgShader, const float colour[4], float width, float height);
    // Advances the current slide's phases by dt seconds; after a fade-out the next slide starts.
    void Update(float dt);
    // Draws the current slide; false once the show is over (nothing drawn then). A slide whose
    // picture could not be loaded is logged and passed over.
    bool Draw();
    // A fading-in slide fades out from the brightness it reached; a showing one fades out from
    // full brightness; a fading-out one goes on.
    void Skip();
    // Skip, and the show ends after this slide's fade-out.
    void SkipAll();

    // 1 while showing, otherwise the fade's progress (rising in, falling out).
    float Brightness() const;

    const std::vector<YSplashSlide>& Slides() const { return slides_; }
    uint32_t Index() const { return index_; }
    Phase CurrentPhase() const { return phase_; }
    float Timer() const { return timer_; }
    bool Over() const { return index_ >= slides_.size(); }

private:
    // Whether every picture the slide's picture shader names was loaded.
    static bool PictureLoaded(const YSplashSlide& slide);

    std::vector<YSplashSlide> slides_;
    uint32_t index_ = 0;
    uint32_t step_ = 1;  // added to the index after a slide; SkipAll makes it end the show
    float timer_ = 0.0f; // seconds into the phase; counts down while fading out
    Phase phase_ = FADING_IN;
    YTexVertex background_[4];
    YTexVertex picture_[4];
    bool built_ = false;
};

// The one slide show.
extern YSplashShow g_SplashShow;

// Makes the configuration's "splash" tags append their slides to g_SplashShow. Call before
// "splash\config.yml" is read.
void InstallSplashShowHook();
