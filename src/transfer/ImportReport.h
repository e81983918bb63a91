#pragma once

#include "core/ByteIO.h"

#include <cstddef>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// What became of one source file of an import.
struct ImportOutcome {
    std::string fileName;
    // Why the file was left out as a whole; nothing was written for it.
    std::optional<std::string> skippedReason;
    // Parts of a converted file that were left out (a refused measurement line), one text each.
    std::vector<std::string> notes;
    std::size_t written = 0; // days, measurements or tables written
    std::filesystem::path target;

    bool skipped() const { return skippedReason.has_value(); }
};

// One line of the result list the import screens show at the end.
struct ImportLine {
    std::string fileName;
    std::string reason;
    bool skipped = true; // false: the file was converted, this part of it was not

    // "o0401001.11o: dosya çok kısa"
    std::string text() const { return fileName + ": " + reason; }
};

// The result list of a run over one or more files: one line per file left out, and one per
// part of a converted file that was left out.
class ImportReport {
public:
    void add(const ImportOutcome& outcome);
    void skip(const std::string& fileName, const std::string& reason);
    void note(const std::string& fileName, const std::string& reason);

    const std::vector<ImportLine>& lines() const { return lines_; }
    bool empty() const { return lines_.empty(); }
    std::size_t convertedFiles() const { return converted_; }
    std::vector<std::string> texts() const;
    void clear();

private:
    std::vector<ImportLine> lines_;
    std::size_t converted_ = 0;
};

// Reasons of the result list.
inline constexpr const char* kReasonBadName = "dosya adı beklenen biçimde değil";
inline constexpr const char* kReasonNotText = "metin dosyası değil";
inline constexpr const char* kReasonTooShort = "dosya çok kısa";
inline constexpr const char* kReasonUnreadable = "dosya okunamadı";
inline constexpr const char* kReasonNoStationNumber = "istasyon numarası yok";

// What every import of one file into a station checks first: the station number (trimmed) is
// not blank and the file can be read. Gives the file's bytes and the number, or nothing with the
// reason set in `outcome`.
struct ImportSource {
    Bytes bytes;
    std::string stationNumber;
};
std::optional<ImportSource> openImportSource(const std::filesystem::path& file,
                                             std::string_view stationNumber, ImportOutcome& outcome);

// The reason of a file whose target could not be written.
std::string writeFailureReason(const std::exception& error);

} // namespace korvel
