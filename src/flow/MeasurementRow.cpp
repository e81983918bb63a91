#include "flow/MeasurementRow.h"

#include "core/Cp1254.h"
#include "core/Numbers.h"
#include "flow/MeasurementCardSheet.h"

#include <cmath>
#include <optional>
#include <stdexcept>

namespace korvel {

namespace {

std::optional<double> numberOf(const std::string& cell) {
    const std::string text = trimmed(cell);
    if (text.empty() || !isNumericText(text))
        return std::nullopt;
    return numericValue(text);
}

std::optional<float> realOf(const std::string& cell) {
    const auto value = numberOf(cell);
    if (!value)
        return std::nullopt;
    const auto single = static_cast<float>(*value);
    if (!std::isfinite(single))
        return std::nullopt;
    return single;
}

std::optional<std::int16_t> integerOf(const std::string& cell) {
    const auto value = numberOf(cell);
    return value ? roundToInt16(*value) : std::nullopt;
}

} // namespace

ConvertedMeasurementRow convertMeasurementRow(const MeasurementRowCells& cells, const Locale& locale) {
    ConvertedMeasurementRow result;
    MeasurementCard& r = result.record;
    auto note = [&result](int column) { result.unconverted.push_back(column); };

    const std::string dateText = trimmed(cells[0]);
    const std::optional<OleDate> date = dateText.empty() ? std::nullopt : locale.parseDate(dateText);
    if (date)
        r.measurementDate = *date;
    else
        note(0);
    r.measuredBy = trimmed(cardFieldText(cells[1]));

    float* reals[] = {&r.sectionWidth, &r.sectionArea, &r.meanVelocity};
    for (int c = 2; c <= 4; ++c) {
        if (const auto value = realOf(cells[static_cast<std::size_t>(c)]))
            *reals[c - 2] = *value;
        else
            note(c);
    }
    if (const auto level = integerOf(cells[5]))
        r.gaugeLevel = *level;
    else
        note(5);
    if (const auto discharge = realOf(cells[6]))
        r.measuredDischarge = *discharge;
    else
        note(6);

    r.measurementMethod = trimmed(cardFieldText(cells[7]));
    r.measurementGrade = trimmed(cardFieldText(cells[8]));
    r.remark = trimmed(cardFieldText(cells[9]));

    if (const auto error = integerOf(cells[10]))
        r.errorPercent = *error;
    else
        note(10);
    if (const auto shift = integerOf(cells[11]))
        r.shiftMm = *shift;
    else
        note(11);
    return result;
}

std::string unconvertedCellsMessage(int row, const std::vector<int>& columns) {
    if (columns.empty())
        return {};
    std::string names;
    for (int column : columns) {
        if (!names.empty())
            names += ", ";
        names += trimmed(measurementCardHeading(column));
    }
    const bool dateAmong = columns.front() == 0;
    return "Satır " + std::to_string(row) + ": " + names + (columns.size() == 1 ? " hücresi" : " hücreleri") +
           " okunamadı; " + (dateAmong ? "0 (tarih boş)" : "0") + " olarak kaydedildi.";
}

std::vector<int> saveMeasurementRow(const std::filesystem::path& cardPath, int row,
                                    const MeasurementRowCells& cells, const Locale& locale) {
    if (row < 1)
        throw std::invalid_argument("card rows are numbered from 1");
    ConvertedMeasurementRow converted = convertMeasurementRow(cells, locale);
    writeMeasurementRow(cardPath, static_cast<std::size_t>(row), converted.record);
    return converted.unconverted;
}

} // namespace korvel
