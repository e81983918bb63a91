#include "store/HqTable.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kDischarge = 0;
constexpr std::size_t kKeyFlags = 4004;
constexpr std::size_t kValidFrom = 5004;
constexpr std::size_t kValidTo = 5252;
constexpr std::size_t kCreatedOn = 5500;
constexpr std::size_t kEnteredBy = 5508;
constexpr std::size_t kRemarks = 5558;

constexpr int kLastTableNumber = 99;

} // namespace

char HqTable::keyFlag(std::size_t level) const {
    if (level == 0 || level > keyFlags.size())
        return '\0';
    return keyFlags[level - 1];
}

void HqTable::setKeyFlagIfUnset(std::size_t level, char flag) {
    if (level == 0 || level > kFlagCount)
        return;
    if (keyFlags.size() < kFlagCount)
        keyFlags.resize(kFlagCount, '\0');
    if (keyFlags[level - 1] == '\0')
        keyFlags[level - 1] = flag;
}

HqTable parseHqTable(const Bytes& bytes) {
    const ByteReader in(bytes);
    HqTable t;
    for (std::size_t i = 0; i < HqTable::kLevels; ++i)
        t.discharge[i] = in.f32(kDischarge + 4 * i);
    t.keyFlags = in.raw(kKeyFlags, HqTable::kFlagCount);
    for (std::size_t j = 0; j < HqTable::kPeriodSlots; ++j) {
        t.validFrom[j] = OleDate(in.f64(kValidFrom + 8 * j));
        t.validTo[j] = OleDate(in.f64(kValidTo + 8 * j));
    }
    t.createdOn = OleDate(in.f64(kCreatedOn));
    t.enteredBy = in.text(kEnteredBy, HqTable::kEnteredByWidth);
    t.remarks = in.text(kRemarks, HqTable::kRemarksWidth);
    return t;
}

Bytes serializeHqTable(const HqTable& table) {
    ByteWriter out(HqTable::kSize);
    for (std::size_t i = 0; i < HqTable::kLevels; ++i)
        out.f32(kDischarge + 4 * i, table.discharge[i]);
    std::string flags = table.keyFlags;
    flags.resize(HqTable::kFlagCount, '\0');
    out.raw(kKeyFlags, flags);
    for (std::size_t j = 0; j < HqTable::kPeriodSlots; ++j) {
        out.f64(kValidFrom + 8 * j, table.validFrom[j].value());
        out.f64(kValidTo + 8 * j, table.validTo[j].value());
    }
    out.f64(kCreatedOn, table.createdOn.value());
    out.text(kEnteredBy, HqTable::kEnteredByWidth, table.enteredBy);
    out.text(kRemarks, HqTable::kRemarksWidth, table.remarks);
    return out.take();
}

HqTable readHqTable(const fs::path& file) {
    const auto bytes = readFileBytes(file);
    return bytes ? parseHqTable(*bytes) : HqTable{};
}

void writeHqTable(const fs::path& file, const HqTable& table) {
    for (std::size_t level = 0; level < HqTable::kLevels; ++level)
        if (!std::isfinite(table.discharge[level]))
            throw FileError("seviye " + std::to_string(level) +
                            " debisi sayı değil; tablo yazılmadı: " + file.filename().string());
    writeFileAtomic(file, serializeHqTable(table));
}

std::string hqNumberText(int number) {
    return number < 10 ? "0" + std::to_string(number) : std::to_string(number);
}

std::string hqTableFileName(int number, std::string_view stationNumber) {
    return hqNumberText(number) + "_" + trimmed(stationNumber) + ".HQ";
}

std::string hqKeyOfFileName(std::string_view fileName) {
    return utf8Left(fileName, 2);
}

HqTableSet loadHqTableSet(const fs::path& stationDir) {
    HqTableSet set;
    for (const std::string& name : listFiles(stationDir, "*.HQ")) {
        if (set.entries.size() == HqTableSet::kMaxTables)
            break;
        set.entries.push_back(HqTableSlot{name, readHqTable(stationDir / name)});
    }
    return set;
}

std::optional<RatingPeriod> findRatingPeriod(const HqTableSet& tables, OleDate date) {
    for (std::size_t slot = 0; slot < tables.entries.size(); ++slot) {
        const HqTable& t = tables.entries[slot].table;
        for (std::size_t j = 1; j <= HqTable::kPeriods; ++j) {
            if (t.validTo[j].isEmpty())
                break;
            if (t.validFrom[j] <= date && date <= t.validTo[j])
                return RatingPeriod{slot, j};
        }
    }
    return std::nullopt;
}

std::optional<float> dischargeAtLevel(const HqTable& table, double level) {
    if (!std::isfinite(level) || level < 0.0 || level > static_cast<double>(HqTable::kLevels - 1))
        return std::nullopt;
    const auto index = static_cast<std::size_t>(level);
    const auto& q = table.discharge;
    if (q[index] != 0.0f)
        return q[index];
    // A zero inside the rated range is a value of the table; below its lowest or above its
    // highest non-zero discharge the table says nothing.
    const auto nonZero = [](float value) { return value != 0.0f; };
    const auto begin = q.begin() + static_cast<std::ptrdiff_t>(index);
    const bool ratedBelow = std::any_of(q.begin(), begin, nonZero);
    const bool ratedAbove = std::any_of(begin + 1, q.end(), nonZero);
    if (!ratedBelow || !ratedAbove)
        return std::nullopt;
    return q[index];
}

std::optional<HqLookup> lookupDischarge(const HqTableSet& tables, OleDate date, double level) {
    const auto period = findRatingPeriod(tables, date);
    if (!period)
        return std::nullopt;
    // The first covering period decides; a level it cannot index has no discharge.
    const HqTableSlot& slot = tables.entries[period->slot];
    const auto discharge = dischargeAtLevel(slot.table, roundHalfEven(level));
    if (!discharge)
        return std::nullopt;
    return HqLookup{*discharge, hqKeyOfFileName(slot.fileName)};
}

std::string proposeNextTableNumber(const std::vector<std::string>& fileNames) {
    if (fileNames.empty())
        return "01";
    return generalNumber(numericValue(hqKeyOfFileName(fileNames.back())) + 1.0);
}

fs::path createHqTable(const fs::path& stationDir, int number, std::string_view stationNumber) {
    if (number < 0 || number > kLastTableNumber)
        throw std::invalid_argument("geçersiz HQ tablo no: " + std::to_string(number));
    const std::string key = hqNumberText(number);
    for (const std::string& name : listFiles(stationDir, "*.HQ"))
        if (hqKeyOfFileName(name) == key)
            throw HqTableNumberInUse(key + " nolu HQ tablosu zaten var: " + name);
    const fs::path file = resolveCaseInsensitive(stationDir / hqTableFileName(number, stationNumber));
    if (fileExists(file))
        throw HqTableNumberInUse(key + " nolu HQ tablosu zaten var: " + file.filename().string());
    writeFileAtomic(file, Bytes(HqTable::kSize, 0));
    return file;
}

} // namespace korvel
