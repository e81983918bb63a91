#include "transfer/SuvakHq.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/StationFiles.h"
#include "transfer/SuvakFields.h"
#include "transfer/SuvakImport.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace fs = std::filesystem;

namespace {

using L = SuvakHqLayout;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The file's characters at positions 1..6000; past the end of the file, spaces.
class HqImage {
public:
    explicit HqImage(std::string_view text) : text_(text.substr(0, L::kImageSize)) {
        text_.resize(L::kImageSize, ' ');
    }
    std::string_view at(std::size_t position, std::size_t width) const {
        if (position == 0 || position > text_.size())
            return {};
        return std::string_view(text_).substr(position - 1, width);
    }
    char& operator[](std::size_t position) { return text_[position - 1]; }
    bool endsEntries(std::size_t position) const {
        const std::string_view run = at(position, L::kEndRun);
        return run.size() == L::kEndRun && run.find_first_not_of(' ') == std::string_view::npos;
    }

private:
    std::string text_;
};

OleDate dateAt(const HqImage& image, std::size_t position, const Locale& locale) {
    const std::string text = trimmed(cp1254ToUtf8(image.at(position, L::kDateWidth)));
    if (text.empty())
        return OleDate();
    return locale.parseDate(text).value_or(OleDate());
}

} // namespace

std::optional<std::string> suvakHqTableNumber(std::string_view fileName) {
    if (fileName.size() < 3 || !isDigit(fileName[1]) || !isDigit(fileName[2]) ||
        !matchesPattern(fileName, kSuvakHqPattern))
        return std::nullopt;
    return std::string(fileName.substr(1, 2));
}

HqTable convertSuvakHq(const Bytes& fileBytes, const Locale& locale) {
    if (!isSuvakText(fileBytes))
        throw SuvakFormatError(kReasonNotText);
    const std::string_view text = suvakTextOf(fileBytes);
    if (text.size() < L::kMinimumSize)
        throw SuvakFormatError(std::string(kReasonTooShort) + " (" + std::to_string(text.size()) +
                               " karakter, en az " + std::to_string(L::kMinimumSize) + " gerekir)");
    HqImage image(text);

    // Decimal points of the entry area are decimal separators.
    for (std::size_t p = L::kDecimalAreaFirst; p <= L::kDecimalAreaLast; ++p) {
        if (image.endsEntries(p))
            break;
        if (image[p] == '.')
            image[p] = ',';
    }

    HqTable table;
    for (std::size_t i = 1; i <= L::kEntries; ++i) {
        const std::size_t flag = L::entryFlag(i);
        if (image.endsEntries(flag))
            break;
        std::string discharge(image.at(flag + 1, L::kDischargeWidth));
        std::replace(discharge.begin(), discharge.end(), ',', '.');
        if (!trimmed(discharge).empty() && !isNumericText(discharge))
            throw SuvakFormatError("kayıt " + std::to_string(i) + " debisi sayı değil: \"" +
                                   cp1254ToUtf8(discharge) + "\"");
        table.discharge[i - 1] = static_cast<float>(numericValue(discharge));
        if (!std::isfinite(table.discharge[i - 1]))
            throw SuvakFormatError("kayıt " + std::to_string(i) + " debisi saklanamaz: \"" +
                                   cp1254ToUtf8(discharge) + "\"");
        table.keyFlags[i - 1] = image.at(flag, 1).front();
    }

    table.remarks = cp1254ToUtf8(image.at(L::kRemarks, L::kRemarksWidth));
    table.enteredBy = cp1254ToUtf8(image.at(L::kEnteredBy, L::kEnteredByWidth));
    table.createdOn = dateAt(image, L::kCreatedOn, locale);
    for (std::size_t j = 1; j <= HqTable::kPeriods; ++j) {
        table.validFrom[j] = dateAt(image, L::periodFrom(j), locale);
        table.validTo[j] = dateAt(image, L::periodTo(j), locale);
    }
    return table;
}

ImportOutcome importSuvakHq(const fs::path& file, const fs::path& stationDir, std::string_view stationNumber,
                            const Locale& locale) {
    ImportOutcome outcome;
    outcome.fileName = file.filename().string();
    const auto number = suvakHqTableNumber(outcome.fileName);
    if (!number) {
        outcome.skippedReason = kReasonBadName;
        return outcome;
    }
    const auto source = openImportSource(file, stationNumber, outcome);
    if (!source)
        return outcome;
    try {
        const HqTable table = convertSuvakHq(source->bytes, locale);
        outcome.target = stationFilePath(stationDir, *number + "_" + source->stationNumber + ".HQ");
        writeHqTable(outcome.target, table);
        outcome.written = 1;
    } catch (const SuvakFormatError& e) {
        outcome.skippedReason = e.what();
    } catch (const FileError& e) {
        outcome.skippedReason = writeFailureReason(e);
    }
    return outcome;
}

} // namespace korvel
