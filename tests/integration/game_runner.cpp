#include "integration/game_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>

extern char** environ;

namespace itest {
namespace fs = std::filesystem;

namespace {

// This process's environment with `set` replacing or adding entries; SDL picks its video driver
// itself (X11 here).
std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& set) {
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e) {
        const std::string entry = *e;
        const std::string key = entry.substr(0, entry.find('='));
        if (set.count(key) || key == "SDL_VIDEODRIVER" || key == "XAUTHORITY") continue;
        env.push_back(entry);
    }
    for (const auto& [key, value] : set) env.push_back(key + "=" + value);
    return env;
}

std::vector<char*> CStrings(const std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (const std::string& s : strings) out.push_back(const_cast<char*>(s.c_str()));
    out.push_back(nullptr);
    return out;
}

// Starts the program at the absolute path argv[0] with standard input from /dev/null and
// standard output and error on `outFd` and `errFd` (-1: /dev/null).
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, const char* cwd, int outFd,
            int errFd) {
    // Everything the child needs is made before fork: after it only async-signal-safe calls.
    std::vector<char*> args = CStrings(argv);
    std::vector<char*> envp = CStrings(env);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (cwd && chdir(cwd) != 0) _exit(127);
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) dup2(null, 0);
    dup2(outFd >= 0 ? outFd : null, 1);
    dup2(errFd >= 0 ? errFd : null, 2);
    execve(args[0], args.data(), envp.data());
    _exit(127);
}

// The program's full path from PATH, or "".
std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (dir.empty()) continue;
        const std::string candidate = dir + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return "";
}

// Reaps `pid`, killing it when it has not ended by `deadline`.
void EndProcess(pid_t pid, Clock::time_point deadline) {
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() >= deadline) {
            kill(pid, SIGKILL);
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

} // namespace

std::string ToolsUnavailableReason() {
    for (const char* tool : {"Xvfb", "xdotool"}) {
        if (FindProgram(tool).empty()) {
            return std::string(tool) +
                   " is not installed: the tests that run the game need it (scripts/setup installs it)";
        }
    }
    return "";
}

// ---- Scratch ----------------------------------------------------------------------------------

