#include "flow/HqTableEdit.h"

#include "core/Cp1254.h"
#include "core/NumberFormat.h"

namespace korvel {

HqGridReading hqCellsOfGrid(const Table& grid, const Locale& locale) {
    HqGridReading reading;
    reading.cells.assign(kHqGridCells, std::nullopt);
    for (std::size_t r = 0; r < kHqGridRows; ++r) {
        for (std::size_t c = 0; c < kHqGridColumns; ++c) {
            const int row = static_cast<int>(r) + 1;
            const int column = static_cast<int>(c) + 1;
            const std::string text = trimmed(grid.cell(row, column));
            if (text.empty())
                continue;
            auto value = locale.parseNumber(text);
            if (!value)
                value = locale.parseEnteredNumber(text);
            if (value)
                reading.cells[kHqGridColumns * r + c] = *value;
            else
                reading.unreadable.emplace_back(row, column);
        }
    }
    return reading;
}

void showHqCells(Table& grid, const HqGridCells& cells, const std::vector<std::size_t>& levels,
                 const Locale& locale) {
    for (const std::size_t level : levels) {
        if (level >= cells.size() || level >= kHqGridCells)
            continue;
        const int row = static_cast<int>(level / kHqGridColumns) + 1;
        const int column = static_cast<int>(level % kHqGridColumns) + 1;
        grid.setCell(row, column,
                     cells[level] ? formatNumber(*cells[level], "##,##0.00", locale) : std::string());
    }
}

std::vector<HqPeriodRow> hqPeriodsOfGrid(const Table& grid, const Locale& locale) {
    std::vector<HqPeriodRow> periods;
    for (int row = 1; row <= static_cast<int>(HqTable::kPeriods); ++row) {
        HqPeriodRow period;
        const std::string start = trimmed(grid.cell(row, 0));
        const std::string end = trimmed(grid.cell(row, 1));
        if (!start.empty())
            period.start = locale.parseDate(start);
        if (!end.empty())
            period.end = locale.parseDate(end);
        periods.push_back(period);
    }
    return periods;
}

std::string unreadableCellsMessage(const std::vector<std::pair<int, int>>& cells, const Table& grid) {
    std::string message = "HQ tablosunda sayı olmayan hücreler var; tablo değiştirilmedi:";
    for (const auto& [row, column] : cells)
        message += "\nSeviye " + std::to_string(10 * (row - 1) + (column - 1)) + ": \"" +
                   grid.cell(row, column) + "\"";
    return message;
}

std::optional<std::string> unreadablePeriodsMessage(const Table& grid, const Locale& locale) {
    std::string rows;
    for (int row = 1; row <= static_cast<int>(HqTable::kPeriods); ++row) {
        const std::string start = trimmed(grid.cell(row, 0));
        if (start.empty())
            break;
        if (!locale.parseDate(start))
            rows += "\nSatır " + std::to_string(row) + ": \"" + start + "\"";
    }
    if (rows.empty())
        return std::nullopt;
    return "HQ tablosunda tarih olmayan geçerlilik başlangıçları var; tablo değiştirilmedi:" + rows;
}

} // namespace korvel
