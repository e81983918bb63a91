#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// Fixed program paths are written the Windows way ("c:\korvel2000\..."); they resolve
// against a drive root, which is a real directory on this machine.
class Paths {
public:
    explicit Paths(std::filesystem::path driveRoot);

    // KORVEL_DRIVE when set, else the home directory.
    static std::filesystem::path defaultDriveRoot();

    const std::filesystem::path& driveRoot() const { return driveRoot_; }
    std::filesystem::path dataRoot() const;     // "c:\korvel2000"
    std::filesystem::path korvel96Root() const; // "c:\korvel96"
    std::filesystem::path suvakRoot() const;    // "c:\suvak"

    // "c:\korvel2000\Ankara\01\01-001" (any drive letter, either slash) to a real path under
    // the drive root. Each part that does not exist in its exact case resolves to an existing
    // entry differing only in case. Text that is not such a path is taken as a local path.
    std::filesystem::path resolve(std::string_view windowsPath) const;

    // The Windows form of a path under the drive root ("c:\korvel2000\Ankara"), as stored in
    // files; a path outside the drive root is returned in its generic form.
    std::string toWindows(const std::filesystem::path& path) const;

private:
    std::filesystem::path driveRoot_;
};

// Resolves each missing component of path to an existing sibling that differs only in case.
std::filesystem::path resolveCaseInsensitive(const std::filesystem::path& path);

// "*.HQ", "K*.DAT", "o*.**o": "*" any run, "?" one character, compared without case
// (ASCII and the Turkish letters).
bool matchesPattern(std::string_view name, std::string_view pattern);

// Regular files of dir whose names match pattern, sorted by name without case, as the
// file lists show them; the change journal's own files are left out. A missing directory gives an
// empty list.
std::vector<std::string> listFiles(const std::filesystem::path& dir, std::string_view pattern);
std::vector<std::string> listDirectories(const std::filesystem::path& dir);

std::string toLowerAscii(std::string_view text);

} // namespace korvel
