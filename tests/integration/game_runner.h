#pragma once
// Runs the real executable the way a player does: in a scratch copy of the game folder, on an X
// server, with input sent by xdotool. Every wait has a deadline and every process a test starts
// is ended by the test, so a hanging game fails its test instead of hanging the suite.
//
// Each test starts its own X server (Xvfb). Tests run side by side, and on a shared server they
// disturb each other: a new window takes the input focus, and xdotool sends a key to a window
// that has the focus as a real key press, which then reaches whichever window has the focus by
// the time it arrives, possibly another test's game; and a server that resets when its last
// client leaves refuses the next test's connections for a moment.
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace itest {

using Clock = std::chrono::steady_clock;

// The longest any one process of a test may run before it is killed and the test fails, and the
// longest any wait for a state of the game may take. Every wait ends as soon as its state is
// reached, so this bound only costs time when a test fails: it is generous enough for a sanitizer
// build on a loaded machine of two cores, whose frames and starts take many times as long.
constexpr std::chrono::seconds PROCESS_TIMEOUT{120};

// The longest a helper program (xdotool, import) may take; it needs milliseconds when all is well.
constexpr std::chrono::seconds COMMAND_TIMEOUT{30};

// Why these tests cannot run here ("" when they can): Xvfb or xdotool missing.
std::string ToolsUnavailableReason();

// A scratch folder for one test: game folders copied from the built one, and the runtime folder
// ($XDG_RUNTIME_DIR) that every copy started by this test shares, so the single-instance lock
// meets only the test's own copies. Removed with everything in it at the end.
class Scratch {
public:
    Scratch();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    // A new copy of the built game folder named `name`, without the executable and without any
    // "log.txt" or "config.yml" a run in the build folder may have left there.
    std::filesystem::path NewGameFolder(const std::string& name);
    const std::filesystem::path& Root() const { return root_; }
    const std::filesystem::path& RuntimeDir() const { return runtime_; }

private:
    std::filesystem::path root_;
    std::filesystem::path runtime_;
};

// A private X server (Xvfb, 1024 x 768, 24 bits) on a free display number; stopped at the end.
class XServer {
public:
    // The server's own messages go to `logFile`.
    explicit XServer(const std::filesystem::path& logFile);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool Ok() const { return !display_.empty(); }
    // Ends the server now, as a lost display does.
    void Stop();
    // ":N", or "" when the server did not start (Error tells why).
    const std::string& Display() const { return display_; }
    const std::string& Error() const { return error_; }

private:
    pid_t pid_ = -1;
    int readyFd_ = -1;
    std::string display_;
    std::string error_;
};

// One run of the game executable with `args`, working in `gameFolder`, on `display`. Its
// standard output and error go to `outputFile` (keep it outside the game folder).
class GameProcess {
public:
    GameProcess(const std::filesystem::path& gameFolder, const std::filesystem::path& runtimeDir,
                const std::string& display, const std::vector<std::string>& args,
                const std::filesystem::path& outputFile);
    // Kills the process when it is still running.
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    const std::string& Display() const { return display_; }
    bool Running();
    // Waits until the process ends or `deadline` passes; false when it did not end in time.
    bool WaitUntil(Clock::time_point deadline);
    // Waits for the end; a process still running PROCESS_TIMEOUT after its start is killed and
    // false returned.
    bool WaitExit();
    void Signal(int signal);
    void Kill();

    // After the end: the exit code, or -1 when a signal ended it (TermSignal tells which).
    int ExitCode() const { return exitCode_; }
    int TermSignal() const { return termSignal_; }
    // What the process wrote to its standard output and error.
    std::string Output() const;
    // Exit code or signal, and the output: for failure messages.
    std::string Describe() const;

private:
    void Reap(int status);

    pid_t pid_ = -1;
    bool ended_ = false;
    int exitCode_ = -1;
    int termSignal_ = 0;
    Clock::time_point started_;
    std::string display_;
    std::filesystem::path outputFile_;
    std::filesystem::path logFile_; // the game's log.txt in its folder
};

// Runs a command on `display` to its end with its standard output captured; killed after
// `timeout`.
struct CommandResult {
    bool finished = false;
    int exitCode = -1;
    std::string output;
};
CommandResult RunCommand(const std::vector<std::string>& argv, const std::string& display,
                         std::chrono::milliseconds timeout);

// The id of a shown window of `process` titled exactly `title`, once there is one; "" when the
// process ends first or none shows within PROCESS_TIMEOUT.
std::string WaitForWindow(GameProcess& process, const std::string& title);

// Sends the key (xdotool name) to the window until the process ends; false when it does not end
// within PROCESS_TIMEOUT (it is killed then). Sending again covers a key that arrived before the
// window took input.
bool PressUntilExit(GameProcess& process, const std::string& windowId, const std::string& key);

// A screenshot of a window (binary PPM, 8 bits a channel); empty when none could be taken.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;

    bool Empty() const { return rgb.empty(); }
    // The pixel's colour channels.
    const unsigned char* At(int x, int y) const {
        return &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3];
    }
    // Whether the pixel is brighter than near-black.
    bool Lit(int x, int y) const {
        const unsigned char* c = At(x, y);
        return c[0] + c[1] + c[2] > 30;
    }
};

// Takes a picture of the window into `file` and reads it back.
Picture Shoot(GameProcess& process, const std::string& windowId, const std::filesystem::path& file);

// Takes pictures of the window until one `shows` what the test waits for (true), or the process
// ends or PROCESS_TIMEOUT passes (false). The last picture taken is left in `last`.
bool WaitForPicture(GameProcess& process, const std::string& windowId, const std::filesystem::path& file,
                    const std::function<bool(const Picture&)>& shows, Picture* last = nullptr);

// The lines of a text file (no line ends); empty when it cannot be read.
std::vector<std::string> ReadLines(const std::filesystem::path& file);
std::string ReadFile(const std::filesystem::path& file);
// The names of the entries directly in `folder`, sorted.
std::vector<std::string> ListFolder(const std::filesystem::path& folder);

} // namespace itest
