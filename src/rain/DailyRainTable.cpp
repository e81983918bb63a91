#include "rain/DailyRainTable.h"

#include "core/Cp1254.h"
#include "core/Numbers.h"

#include <cstdio>

namespace korvel {

namespace {

constexpr double kLargestMinuteMm = 25.5;

bool inValueArea(int row, int column) {
    return row >= 1 && row < kMinuteGridRows && column >= 1 && column < kMinuteGridColumns;
}

// "Saat 14 sütunu, 8. satırdaki (14:07)": the cell by its hour column and minute row labels.
std::string cellName(int row, int column) {
    const int minute = minuteOfCell(row, column);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", minute / 60, minute % 60);
    return "Saat " + std::to_string(column - 1) + " sütunu, " + std::to_string(row) + ". satırdaki (" + time +
           ")";
}

} // namespace

int minuteOfCell(int row, int column) {
    return (column - 1) * 60 + (row - 1);
}

Table minuteGridTable(const RainDayRecord& dayBuffer, const Locale& locale) {
    Table table(kMinuteGridRows, kMinuteGridColumns, 1, 1);
    for (int column = 0; column < kMinuteGridColumns; ++column)
        table.setColumnWidth(column, 400);
    for (int column = 1; column < kMinuteGridColumns; ++column)
        table.setCell(0, column, std::to_string(column - 1));
    for (int row = 1; row < kMinuteGridRows; ++row)
        table.setCell(row, 0, std::to_string(row));
    for (int column = 1; column < kMinuteGridColumns; ++column)
        for (int row = 1; row < kMinuteGridRows; ++row) {
            const int tenths = dayBuffer.minuteRain[static_cast<std::size_t>(minuteOfCell(row, column))];
            if (tenths != 0)
                table.setCell(row, column, locale.numberText32(static_cast<float>(tenths) / 10.0f));
        }
    return table;
}

std::string dateLabelText(const RainDayRecord& dayBuffer, const Locale& locale) {
    return "Gecerli Tarih = " + locale.shortDate(dayBuffer.dayDate);
}

Sheet dailyRainSheet(const RainDayRecord& dayBuffer, const Locale& locale) {
    Sheet sheet;
    sheet.caption = kDailyRainCaption;
    sheet.setTable(kMinuteGridName, minuteGridTable(dayBuffer, locale));
    sheet.setText(kDateLabelName, dateLabelText(dayBuffer, locale));
    sheet.setText(kFillValueBoxName, kInitialFillValue);
    sheet.setText(kSelectionCountBoxName, "");
    sheet.setText(kDayTotalBoxName, "");
    return sheet;
}

int selectionCellCount(int selStartRow, int selStartCol, int row, int column) {
    const int rows = row - selStartRow + 1;
    const int columns = column - selStartCol + 1;
    return rows > 0 && columns > 0 ? rows * columns : 0;
}

int fillMinuteCells(Table& minuteGrid, const MinuteSelection& selection, const std::string& value) {
    if (selection.selStartCol == 0 || selection.selStartRow == 0)
        return 0;
    int filled = 0;
    for (int column = selection.selStartCol; column <= selection.selEndCol; ++column)
        for (int row = selection.selStartRow; row <= selection.selEndRow; ++row) {
            if (!inValueArea(row, column))
                continue;
            minuteGrid.setCell(row, column, value);
            ++filled;
        }
    return filled;
}

std::variant<EditedRainMinutes, std::string> readMinuteGrid(const Table& minuteGrid, const Locale& locale) {
    EditedRainMinutes minutes{};
    for (int column = 1; column < kMinuteGridColumns; ++column)
        for (int row = 1; row < kMinuteGridRows; ++row) {
            const std::string text = trimmed(minuteGrid.cell(row, column));
            if (text.empty())
                continue;
            const std::optional<double> mm = locale.parseEnteredNumber(text);
            if (!mm)
                return cellName(row, column) + " \"" + text + "\" değeri bir sayı değil. Gün kaydedilmedi.";
            if (*mm < 0.0 || !roundToByte(*mm * 10.0))
                return cellName(row, column) + " " + text + " mm değeri kaydedilemez: değer 0 ile " +
                       locale.numberText(kLargestMinuteMm) + " mm arasında olmalı. Gün kaydedilmedi.";
            minutes[static_cast<std::size_t>(minuteOfCell(row, column))] = *mm;
        }
    return minutes;
}

RainDaySave saveRainDay(const std::filesystem::path& path, std::size_t dayRecordNumber,
                        const RainDayRecord& dayBuffer, const Table& minuteGrid, const Locale& locale) {
    RainDaySave save;
    std::variant<EditedRainMinutes, std::string> minutes = readMinuteGrid(minuteGrid, locale);
    if (const std::string* refusal = std::get_if<std::string>(&minutes)) {
        save.error = *refusal;
        return save;
    }
    const RainEditResult written =
        writeEditedRainDay(path, dayRecordNumber, dayBuffer, std::get<EditedRainMinutes>(minutes));
    if (!written.ok()) {
        save.error = written.error->message;
        return save;
    }
    save.record = written.record;
    save.dayTenths = dailyTotalTenths(*written.record);
    return save;
}

} // namespace korvel