Scratch::Scratch() {
    std::string pattern = (fs::temp_directory_path() / "korvelin_it_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    root_ = pattern;
    runtime_ = root_ / "run";
    fs::create_directory(runtime_);
    fs::permissions(runtime_, fs::perms::owner_all, fs::perm_options::replace);
}

Scratch::~Scratch() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

fs::path Scratch::NewGameFolder(const std::string& name) {
    const fs::path source = KORVELIN_GAME_DIR;
    const fs::path exeName = fs::path(KORVELIN_EXE).filename();
    const fs::path folder = root_ / name;
    fs::create_directory(folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(source)) {
        const fs::path entryName = entry.path().filename();
        if (entryName == exeName || entryName == "log.txt" || entryName == "config.yml") continue;
        fs::copy(entry.path(), folder / entryName, fs::copy_options::recursive);
    }
    return folder;
}

// ---- XServer ----------------------------------------------------------------------------------

XServer::XServer(const fs::path& logFile) {
    const std::string xvfb = FindProgram("Xvfb");
    if (xvfb.empty()) {
        error_ = "Xvfb is not installed";
        return;
    }
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) {
        error_ = "no pipe";
        return;
    }
    const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    // -displayfd: the server picks a free display number and writes it (to its standard output
    // here) once it accepts connections. -noreset: it stays as it is between clients.
    pid_ = Spawn({xvfb, "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
                 EnvironmentWith({}), nullptr, ready[1], log);
    close(ready[1]);
    if (log >= 0) close(log);
    if (pid_ < 0) {
        close(ready[0]);
        error_ = "cannot start Xvfb";
        return;
    }
    readyFd_ = ready[0];

    std::string number;
    const Clock::time_point deadline = Clock::now() + PROCESS_TIMEOUT;
    while (Clock::now() < deadline) {
        pollfd p{readyFd_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        char c;
        const ssize_t n = read(readyFd_, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break; // the server ended
        if (c == '\n') {
            if (!number.empty()) display_ = ":" + number;
            break;
        }
        number += c;
    }
    if (display_.empty()) error_ = "Xvfb did not become ready; its messages are in " + logFile.string();
}

void XServer::Stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        EndProcess(pid_, Clock::now() + std::chrono::seconds(5));
        pid_ = -1;
    }
}

XServer::~XServer() {
    Stop();
    // Kept open while the server runs: it must never meet a closed pipe on its output.
    if (readyFd_ >= 0) close(readyFd_);
}

// ---- GameProcess ------------------------------------------------------------------------------

GameProcess::GameProcess(const fs::path& gameFolder, const fs::path& runtimeDir, const std::string& display,
                         const std::vector<std::string>& args, const fs::path& outputFile)
    : display_(display), outputFile_(outputFile), logFile_(gameFolder / "log.txt") {
    std::vector<std::string> argv = {KORVELIN_EXE};
    argv.insert(argv.end(), args.begin(), args.end());
    const std::vector<std::string> env = EnvironmentWith({
        {"DISPLAY", display},
        {"KORVELIN_NO_MESSAGEBOX", "1"},
        {"ALSOFT_DRIVERS", "null"},
        {"XDG_RUNTIME_DIR", runtimeDir.string()},
    });
    const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    started_ = Clock::now();
    pid_ = Spawn(argv, env, gameFolder.c_str(), out, out);
    if (out >= 0) close(out);
}

GameProcess::~GameProcess() { Kill(); }

void GameProcess::Reap(int status) {
    ended_ = true;
    if (WIFEXITED(status)) {
        exitCode_ = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        termSignal_ = WTERMSIG(status);
    }
}

bool GameProcess::Running() {
    if (pid_ <= 0 || ended_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) Reap(status);
    return !ended_;
}

bool GameProcess::WaitUntil(Clock::time_point deadline) {
    while (Running()) {
        if (Clock::now() >= deadline) return false;
        SleepMs(10);
    }
    return pid_ > 0;
}

bool GameProcess::WaitExit() {
    if (WaitUntil(started_ + PROCESS_TIMEOUT)) return true;
    Kill();
    return false;
}

void GameProcess::Signal(int signal) {
    if (Running()) kill(pid_, signal);
}

void GameProcess::Kill() {
    if (!Running()) return;
    kill(pid_, SIGKILL);
    int status = 0;
    pid_t r;
    do {
        r = waitpid(pid_, &status, 0);
    } while (r < 0 && errno == EINTR);
    if (r == pid_) Reap(status);
}

std::string GameProcess::Output() const { return ReadFile(outputFile_); }

std::string GameProcess::Describe() const {
    std::ostringstream text;
    if (!ended_)
        text << "still running";
    else if (termSignal_)
        text << "ended by signal " << termSignal_;
    else
        text << "exit code " << exitCode_;
    text << "\n--- its output:\n" << Output();
    // The log says why a copy ended on its own (a fatal message ends it with code 0, as the game
    // always did); its last lines are enough for that.
    const std::vector<std::string> log = ReadLines(logFile_);
    text << "\n--- the end of its log.txt:\n";
    for (std::size_t i = log.size() > 30 ? log.size() - 30 : 0; i < log.size(); ++i) text << log[i] << "\n";
    return text.str();
}

// ---- Commands ---------------------------------------------------------------------------------

CommandResult RunCommand(const std::vector<std::string>& argv, const std::string& display,
                         std::chrono::milliseconds timeout) {
    CommandResult result;
    std::vector<std::string> args = argv;
    args[0] = FindProgram(argv[0]);
    if (args[0].empty()) return result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return result;
    const pid_t pid = Spawn(args, EnvironmentWith({{"DISPLAY", display}}), nullptr, fds[1], -1);
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return result;
    }
    const Clock::time_point deadline = Clock::now() + timeout;
    bool eof = false, exited = false;
    int status = 0;
    while (!(eof && exited)) {
        if (Clock::now() >= deadline) {
            close(fds[0]);
            if (!exited) EndProcess(pid, deadline);
            return result;
        }
        if (!eof) {
            pollfd p{fds[0], POLLIN, 0};
            if (poll(&p, 1, 10) > 0) {
                char buffer[4096];
                const ssize_t n = read(fds[0], buffer, sizeof buffer);
                if (n > 0)
                    result.output.append(buffer, static_cast<std::size_t>(n));
                else if (n == 0 || errno != EINTR)
                    eof = true;
            }
        } else {
            SleepMs(5);
        }
        if (!exited && waitpid(pid, &status, WNOHANG) == pid) exited = true;
    }
    close(fds[0]);
    result.finished = true;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string WaitForWindow(GameProcess& process, const std::string& title) {
    const Clock::time_point deadline = Clock::now() + PROCESS_TIMEOUT;
    const std::string pid = std::to_string(process.Pid());
    while (process.Running() && Clock::now() < deadline) {
        // Only this process's windows: a test may run several copies at once.
        const CommandResult found =
            RunCommand({"xdotool", "search", "--all", "--onlyvisible", "--pid", pid, "--name", "^" + title + "$"},
                       process.Display(), COMMAND_TIMEOUT);
        if (found.finished && found.exitCode == 0) {
            std::istringstream lines(found.output);
            std::string id;
            if (std::getline(lines, id) && !id.empty()) return id;
        }
        SleepMs(50);
    }
    return "";
}

bool PressUntilExit(GameProcess& process, const std::string& windowId, const std::string& key) {
    const Clock::time_point deadline = Clock::now() + PROCESS_TIMEOUT;
    while (Clock::now() < deadline) {
        // The window may already be gone when the key's release is sent; that is not a failure.
        RunCommand({"xdotool", "key", "--window", windowId, key}, process.Display(), COMMAND_TIMEOUT);
        if (process.WaitUntil(std::min(deadline, Clock::now() + std::chrono::seconds(1)))) return true;
    }
    process.Kill();
    return false;
}

Picture Shoot(GameProcess& process, const std::string& windowId, const fs::path& file) {
    Picture p;
    const CommandResult r =
        RunCommand({"import", "-window", windowId, "-depth", "8", file.string()}, process.Display(), COMMAND_TIMEOUT);
    if (!r.finished || r.exitCode != 0) return p;
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> p.width >> p.height >> maxValue;
    in.get();
    if (magic != "P6" || p.width <= 0 || p.height <= 0 || maxValue != 255 || p.width > 4096 || p.height > 4096)
        return {};
    p.rgb.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 3);
    in.read(reinterpret_cast<char*>(p.rgb.data()), static_cast<std::streamsize>(p.rgb.size()));
    if (!in) return {};
    return p;
}

bool WaitForPicture(GameProcess& process, const std::string& windowId, const fs::path& file,
                    const std::function<bool(const Picture&)>& shows, Picture* last) {
    const Clock::time_point deadline = Clock::now() + PROCESS_TIMEOUT;
    while (process.Running() && Clock::now() < deadline) {
        Picture picture = Shoot(process, windowId, file);
        const bool found = !picture.Empty() && shows(picture);
        if (last) *last = std::move(picture);
        if (found) return true;
        SleepMs(200);
    }
    return false;
}

// ---- Files ------------------------------------------------------------------------------------

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> ReadLines(const fs::path& file) {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(file));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> ListFolder(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace itest
