#pragma once
// A scratch folder for fuzz targets whose readers take a file name: one fresh folder per process
// under the system's temporary folder, removed with its files at exit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

class FuzzScratch {
public:
    explicit FuzzScratch(const std::string& prefix) {
        namespace fs = std::filesystem;
        for (int n = 0;; ++n) {
            fs::path candidate = fs::temp_directory_path() / ("korvelin_fuzz_" + prefix + "_" + std::to_string(n));
            std::error_code ec;
            if (fs::create_directory(candidate, ec)) {
                dir_ = candidate;
                break;
            }
            if (ec && ec != std::errc::file_exists) std::abort();
        }
    }
    ~FuzzScratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    FuzzScratch(const FuzzScratch&) = delete;
    FuzzScratch& operator=(const FuzzScratch&) = delete;

    // The path of a file in the folder.
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // Writes the input to the named file and returns its path.
    std::string Write(const std::string& name, const uint8_t* data, std::size_t size) const {
        std::string path = Path(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (size) out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path;
    }

private:
    std::filesystem::path dir_;
};
