#include "flow/RatingTable.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/NumberFormat.h"
#include "core/Paths.h"
#include "flow/RatingSheet.h"

#include <cmath>

namespace korvel {

namespace fs = std::filesystem;

std::string ratingRemarks(const RatingFit& fit, const Locale& locale) {
    const char point = locale.decimalSeparator();
    const auto& segments = fit.curve.segments;
    std::string text = "Ölçülerden " + std::to_string(segments.size()) + " parça:";
    for (std::size_t j = 0; j < segments.size(); ++j) {
        const RatingSegment& s = segments[j];
        text += " a=" + significantNumber(s.a, 5, point) + " e=" + significantNumber(s.e, 4, point) +
                " b=" + significantNumber(s.b, 4, point);
        if (j + 1 < segments.size())
            text += " h<=" + significantNumber(s.toLevel, 4, point) + ";";
    }
    text += "; " + std::to_string(fit.usedCount) + " ölçü " + locale.shortDate(fit.firstDate) + "-" +
            locale.shortDate(fit.lastDate) + "; Se %" +
            formatNumber(fit.standardErrorPercent, "###0.0", locale);
    std::string leftOut;
    for (const GaugingFit& g : fit.gaugings)
        if (g.gauging.excluded)
            leftOut += (leftOut.empty() ? "; dışarıda satır " : ",") + std::to_string(g.gauging.row);
    if (utf8Length(text + leftOut) <= HqTable::kRemarksWidth)
        text += leftOut;
    return utf8Left(text, HqTable::kRemarksWidth);
}

HqTable ratingHqTable(const RatingFit& fit, OleDate validFrom, OleDate validTo, OleDate createdOn,
                      const Locale& locale) {
    if (validFrom.isEmpty() || validTo.isEmpty() || validTo < validFrom)
        throw RatingFitError("geçerlilik dönemi hatalı: başlangıç bitişten önce olmalıdır");
    HqTable table;
    for (std::size_t level = 0; level < HqTable::kLevels; ++level) {
        const double h = static_cast<double>(level);
        const bool covered = h >= fit.coveredFrom && h <= fit.coveredTo;
        const float q = covered ? static_cast<float>(fit.curve.discharge(h)) : 0.0f;
        table.discharge[level] = q;
        table.setKeyFlagIfUnset(level, q != 0.0f ? '2' : '8');
    }
    table.validFrom[1] = validFrom;
    table.validTo[1] = validTo;
    table.createdOn = createdOn;
    table.enteredBy = std::string(kRatingEnteredBy);
    table.remarks = ratingRemarks(fit, locale);
    return table;
}

namespace {

bool periodsOverlap(const HqTable& table, OleDate from, OleDate to) {
    for (std::size_t j = 1; j <= HqTable::kPeriods; ++j) {
        if (table.validTo[j].isEmpty())
            break;
        if (table.validFrom[j] <= to && from <= table.validTo[j])
            return true;
    }
    return false;
}

} // namespace

SavedRatingTable saveRatingTable(const fs::path& stationDir, int number, std::string_view stationNumber,
                                 const HqTable& table) {
    SavedRatingTable saved;
    saved.file = createHqTable(stationDir, number, stationNumber);
    try {
        writeHqTable(saved.file, table);
    } catch (...) {
        // The table was new: leave no empty table behind.
        removeFile(saved.file);
        throw;
    }
    saved.earlierKeys = earlierTablesOverlapping(stationDir, saved.file.filename().string(),
                                                 table.validFrom[1], table.validTo[1]);
    return saved;
}

std::vector<std::string> earlierTablesOverlapping(const fs::path& stationDir, const std::string& fileName,
                                                  OleDate from, OleDate to) {
    std::vector<std::string> keys;
    for (const HqTableSlot& slot : loadHqTableSet(stationDir).entries) {
        if (slot.fileName == fileName)
            break;
        if (periodsOverlap(slot.table, from, to))
            keys.push_back(hqKeyOfFileName(slot.fileName));
    }
    return keys;
}

std::vector<RunningPeriod> periodsRunningOver(const fs::path& stationDir, const std::string& fileName,
                                              OleDate from) {
    std::vector<RunningPeriod> running;
    for (const HqTableSlot& slot : loadHqTableSet(stationDir).entries) {
        if (slot.fileName == fileName)
            break;
        for (std::size_t j = 1; j <= HqTable::kPeriods; ++j) {
            const HqTable& t = slot.table;
            if (t.validTo[j].isEmpty())
                break;
            if (t.validFrom[j] < from && from <= t.validTo[j])
                running.push_back(RunningPeriod{slot.fileName, hqKeyOfFileName(slot.fileName), j,
                                                t.validFrom[j], t.validTo[j]});
        }
    }
    return running;
}

void endPeriodsBefore(const fs::path& stationDir, const std::vector<RunningPeriod>& periods, OleDate from) {
    const OleDate dayBefore = from.datePart().plusDays(-1);
    for (std::size_t i = 0; i < periods.size(); ++i) {
        if (i > 0 && periods[i].fileName == periods[i - 1].fileName)
            continue;
        const fs::path file = resolveCaseInsensitive(stationDir / periods[i].fileName);
        HqTable table = readHqTable(file);
        for (const RunningPeriod& p : periods)
            if (p.fileName == periods[i].fileName)
                table.validTo[p.period] = dayBefore;
        writeHqTable(file, table);
    }
}

} // namespace korvel
