#pragma once

#include "core/Locale.h"
#include "store/MeasurementCard.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace korvel {

inline constexpr int kMeasurementCardColumns = 12;
using MeasurementRowCells = std::array<std::string, kMeasurementCardColumns>;

// A card row turned into a record the way the save command stores it: the date in column 0
// read with the locale's date rules, the numbers (columns 2-6, 10, 11) read with "." as the
// decimal separator (the separator the card's keys produce), the level and the two integer
// columns rounded halves to even, the texts trimmed. A cell that is empty or does not read
// whole as its type, or whose value does not fit its field, is stored as 0 (the empty date in
// column 0) and its column is listed in `unconverted`.
struct ConvertedMeasurementRow {
    MeasurementCard record;
    std::vector<int> unconverted;
};
ConvertedMeasurementRow convertMeasurementRow(const MeasurementRowCells& cells, const Locale& locale);

// "Satır 3: Tarih, Hata (%) hücreleri okunamadı; 0 (tarih boş) olarak kaydedildi." naming the
// columns by their headings; empty when every cell converted.
std::string unconvertedCellsMessage(int row, const std::vector<int>& columns);

// Converts the row and writes it as card record `row` (from 1), creating the card when missing;
// the rest of the row is written even when some cells did not convert. Returns the columns
// that did not. Throws FileError when the card cannot be written.
std::vector<int> saveMeasurementRow(const std::filesystem::path& cardPath, int row,
                                    const MeasurementRowCells& cells, const Locale& locale);

} // namespace korvel
