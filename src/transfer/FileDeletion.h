#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The deletion screen's caption, which is its standing warning, and its prompt.
inline constexpr std::string_view kDeletionCaption =
    "DİKKAT YAPACAĞINIZ İŞLEM \"SİLME İŞLEMİDİR\"  GERİ DÖNÜŞ OLMAYABİLİR.......";
inline constexpr std::string_view kDeletionPrompt = "DİKKAT !!!! SİLME İŞLEMİ DEVAM ETSİNMİ";

// The side file that goes with a day-readings file: "ABC5-10 .-4" has "ABC5-10 .m4",
// "ABC5-10 .-12" has "ABC5-10 .m12". Other names have none.
std::optional<std::string> companionName(std::string_view fileName);

// Deletes one file of a directory; a name with a directory part, a missing file and anything
// that is not a regular file are left alone. True when the file was deleted.
bool deleteStationFile(const std::filesystem::path& dir, std::string_view fileName);

struct DeletedFiles {
    bool file = false;
    bool companion = false; // false also when there is no companion
};

// Deletes the file and its companion, if it has one and it exists.
DeletedFiles deleteWithCompanion(const std::filesystem::path& dir, std::string_view fileName);

} // namespace korvel
