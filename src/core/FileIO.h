#pragma once

#include "core/ByteIO.h"

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>

namespace korvel {

// A file that could not be read or written; the message names the file.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole file, or nothing when it cannot be opened.
std::optional<Bytes> readFileBytes(const std::filesystem::path& path);
bool fileExists(const std::filesystem::path& path);

// Writes the bytes to a temporary file in the same directory and renames it over the
// target, so that readers see either the old or the new file, never a half-written one.
void writeFileAtomic(const std::filesystem::path& path, const Bytes& bytes);
void writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// Record n (from 1) of a file held in memory; records past the end read as zeros.
Bytes recordAt(const Bytes& file, std::size_t recordSize, std::size_t n);
// Number of records a file of this size holds, counting a trailing partial record.
std::size_t recordCount(const Bytes& file, std::size_t recordSize);

// Overwrites the given records in place (creating the file when missing). A record past
// the end extends the file, the gap filled with zero bytes.
void writeRecords(const std::filesystem::path& path, std::size_t recordSize,
                  const std::map<std::size_t, Bytes>& records);

} // namespace korvel
