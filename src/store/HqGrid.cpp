#include "store/HqGrid.h"

#include "core/Cp1254.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel {

namespace {

void setFlagIfUnset(std::string& keyFlags, std::size_t level, char flag) {
    if (level == 0 || level > HqTable::kFlagCount)
        return;
    if (keyFlags.size() < HqTable::kFlagCount)
        keyFlags.resize(HqTable::kFlagCount, '\0');
    if (keyFlags[level - 1] == '\0')
        keyFlags[level - 1] = flag;
}

// What a cell shows in the "##,##0.00" format, as the grid gives it back.
double shownValue(double value) {
    return std::round(value * 100.0) / 100.0;
}

// A value a 32-bit float cannot hold is stored as no value.
float storedValue(double value) {
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        return 0.0F;
    return static_cast<float>(value);
}

std::optional<std::size_t> nextFilledCell(const HqGridCells& cells, std::size_t from, std::size_t end) {
    for (std::size_t b = from; b < end; ++b)
        if (cells[b].has_value())
            return b;
    return std::nullopt;
}

} // namespace

std::size_t visibleRowCount(const HqTable& table) {
    for (std::size_t r = 0; r < kHqGridRows; ++r)
        if (table.keyFlag(kHqGridColumns * (r + 1)) == '\0')
            return r + 1;
    return kHqGridRows;
}

std::size_t listedPeriodCount(const HqTable& table) {
    std::size_t count = 0;
    while (count < HqTable::kPeriods && !table.validFrom[count + 1].isEmpty())
        ++count;
    return count;
}

HqGridCells gridCellsOfTable(const HqTable& table) {
    HqGridCells cells(kHqGridCells);
    const std::size_t shown = visibleRowCount(table) * kHqGridColumns;
    for (std::size_t i = 0; i < shown; ++i)
        if (table.discharge[i] != 0.0F)
            cells[i] = table.discharge[i];
    return cells;
}

std::vector<std::size_t> fillGaps(HqGridCells& cells, std::string& keyFlags) {
    std::vector<std::size_t> filled;
    const std::size_t end = std::min(cells.size(), kHqGridCells);
    bool previousHasText = false;
    std::size_t i = 0;
    while (i < end) {
        if (cells[i].value_or(0.0) != 0.0 || !previousHasText) {
            previousHasText = cells[i].has_value();
            ++i;
            continue;
        }
        const auto b = nextFilledCell(cells, i + 1, end);
        if (!b)
            break;
        const double qa = *cells[i - 1];
        const double qb = *cells[*b];
        const double step = (qb - qa) / static_cast<double>(*b - i + 1);
        for (std::size_t k = i; k < *b; ++k) {
            cells[k] = shownValue(qa + static_cast<double>(k - i + 1) * step);
            setFlagIfUnset(keyFlags, k, '2');
            filled.push_back(k);
        }
        previousHasText = true;
        i = *b;
    }
    return filled;
}

void applyGridToTable(HqTable& table, const HqGridCells& cells, const std::vector<HqPeriodRow>& periods,
                      std::string_view enteredBy, std::optional<OleDate> createdOn,
                      std::string_view remarks) {
    table.enteredBy = utf8Left(enteredBy, HqTable::kEnteredByWidth);
    if (createdOn)
        table.createdOn = *createdOn;
    table.remarks = utf8Left(remarks, HqTable::kRemarksWidth);

    for (std::size_t i = 0; i < kHqGridCells; ++i) {
        const std::optional<double> cell = i < cells.size() ? cells[i] : std::nullopt;
        table.discharge[i] = cell ? storedValue(*cell) : 0.0F;
        table.setKeyFlagIfUnset(i, cell ? '1' : '8');
    }

    const std::size_t rows = std::min(periods.size(), HqTable::kPeriods);
    for (std::size_t row = 1; row <= rows; ++row) {
        const HqPeriodRow& period = periods[row - 1];
        if (!period.start) {
            // The periods end here: those stored below are gone from the grid and must not stay
            // in force unseen.
            for (std::size_t gone = row; gone <= HqTable::kPeriods; ++gone) {
                table.validFrom[gone] = OleDate();
                table.validTo[gone] = OleDate();
            }
            break;
        }
        table.validFrom[row] = *period.start;
        if (period.end)
            table.validTo[row] = *period.end;
    }
}

} // namespace korvel
