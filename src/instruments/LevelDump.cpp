#include "instruments/LevelDump.h"

#include "core/Cp1254.h"

#include <string>

namespace korvel {

using namespace levellogger;

std::uint8_t dumpByte(const Bytes& dump, std::size_t position) {
    return position >= 1 && position <= dump.size() ? dump[position - 1] : 0;
}

std::size_t advanceRingPosition(std::size_t p, std::size_t steps) {
    const std::size_t offset = (p - kRingFirst + steps) % kRingSize;
    return kRingFirst + offset;
}

int intervalMinutesOfCode(int code) {
    return code == 0 ? 1 : code * 5;
}

int readingsPerDay(int intervalMinutes) {
    return intervalMinutes > 0 ? 1440 / intervalMinutes : 0;
}

int dayBlockSize(int intervalMinutes) {
    return 2 * readingsPerDay(intervalMinutes) + 11;
}

std::array<std::uint8_t, 2> toBcdPair(int value) {
    const int v = value < 0 ? 0 : value % 10000;
    return {static_cast<std::uint8_t>(((v / 1000) << 4) | (v / 100 % 10)),
            static_cast<std::uint8_t>(((v / 10 % 10) << 4) | (v % 10))};
}

double levelDivisor(int levelUnitCode) {
    if (levelUnitCode == 1)
        return 10.0;
    if (levelUnitCode == 10)
        return 1.0;
    return 2.0;
}

int loggerYear(int year) {
    if (year >= 0 && year <= 29)
        return 2000 + year;
    if (year >= 30 && year <= 99)
        return 1900 + year;
    return year;
}

bool isValidBlockDate(int day, int month, int year) {
    return day >= 1 && day <= 31 && month >= 1 && month <= 12 && year >= 0 && year <= 99;
}

std::optional<OleDate> blockDate(int day, int month, int year) {
    if (!isValidBlockDate(day, month, year))
        return std::nullopt;
    const int fullYear = loggerYear(year);
    if (!isValidDate(fullYear, month, day))
        return std::nullopt;
    return OleDate::fromDate(fullYear, month, day);
}

std::size_t LevelDumpHeader::ringStart() const {
    return static_cast<std::size_t>(p(leveldump::kRingStartHigh)) * 256 + p(leveldump::kRingStartLow);
}

std::size_t LevelDumpHeader::writePosition() const {
    return static_cast<std::size_t>(p(leveldump::kWritePositionHigh)) * 256 + p(leveldump::kWritePositionLow);
}

int LevelDumpHeader::intervalMinutes() const {
    return intervalMinutesOfCode(p(leveldump::kIntervalCode));
}

LevelDumpHeader readLevelDumpHeader(const Bytes& dump) {
    LevelDumpHeader header;
    auto text = [&dump](std::size_t position) {
        std::string bytes;
        for (std::size_t i = 0; i < leveldump::kTextWidth; ++i)
            bytes.push_back(static_cast<char>(dumpByte(dump, position + i)));
        return cp1254ToUtf8(bytes);
    };
    header.stationName = text(leveldump::kStationName);
    header.riverName = text(leveldump::kRiverName);
    header.stationNumber = text(leveldump::kStationNumber);
    for (std::size_t k = 0; k < leveldump::kParameterCount; ++k)
        header.parameters[k] = dumpByte(dump, leveldump::kParameters + k);
    return header;
}

namespace {

// Characters a file name cannot hold on either system, and control characters.
std::string fileNameSafe(std::string_view utf8) {
    std::string out;
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        const bool unsafe = u < 0x20 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
        out.push_back(unsafe ? '_' : c);
    }
    return out;
}

std::string yearSuffix(std::uint8_t year) {
    const std::string digits = std::to_string(year);
    return digits.size() > 2 ? digits.substr(digits.size() - 2) : digits;
}

} // namespace

std::string sideFileBase(const LevelDumpHeader& header) {
    std::string base = utf8Left(header.stationName, 3) + std::to_string(header.p(leveldump::kNameDay)) + "-" +
                       std::to_string(header.p(leveldump::kNameMonth));
    base = utf8Left(base, 8);
    base.append(8 - utf8Length(base), ' ');
    return fileNameSafe(base);
}

std::string dayReadingsFileName(const LevelDumpHeader& header) {
    return sideFileBase(header) + ".-" + yearSuffix(header.p(leveldump::kNameYear));
}

std::string stationTextsFileName(const LevelDumpHeader& header) {
    return sideFileBase(header) + ".m" + yearSuffix(header.p(leveldump::kNameYear));
}

} // namespace korvel
