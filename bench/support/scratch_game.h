#pragma once
// A scratch game folder for benchmarks that run the game's code on the shipped data: a temporary
// folder with links to every entry of the built game folder, except the configuration (written
// fresh from the text given), the log and the executable. What the game writes while it runs
// (config.yml, log.txt) stays in the scratch folder. Removed again by the destructor.
#include <filesystem>

namespace benchgame {

// The configuration the benchmarks of the whole game run with: windowed 800 x 600, sound and music
// on, shadows on, no fps counter, English, no tips.
inline constexpr const char* WINDOWED_CONFIG =
    "<config>\n"
    "<video fullscreen=\"0\" mode=\"800x600:32\" double_buffer=\"1\">\n"
    "<window width=\"800\" height=\"600\" maximize=\"0\">\n"
    "<sound volume=\"1\" music=\"1\">\n"
    "<render fps=\"0\" shadows=\"1\">\n"
    "<interface language=\"english\" showtips=\"0\">\n"
    "</config>\n";

class ScratchGame {
public:
    explicit ScratchGame(const char* config);
    ~ScratchGame();
    ScratchGame(const ScratchGame&) = delete;
    ScratchGame& operator=(const ScratchGame&) = delete;

    // Empty when the folder could not be made.
    const std::filesystem::path& Root() const { return root_; }

    // Makes the scratch folder the working folder, remembering the one before; Leave goes back to
    // it (nothing when Enter was not called).
    void Enter();
    void Leave();

private:
    std::filesystem::path root_;
    std::filesystem::path previous_;
};

} // namespace benchgame
