#pragma once

#include "core/ByteIO.h"
#include "core/Paths.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace korvel {

// A zip archive could not be written or read; the message names the problem.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An archive that is refused before anything is written: an entry whose name holds a path or
// is not the archive's file, more or fewer than one file, or contents beyond the size limit.
class ArchiveRefused : public ArchiveError {
public:
    using ArchiveError::ArchiveError;
};

// Compression into the data area itself is refused with this message.
inline constexpr std::string_view kWorkAreaRefusal = "Çalışma alanına sıkıştırma yapılamaz";
// At a drive root the archives go into this directory of it.
inline constexpr std::string_view kDriveRootArchiveDir = "korvelzip";
inline constexpr std::string_view kArchiveExtension = ".zip";

// No station file comes near this; an archive expanding beyond it is refused.
inline constexpr std::uint64_t kArchiveSizeLimit = 64ULL * 1024 * 1024;

// "2004_01-001.ard" -> "2004_01-001.ard.zip".
std::string archiveNameOf(std::string_view fileName);
// The file an archive restores: its name without the last four characters (".zip", any
// case); nothing for a name that does not end so.
std::optional<std::string> restoredNameOf(std::string_view archiveName);

// The directory the archives of a compression go to: the exchange directory itself, or at a
// drive root its "korvelzip" directory, created when missing. The data root and everything in
// it are refused with ArchiveRefused(kWorkAreaRefusal).
std::filesystem::path packingDirectory(const std::filesystem::path& exchangeDir, const Paths& paths,
                                       bool atDriveRoot);

// Compresses one file into archiveDir/<name>.zip, creating or replacing it whole (the new
// archive is completed under a temporary name first). Returns the archive's path.
std::filesystem::path packFile(const std::filesystem::path& file, const std::filesystem::path& archiveDir);

// The archive's one file, checked: exactly one entry, named expectedName (case aside) with no
// directory part, drive letter or backslash; unencrypted; at most sizeLimit bytes when
// expanded. Anything else throws ArchiveRefused; an archive that cannot be read throws
// ArchiveError.
Bytes readSingleFileArchive(const Bytes& archiveBytes, std::string_view expectedName,
                            std::uint64_t sizeLimit = kArchiveSizeLimit);

// Extracts an archive into stationDir under its name without ".zip", writing a temporary file
// and renaming it over the target. Nothing is written when the archive is refused.
std::filesystem::path unpackArchive(const std::filesystem::path& archive,
                                    const std::filesystem::path& stationDir,
                                    std::uint64_t sizeLimit = kArchiveSizeLimit);

} // namespace korvel
