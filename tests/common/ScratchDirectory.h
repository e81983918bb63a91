#pragma once

#include "core/ByteIO.h"
#include "core/FileIO.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

namespace korvel::testing {

// A fresh directory under the system temporary directory, removed again at the end of a test.
class ScratchDirectory {
public:
    ScratchDirectory() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() / ("korvel-test-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDirectory() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Every file under the directory with its bytes, by relative path.
    std::map<std::string, Bytes> snapshot() const {
        std::map<std::string, Bytes> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_))
            if (entry.is_regular_file())
                files[std::filesystem::relative(entry.path(), path_).generic_string()] =
                    *readFileBytes(entry.path());
        return files;
    }

private:
    std::filesystem::path path_;
};

inline void writeBytes(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Bytes at [offset, offset + count) of a buffer.
inline Bytes slice(const Bytes& bytes, std::size_t offset, std::size_t count) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

} // namespace korvel::testing
