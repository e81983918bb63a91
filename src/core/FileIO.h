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
// The same, and nothing for a file of more than sizeLimit bytes, which is not read at all.
std::optional<Bytes> readFileBytes(const std::filesystem::path& path, std::uintmax_t sizeLimit);
// The size of a regular file; nothing for anything else.
std::optional<std::uintmax_t> regularFileSize(const std::filesystem::path& path);
bool fileExists(const std::filesystem::path& path);

// Writes the bytes to a temporary file in the same directory ("<name>.tmp<pid>_<stamp>_<n>"),
// flushes it to disk and renames it over the target, then flushes the directory: readers see
// either the old or the new file, never a half-written one, also after a crash. The new file
// keeps the permission bits of the one it replaces; a file its owner may not write (made
// read-only by the user) is not replaced and FileError is thrown.
void writeFileAtomic(const std::filesystem::path& path, const Bytes& bytes);
void writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// Removes a regular file and flushes its directory; false when there was none or it could not
// go. Like the writes here, the removal is told to the installed FileWriteJournal.
bool removeFile(const std::filesystem::path& path);

// Removes the temporaries of writeFileAtomic that a writer killed before its rename left in
// the directory (those whose process no longer runs); returns how many went.
std::size_t removeStaleTemporaries(const std::filesystem::path& dir);

// Record n (from 1) of a file held in memory; records past the end read as zeros.
Bytes recordAt(const Bytes& file, std::size_t recordSize, std::size_t n);
// Number of records a file of this size holds, counting a trailing partial record.
std::size_t recordCount(const Bytes& file, std::size_t recordSize);

// Writes the given records (numbered from 1) into the file. A record past the end extends the
// file, the gap filled with zero bytes. One record of an existing file is overwritten in place;
// a new file, or several records, are written as a whole file through writeFileAtomic. A
// read-only file is refused like there.
void writeRecords(const std::filesystem::path& path, std::size_t recordSize,
                  const std::map<std::size_t, Bytes>& records);

} // namespace korvel
