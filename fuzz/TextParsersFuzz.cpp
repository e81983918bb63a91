// libFuzzer target for the text parsers: CSV, dates, numbers, cp1254, and the station file paths
// built from names read from files. Whatever the text, a parsed date is a real date, a parsed
// number is finite, CSV written again reads back the same, and a station file path either is
// refused or lies inside its station directory.
#include "FuzzCheck.h"
#include "core/Cp1254.h"
#include "core/CsvText.h"
#include "core/FileIO.h"
#include "core/Locale.h"
#include "core/Numbers.h"
#include "core/StationFiles.h"
#include "core/Table.h"

using namespace korvel;
using korvel::fuzz::check;

namespace {

void csvRoundTrip(std::string_view text, char separator) {
    const auto rows = parseCsvText(text, separator);
    if (rows.empty())
        return;
    std::size_t columns = 0;
    for (const auto& row : rows)
        columns = std::max(columns, row.size());
    if (columns == 0)
        return;
    Table table(static_cast<int>(rows.size()), static_cast<int>(columns), 0, 0);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            table.setCell(static_cast<int>(r), static_cast<int>(c), rows[r][c]);
    const auto again = parseCsvText(csvText(table, separator), separator);
    check(again.size() == rows.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input input = fuzz::splitInput(data, size);
    switch (input.selector % 5) {
    case 0:
        csvRoundTrip(input.text, input.selector & 0x20 ? ';' : ',');
        break;
    case 1:
        if (const auto date = parseDateText(input.text))
            check(fuzz::isStorableDate(*date));
        break;
    case 2: {
        numericValue(input.text);
        isNumericText(input.text);
        for (const Locale* locale : {&Locale::turkish()}) {
            if (const auto value = locale->parseNumber(input.text))
                check(std::isfinite(*value));
            if (const auto value = locale->parseEnteredNumber(input.text))
                check(std::isfinite(*value));
        }
        break;
    }
    case 3:
        check(utf8ToCp1254(cp1254ToUtf8(input.text)) == input.text);
        break;
    default: {
        const std::filesystem::path station = "/fuzz-station";
        try {
            const std::filesystem::path file = stationFilePath(station, input.text);
            check(file.parent_path() == station);
        } catch (const FileError&) {
        }
        break;
    }
    }
    return 0;
}
