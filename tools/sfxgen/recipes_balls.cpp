// Ball sounds: the racket's kick for each ball mode (a soft thump and a slap, dressed with the
// mode's character), the table wall, the mode change, a ball bursting and a small ball appearing.
#include <cmath>

#include "tools/sfxgen/recipes.h"

namespace sfx {

namespace {

// The plain kick: a pitch-dropping thump, a leathery slap and a short "pock".
void KickBody(Sound& s, dsp::Rng& rng, double level) {
    AddThump(s, 0.0, rng.Range(130.0, 150.0), 60.0, 1.0 * level, 0.07);
    AddNoise(s, rng, 0.0, Env{0.0005, 0.0, 0.012}, 0.5 * level, Filter::Band, rng.Range(1200.0, 1600.0), 0.9);
    AddStrike(s, rng, 0.0, rng.Range(280.0, 330.0), {{1.0, 1.0, 0.03}, {2.3, 0.3, 0.015}}, 0.4 * level, 0.03);
}

} // namespace

// Three kicks that are heard apart, not three takes of one: the plain kick, a higher and drier
// "tock" off the racket's edge, and a deeper, rounder hit off its middle.
void Kick(Sound& s, dsp::Rng& rng, int variant) {
    switch (variant % 3) {
        case 0: KickBody(s, rng, 1.0); break;
        case 1:
            AddThump(s, 0.0, rng.Range(210.0, 230.0), 120.0, 0.7, 0.035);
            AddNoise(s, rng, 0.0, Env{0.0003, 0.0, 0.006}, 0.6, Filter::Band, rng.Range(2600.0, 3000.0), 1.2);
            AddStrike(s, rng, 0.0, rng.Range(520.0, 560.0), {{1.0, 1.0, 0.02}, {2.9, 0.45, 0.01}}, 0.6, 0.02);
            break;
        default:
            AddThump(s, 0.0, rng.Range(95.0, 105.0), 45.0, 1.0, 0.11);
            AddNoise(s, rng, 0.0, Env{0.001, 0.0, 0.02}, 0.35, Filter::Low, rng.Range(600.0, 800.0), 0.8);
            AddStrike(s, rng, 0.004, rng.Range(190.0, 210.0), {{1.0, 1.0, 0.06}, {1.7, 0.5, 0.04}}, 0.45, 0.05);
            break;
    }
}

void KickHeavy(Sound& s, dsp::Rng& rng, int) {
    AddThump(s, 0.0, 100.0, 42.0, 1.0, 0.12);
    AddStrike(s, rng, 0.0, rng.Range(250.0, 290.0), {{1.0, 0.5, 0.25}, {2.76, 0.3, 0.15}, {5.4, 0.15, 0.08}}, 0.8,
              0.02);
    AddNoise(s, rng, 0.0, Env{0.0008, 0.0, 0.03}, 0.5, Filter::Low, 700.0, 0.7);
}

void KickFire(Sound& s, dsp::Rng& rng, int) {
    KickBody(s, rng, 0.8);
    AddNoiseSweep(s, rng, 0.0, Env{0.02, 0.05, 0.12}, 0.5, Filter::Band, 600.0, 2600.0, 1.2, 0.3);
    AddCrackle(s, rng, 0.02, 0.4, 60.0, 0.3, 3000.0, 2.0);
}

void KickElectro(Sound& s, dsp::Rng& rng, int) {
    KickBody(s, rng, 0.8);
    AddBuzz(s, rng, 0.0, rng.Range(100.0, 120.0), 0.45, Env{0.001, 0.03, 0.07}, 2000.0);
    AddCrackle(s, rng, 0.0, 0.2, 120.0, 0.25, 5000.0, 1.5);
}

void KickSmall(Sound& s, dsp::Rng& rng, int) {
    AddThump(s, 0.0, rng.Range(300.0, 340.0), 190.0, 0.8, 0.035);
    AddNoise(s, rng, 0.0, Env{0.0004, 0.0, 0.006}, 0.4, Filter::Band, 2500.0, 1.0);
    AddStrike(s, rng, 0.0, rng.Range(580.0, 640.0), {{1.0, 1.0, 0.025}, {2.4, 0.3, 0.012}}, 0.35, 0.03);
}

// The table's wall: a woody knock, a hollow low "bonk" and a bright clack with a short ring.
void WallStroke(Sound& s, dsp::Rng& rng, int variant) {
    switch (variant % 3) {
        case 0:
            AddThump(s, 0.0, 170.0, 110.0, 0.8, 0.04);
            AddStrike(s, rng, 0.0, rng.Range(480.0, 560.0), {{1.0, 0.5, 0.03}, {2.6, 0.25, 0.018}}, 0.8, 0.04);
            AddNoise(s, rng, 0.0, Env{0.0004, 0.0, 0.004}, 0.35, Filter::Band, 1500.0, 1.0);
            break;
        case 1:
            AddThump(s, 0.0, 120.0, 75.0, 0.9, 0.07);
            AddStrike(s, rng, 0.0, rng.Range(250.0, 280.0), {{1.0, 0.8, 0.08}, {1.5, 0.4, 0.05}}, 0.7, 0.03);
            AddNoise(s, rng, 0.0, Env{0.001, 0.0, 0.01}, 0.25, Filter::Low, 900.0, 0.8);
            break;
        default:
            AddStrike(s, rng, 0.0, rng.Range(1100.0, 1250.0), {{1.0, 0.7, 0.05}, {2.2, 0.4, 0.03}, {3.9, 0.2, 0.02}},
                      0.7, 0.02);
            AddNoise(s, rng, 0.0, Env{0.0002, 0.0, 0.003}, 0.6, Filter::Band, 4000.0, 1.5);
            AddThump(s, 0.0, 240.0, 180.0, 0.4, 0.02);
            break;
    }
}

void Mutation(Sound& s, dsp::Rng& rng, int) {
    // A major chord sliding up an octave, with sparkles on top.
    const double base = 330.0;
    const double chord[] = {1.0, 1.26, 1.5};
    for (double r : chord)
        AddGlide(s, 0.0, base * r, base * r * 2.0, 0.45, 0.3, Env{0.05, 0.25, 0.12}, Wave::Triangle, 0.01, 6.0);
    for (int k = 0; k < 12; ++k) {
        const double u = rng.Uniform();
        const double t = 0.05 + 0.5 * std::sqrt(u);
        const double f = rng.Range(2000.0, 5000.0);
        AddBell(s, t, f, 0.12, Env{0.001, 0.0, 0.06}, 2.0, 0.8);
    }
}

void DestroyBall(Sound& s, dsp::Rng& rng, int) {
    AddNoiseSweep(s, rng, 0.0, Env{0.001, 0.01, 0.12}, 0.9, Filter::Low, 5000.0, 300.0, 0.7, 0.3);
    AddGlide(s, 0.0, 620.0, 140.0, 0.25, 0.5, Env{0.002, 0.02, 0.1}, Wave::Triangle);
    AddThump(s, 0.0, 120.0, 60.0, 0.5, 0.06);
}

void SmallBall(Sound& s, dsp::Rng&, int) {
    AddGlide(s, 0.0, 420.0, 900.0, 0.07, 0.8, Env{0.002, 0.03, 0.06});
    AddGlide(s, 0.07, 600.0, 1300.0, 0.06, 0.5, Env{0.002, 0.02, 0.05});
    AddBell(s, 0.12, 1300.0, 0.2, Env{0.002, 0.0, 0.1}, 2.0, 0.6);
}

} // namespace sfx
