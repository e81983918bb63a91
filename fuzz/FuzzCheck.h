#pragma once

// What the fuzz targets share: a failed property aborts, which libFuzzer reports as a crash.
#include "core/ByteIO.h"
#include "core/OleDate.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <unistd.h>

namespace korvel::fuzz {

inline void check(bool condition) {
    if (!condition)
        std::abort();
}

// The input split at its first byte: the selector and the rest.
struct Input {
    std::uint8_t selector = 0;
    Bytes bytes;
    std::string_view text;
};

inline Input splitInput(const std::uint8_t* data, std::size_t size) {
    Input input;
    if (size == 0)
        return input;
    input.selector = data[0];
    input.bytes.assign(data + 1, data + size);
    input.text = std::string_view(reinterpret_cast<const char*>(data + 1), size - 1);
    return input;
}

// A date a day record may carry when a decoder made it: empty or a calendar day.
inline bool isStorableDate(OleDate date) {
    const double v = date.value();
    return v == 0.0 || (std::isfinite(v) && v >= OleDate::fromDate(100, 1, 1).value() &&
                        v < OleDate::fromDate(10000, 1, 1).value());
}

// Writes the bytes as the file's whole content, without the care of the program's own writers.
inline void putFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        std::abort();
}

// A directory of this process for the files a target writes, removed when the process ends.
inline const std::filesystem::path& scratchDir() {
    struct Scratch {
        std::filesystem::path path;
        Scratch() {
            // Memory-backed when the machine has it: the writers flush every file they write.
            std::error_code ec;
            const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                                   ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path();
            std::string pattern = (base / "korvel-fuzz-XXXXXX").string();
            if (::mkdtemp(pattern.data()) == nullptr)
                std::abort();
            path = pattern;
        }
        ~Scratch() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Scratch scratch;
    return scratch.path;
}

} // namespace korvel::fuzz
