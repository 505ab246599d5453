#include "tools/meshgen/models.h"

namespace meshgen {

namespace {

// A plain model: "mesh\<name>.mes" with the mesh named <name>.
Model Plain(const std::string& name, std::function<MeshBuilder()> build) {
    return {"mesh\\" + name + ".mes", [name, build] { return build().Text(name); }};
}

} // namespace

const std::vector<Model>& Models() {
    static const std::vector<Model> models = {
        Plain("ball_norm", BallNormal),
        Plain("ball2", BallHeavy),
        Plain("ball_phant", BallPhantom),
        Plain("ball_sat", BallSatellites),
        Plain("disk", BonusDisk),
        Plain("bomb", Bomb),
        Plain("grenade", Grenade),
        Plain("boomer", Boomerang),
        Plain("pipe", Pipe),
        Plain("pyramid", TablePyramid),
        Plain("border", TableBorder),
        Plain("wheel1", [] { return PickerWheel(1); }),
        Plain("wheel2", [] { return PickerWheel(2); }),
        Plain("wheel3", [] { return PickerWheel(3); }),
        {"mesh\\hero.ams", HeroText},
    };
    return models;
}

} // namespace meshgen
