#pragma once
// The sound code reports a failed step by throwing its message text; the operation that began the
// work catches it and logs it with its own prefix ("DirectSound init error: %s", "SoundStream
// error: %s", "DirectSound error: %s"). The markup reader catches it as a std::exception too.
#include <stdexcept>
#include <string>

class YSoundError : public std::runtime_error {
public:
    explicit YSoundError(const std::string& message) : std::runtime_error(message) {}
};
