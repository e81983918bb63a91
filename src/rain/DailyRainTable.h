#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "store/RainYearFile.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace korvel {

// The daily rainfall interpretation table: one day's 1440 minutes as an hour-by-minute grid
// ("MSFlexGrid1", 61 x 25; column c is hour c - 1, row r minute r - 1 of the hour), the fill
// box "Text1", the selection count "Text2", the saved day total "Text3" and the date label.
inline constexpr const char* kDailyRainCaption = "Pluviograf değerlerinin günlük yorumu";
inline constexpr const char* kMinuteGridName = "MSFlexGrid1";
inline constexpr const char* kDateLabelName = "Label1";
inline constexpr const char* kFillValueBoxName = "Text1";
inline constexpr const char* kSelectionCountBoxName = "Text2";
inline constexpr const char* kDayTotalBoxName = "Text3";
inline constexpr const char* kInitialFillValue = "0,1";
inline constexpr int kMinuteGridRows = 61;
inline constexpr int kMinuteGridColumns = 25;

// The minute of the day a value cell shows.
int minuteOfCell(int row, int column);

Table minuteGridTable(const RainDayRecord& dayBuffer, const Locale& locale);
std::string dateLabelText(const RainDayRecord& dayBuffer, const Locale& locale);
Sheet dailyRainSheet(const RainDayRecord& dayBuffer, const Locale& locale);

// The corners of a mouse drag: the pressed cell and the cell the drag ended on. 0 where the
// press was not inside the value area.
struct MinuteSelection {
    int selStartRow = 0;
    int selStartCol = 0;
    int selEndRow = 0;
    int selEndCol = 0;
};

// The cells a drag from the start cell to (row, column) covers, as "Hücreyi doldur" would fill
// them: a drag upwards or to the left covers none.
int selectionCellCount(int selStartRow, int selStartCol, int row, int column);

// "Hücreyi doldur": every cell from the start to the end corner (both ascending) takes the
// value; nothing happens unless the press began inside the value area. Returns the cells set.
int fillMinuteCells(Table& minuteGrid, const MinuteSelection& selection, const std::string& value);

// The grid read back for "Kaydet": an empty cell is 0, any other cell a number in millimetres
// ("." or "," as the decimal point). Text that is no number is refused, naming its cell.
std::variant<EditedRainMinutes, std::string> readMinuteGrid(const Table& minuteGrid, const Locale& locale);

struct RainDaySave {
    std::optional<RainDayRecord> record; // the day as written
    int dayTenths = 0;
    std::optional<std::string> error; // the refusal shown to the user; nothing was written
    bool ok() const { return !error; }
};
// "Kaydet": the whole day written as record dayRecordNumber of the file. A value that is no
// number, below 0 or above 25.5 mm refuses the save with a message naming the cell.
RainDaySave saveRainDay(const std::filesystem::path& path, std::size_t dayRecordNumber,
                        const RainDayRecord& dayBuffer, const Table& minuteGrid, const Locale& locale);

} // namespace korvel
