#pragma once

// What the fuzz targets share: a failed property aborts, which libFuzzer reports as a crash.
#include "common/ScratchDirectory.h"
#include "core/ByteIO.h"
#include "core/OleDate.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>

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

// A directory of this process for the files a target writes, removed when the process ends.
// scripts/fuzz points the temporary directory at memory where it can: the writers flush every
// file they write.
inline const std::filesystem::path& scratchDir() {
    static const testing::ScratchDirectory scratch;
    return scratch.path();
}

} // namespace korvel::fuzz
