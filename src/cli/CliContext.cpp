#include "cli/CliContext.h"

#include "core/CsvText.h"
#include "core/FileIO.h"
#include "core/Numbers.h"

#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

fs::path CliContext::path(const std::string& argument) const {
    return paths.resolve(argument);
}

fs::path CliContext::existingFile(const std::string& argument) const {
    const fs::path p = path(argument);
    std::error_code ec;
    if (!fs::is_regular_file(p, ec))
        throw CliError("no such file: " + argument);
    return p;
}

fs::path CliContext::existingDirectory(const std::string& argument) const {
    const fs::path p = path(argument);
    std::error_code ec;
    if (!fs::is_directory(p, ec))
        throw CliError("no such directory: " + argument);
    return p;
}

Bytes CliContext::recordFile(const fs::path& file, std::size_t recordSize, std::uintmax_t sizeLimit,
                             const std::string& kind) const {
    const std::optional<std::uintmax_t> size = regularFileSize(file);
    if (!size)
        throw CliError("cannot read " + file.string());
    if (*size == 0)
        throw CliError("empty file, not a " + kind + ": " + file.string());
    if (*size > sizeLimit)
        throw CliError("not a " + kind + " (" + std::to_string(*size) +
                       " bytes, far more than the format holds): " + file.string());
    if (*size % recordSize != 0)
        throw CliError("not a " + kind + " (size " + std::to_string(*size) + " is no multiple of " +
                       std::to_string(recordSize) + "): " + file.string());
    std::optional<Bytes> bytes = readFileBytes(file, sizeLimit);
    if (!bytes)
        throw CliError("cannot read " + file.string());
    return std::move(*bytes);
}

nlohmann::json sheetToJson(const Sheet& sheet) {
    nlohmann::json grids = nlohmann::json::object();
    for (const auto& [name, table] : sheet.tables()) {
        nlohmann::json rows = nlohmann::json::array();
        for (int r = 0; r < table.rows(); ++r) {
            nlohmann::json row = nlohmann::json::array();
            for (int c = 0; c < table.columns(); ++c)
                row.push_back(table.cell(r, c));
            rows.push_back(std::move(row));
        }
        grids[name] = std::move(rows);
    }
    nlohmann::json texts = nlohmann::json::object();
    for (const auto& [name, text] : sheet.texts())
        texts[name] = text;
    return nlohmann::json{{"caption", sheet.caption}, {"grids", grids}, {"texts", texts}};
}

std::string sheetToText(const Sheet& sheet) {
    std::string text = sheet.caption + "\n";
    for (const auto& [name, table] : sheet.tables())
        text += "[" + name + "]\n" + table.clipboardText();
    for (const auto& [name, value] : sheet.texts())
        text += name + ": " + value + "\n";
    return text;
}

void CliContext::printSheet(const Sheet& sheet, const nlohmann::json& extra) const {
    if (!csvDir.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(csvDir, ignored);
        const char separator = csvSeparator(locale);
        for (const auto& [name, table] : sheet.tables())
            writeFileAtomic(csvDir / (name + ".csv"), csvText(table, separator));
        // The figures outside the grids (totals, maxima, the station header) go beside them.
        if (!sheet.caption.empty() || !sheet.texts().empty())
            writeFileAtomic(csvDir / (std::string(kCsvTextsName) + ".csv"), csvTextsOf(sheet, separator));
    }
    if (reportSink)
        reportSink(sheet);
    if (json) {
        nlohmann::json value = sheetToJson(sheet);
        if (extra.is_object())
            value.update(extra);
        printJson(value);
    } else
        *out << sheetToText(sheet);
}

void CliContext::printJson(const nlohmann::json& value) const {
    // Texts from files may hold bytes that are not UTF-8; replace rather than fail.
    *out << value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

void CliContext::printLine(const std::string& text) const {
    *out << text << "\n";
}

int parseYearArgument(const std::string& text) {
    if (text.size() != 4 || !isNumericText(text) || text.find_first_not_of("0123456789") != std::string::npos)
        throw CliError("not a four-digit year: " + text);
    const int year = static_cast<int>(numericValue(text));
    if (year < 1901 || year > 9998)
        throw CliError("year out of range: " + text);
    return year;
}

OleDate parseDateArgument(const std::string& text) {
    const auto date = parseDateText(text);
    if (!date || date->isEmpty())
        throw CliError("not a date (dd.mm.yyyy): " + text);
    return *date;
}

double parseNumberArgument(const std::string& text, const Locale& locale) {
    if (auto value = locale.parseNumber(text))
        return *value;
    if (isNumericText(text))
        return numericValue(text);
    throw CliError("not a number: " + text);
}

} // namespace korvel
