#pragma once
// A scratch folder for tests that touch files: made empty under the system's temporary folder and
// removed with everything in it when the object goes. Optionally the working directory moves into
// it for the object's life, for code that reads paths relative to the game folder.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

namespace testsupport {

class TempDir {
public:
    explicit TempDir(bool enter = false) {
        namespace fs = std::filesystem;
        fs::path base = fs::temp_directory_path();
        // create_directory fails when the name exists, so parallel runs never share a folder.
        for (int n = 0;; ++n) {
            fs::path candidate = base / ("korvelin_test_" + std::to_string(n));
            std::error_code ec;
            if (fs::create_directory(candidate, ec)) {
                path_ = candidate;
                break;
            }
            if (ec && ec != std::errc::file_exists) throw fs::filesystem_error("TempDir", candidate, ec);
        }
        if (enter) {
            previous_ = fs::current_path();
            fs::current_path(path_);
        }
    }
    ~TempDir() {
        std::error_code ec;
        if (!previous_.empty()) std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // Absolute path of `relative` ('/' separated) inside the folder.
    std::string File(std::string_view relative) const { return (path_ / relative).string(); }

    void Write(std::string_view relative, std::string_view bytes) const {
        std::ofstream out(path_ / relative, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string Read(std::string_view relative) const {
        std::ifstream in(path_ / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists(std::string_view relative) const { return std::filesystem::exists(path_ / relative); }
    void MakeDir(std::string_view relative) const { std::filesystem::create_directories(path_ / relative); }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

} // namespace testsupport

// Some suites name it without the namespace.
using testsupport::TempDir;
