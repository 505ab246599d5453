#include "world/play/play_script_file.h"

#include <algorithm>
#include <cmath>

#include "platform/sys/files.h"
#include "platform/window/win_messages.h"

namespace {

// The game's steps of the launch elevation: a key press, and a wheel unit (120 a notch).
constexpr float KEY_AIM = 5.0f;
constexpr float WHEEL_AIM = 5.0f / 120.0f;

int FrameMs(float dt) { return std::max(1, static_cast<int>(std::lround((dt > 0.0f ? dt : 0.02f) * 1000.0f))); }

} // namespace

bool ScriptFromRecording(const std::vector<plat::RecordedMessage>& messages, YPlayScript& script, std::string& error) {
    script.frames.clear();
    const uint32_t frameMs = static_cast<uint32_t>(FrameMs(script.dt));
    if (!messages.empty() && messages.back().timeMs / frameMs >= static_cast<uint32_t>(MAX_SCRIPT_FRAMES)) {
        error = "plays longer than " + std::to_string(MAX_SCRIPT_FRAMES) + " frames";
        return false;
    }
    std::vector<YPlayFrame> frames;
    if (!messages.empty()) frames.assign(messages.back().timeMs / frameMs + 1, YPlayFrame{NAN, false});
    int width = DEFAULT_SCRIPT_WIDTH;
    for (const plat::RecordedMessage& r : messages) {
        YPlayFrame& f = frames[r.timeMs / frameMs];
        switch (r.msg.message) {
            case plat::WM_SIZE: {
                const int w = plat::LoWord(static_cast<uintptr_t>(r.msg.lParam));
                if (w > 0) width = w;
                break;
            }
            case plat::WM_MOUSEMOVE:
                f.target = 2.0f * static_cast<float>(plat::MouseX(r.msg.lParam)) / static_cast<float>(width) - 1.0f;
                break;
            case plat::WM_LBUTTONDOWN: f.click = true; break;
            case plat::WM_KEYDOWN:
                if (r.msg.wParam == plat::VK_SPACE) f.click = true;
                if (r.msg.wParam == plat::VK_UP) f.aim += KEY_AIM;
                if (r.msg.wParam == plat::VK_DOWN) f.aim -= KEY_AIM;
                break;
            case plat::WM_MOUSEWHEEL: f.aim -= static_cast<float>(plat::WheelDelta(r.msg.wParam)) * WHEEL_AIM; break;
            default: break;
        }
    }
    script.frames = std::move(frames);
    return true;
}

bool LoadPlayScript(const std::string& path, YPlayScript& script, std::string& error) {
    script.frames.clear();
    std::string bytes;
    const std::size_t maxBytes =
        plat::RECORDING_HEADER_BYTES + plat::MAX_RECORDED_MESSAGES * plat::RECORDED_MESSAGE_BYTES;
    switch (plat::ReadFile(path, bytes, maxBytes, false)) {
        case plat::ReadStatus::Ok: break;
        case plat::ReadStatus::Missing: error = path + ": missing"; return false;
        case plat::ReadStatus::TooLarge: error = path + ": larger than any recording"; return false;
        case plat::ReadStatus::Error: error = path + ": cannot be read"; return false;
    }
    std::vector<plat::RecordedMessage> messages;
    if (!plat::ParseRecording(bytes, messages, error) || !ScriptFromRecording(messages, script, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

std::vector<plat::RecordedMessage> RecordingFromScript(const YPlayScript& script, int width) {
    width = std::clamp(width, 1, 32767);
    const uint32_t frameMs = static_cast<uint32_t>(FrameMs(script.dt));
    std::vector<plat::RecordedMessage> out;
    out.push_back({0, {plat::WM_SIZE, 0, plat::MakeLParam(static_cast<uint16_t>(width), 600)}});
    int x = width / 2;
    for (std::size_t i = 0; i < script.frames.size(); ++i) {
        const YPlayFrame& f = script.frames[i];
        const uint32_t t = static_cast<uint32_t>(i) * frameMs;
        if (!std::isnan(f.target)) {
            const float px = (std::clamp(f.target, -1.0f, 1.0f) + 1.0f) * 0.5f * static_cast<float>(width);
            x = static_cast<int>(std::lround(px));
            out.push_back({t, {plat::WM_MOUSEMOVE, 0, plat::PackMousePos(x, 300)}});
        }
        if (f.aim != 0.0f) {
            const long delta = std::clamp(std::lround(-f.aim / WHEEL_AIM), -32768L, 32767L);
            out.push_back(
                {t,
                 {plat::WM_MOUSEWHEEL, plat::MakeWParam(0, static_cast<uint16_t>(static_cast<int16_t>(delta))),
                  plat::PackMousePos(x, 300)}});
        }
        if (f.click) {
            out.push_back({t, {plat::WM_LBUTTONDOWN, 1, plat::PackMousePos(x, 300)}});
            out.push_back({t, {plat::WM_LBUTTONUP, 0, plat::PackMousePos(x, 300)}});
        }
    }
    return out;
}

bool SavePlayScript(const std::string& path, const YPlayScript& script, int width, std::string& error) {
    const std::vector<plat::RecordedMessage> messages = RecordingFromScript(script, width);
    if (messages.size() > plat::MAX_RECORDED_MESSAGES) {
        error = "more than " + std::to_string(plat::MAX_RECORDED_MESSAGES) + " messages";
        return false;
    }
    if (!plat::WriteFileAtomic(path, plat::FormatRecording(messages))) {
        error = "could not write " + path;
        return false;
    }
    return true;
}
