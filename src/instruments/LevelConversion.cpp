#include "instruments/LevelConversion.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"

#include <algorithm>
#include <system_error>

namespace korvel {

namespace fs = std::filesystem;
using namespace levellogger;

namespace {

// Readings-file header: I mod 256, unit code, I div 256, 0, p4..p8, first reading (10-11) and
// last position written (12-13); the day data follow from position 14.
constexpr std::size_t kReadingsHeaderSize = 13;
constexpr std::size_t kFirstReadingCopy = 10; // positions 10-11 copy 17-18
constexpr std::size_t kFirstReading = 17;
constexpr std::size_t kLastWritten = 12;
// Before any day data the last position written is that of the header's first part (1-11).
constexpr std::size_t kHeaderWrittenEnd = 11;
// Texts file: name, confirmed number, river (1-24); position 25 is never written.
constexpr std::size_t kTextsHeaderSize = 24;

struct Extreme {
    std::uint8_t minute = 0;
    std::uint8_t hour = 0;
    int value = 0;
};

void appendWord(Bytes& out, int value) {
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void appendExtreme(Bytes& out, const Extreme& e) {
    out.push_back(e.minute);
    out.push_back(e.hour);
    appendWord(out, e.value);
}

void appendText(Bytes& out, std::string_view cp1254) {
    out.insert(out.end(), cp1254.begin(), cp1254.end());
}

std::int16_t levelOf(double raw, double divisor) {
    return roundToInt16(raw / divisor).value_or(0);
}

// Reads the ring in order from a position, never more than one turn of it in all.
class RingCursor {
public:
    RingCursor(const Bytes& dump, std::size_t position) : dump_(dump), position_(position) {}

    std::size_t position() const { return position_; }
    // The next `count` bytes are there to read within one turn of the ring.
    bool hasRoom(std::size_t count) const { return consumed_ + count <= kRingSize; }
    // Whether the position `writePosition` lies among the next `count` bytes.
    bool reaches(std::size_t writePosition, std::size_t count) const {
        std::size_t p = position_;
        for (std::size_t i = 0; i < count; ++i, p = nextRingPosition(p))
            if (p == writePosition)
                return true;
        return false;
    }
    // How many of the next `count` bytes come before the write position.
    std::size_t bytesBefore(std::size_t writePosition, std::size_t count) const {
        std::size_t p = position_;
        for (std::size_t i = 0; i < count; ++i, p = nextRingPosition(p))
            if (p == writePosition)
                return i;
        return count;
    }
    // Whether one of the next `count` bytes was never received.
    bool missing(std::size_t receivedEnd, std::size_t count) const {
        std::size_t p = position_;
        for (std::size_t i = 0; i < count; ++i, p = nextRingPosition(p))
            if (p >= receivedEnd)
                return true;
        return false;
    }
    void skip(std::size_t count) {
        position_ = advanceRingPosition(position_, count);
        consumed_ += count;
    }
    std::uint8_t take() {
        const std::uint8_t b = dumpByte(dump_, position_);
        position_ = nextRingPosition(position_);
        ++consumed_;
        return b;
    }

private:
    const Bytes& dump_;
    std::size_t position_;
    std::size_t consumed_ = 0;
};

// The highest and lowest reading present, at the time of its first occurrence.
std::pair<Extreme, Extreme> extremesOfReadings(const std::vector<int>& values, int intervalMinutes) {
    const auto maxIt = std::max_element(values.begin(), values.end());
    const auto minIt = std::min_element(values.begin(), values.end());
    auto at = [&](std::vector<int>::const_iterator it) {
        const int minutes = static_cast<int>(it - values.begin()) * intervalMinutes;
        return Extreme{static_cast<std::uint8_t>(minutes % 60), static_cast<std::uint8_t>(minutes / 60 % 256),
                       *it};
    };
    return {at(maxIt), at(minIt)};
}

} // namespace

std::optional<std::size_t> firstBlockPosition(const Bytes& dump, const LevelDumpHeader& header,
                                              std::size_t receivedEnd) {
    const std::size_t ringStart = header.ringStart();
    bool marker = ringStart + leveldump::kMarker.size() < receivedEnd;
    for (std::size_t i = 0; i < leveldump::kMarker.size(); ++i)
        if (dumpByte(dump, ringStart + 1 + i) != static_cast<std::uint8_t>(leveldump::kMarker[i]))
            marker = false;
    if (marker) {
        std::size_t first = ringStart + leveldump::kFirstBlockOffset;
        if (first > kRingLast)
            first -= kRingSize;
        if (isRingPosition(first))
            return first;
    }

    const std::size_t writePosition = header.writePosition();
    if (!isRingPosition(writePosition))
        return std::nullopt;
    const std::uint8_t year = header.p(leveldump::kNameYear);
    const std::uint8_t yearBefore = year == 0 ? 99 : static_cast<std::uint8_t>(year - 1);
    std::size_t q = writePosition;
    do {
        const std::uint8_t b = dumpByte(dump, q);
        const std::size_t month = previousRingPosition(q);
        const std::size_t day = previousRingPosition(month);
        const bool received = q < receivedEnd && month < receivedEnd && day < receivedEnd;
        if (received && (b == year || b == yearBefore) && dumpByte(dump, month) < 13 &&
            dumpByte(dump, day) < 32)
            return day;
        q = nextRingPosition(q);
    } while (q != writePosition);
    return std::nullopt;
}

DecodedLevelDump decodeLevelDump(const Bytes& dump, std::string_view stationNumber, std::size_t receivedEnd) {
    DecodedLevelDump out;
    out.header = readLevelDumpHeader(dump);
    const LevelDumpHeader& header = out.header;
    const auto first = firstBlockPosition(dump, header, receivedEnd);
    if (!first)
        return out;
    out.found = true;
    out.readingsFileName = dayReadingsFileName(header);
    out.textsFileName = stationTextsFileName(header);

    const int interval = header.intervalMinutes();
    const int perDay = readingsPerDay(interval);
    const double divisor = levelDivisor(header.levelUnitCode());
    const std::size_t writePosition = header.writePosition();
    const auto blockSize = static_cast<std::size_t>(dayBlockSize(interval));

    Bytes& readings = out.readingsFile;
    readings = {static_cast<std::uint8_t>(interval % 256), static_cast<std::uint8_t>(header.levelUnitCode()),
                static_cast<std::uint8_t>(interval / 256), 0};
    for (int k = leveldump::kReadingsHeaderFirst; k <= leveldump::kReadingsHeaderLast; ++k)
        readings.push_back(header.p(k));
    readings.resize(kReadingsHeaderSize, 0);

    Bytes& texts = out.textsFile;
    auto rawText = [&dump](std::size_t position) {
        std::string bytes;
        for (std::size_t i = 0; i < leveldump::kTextWidth; ++i)
            bytes.push_back(static_cast<char>(dumpByte(dump, position + i)));
        return bytes;
    };
    appendText(texts, rawText(leveldump::kStationName));
    appendText(texts, fixedField(stationNumber, leveldump::kTextWidth));
    appendText(texts, rawText(leveldump::kRiverName));
    Bytes dayExtremes;

    RingCursor ring(dump, *first);
    for (;;) {
        // A block whose date the logger has not written yet is not there.
        if (ring.reaches(writePosition, leveldump::kDateBytes) || !ring.hasRoom(leveldump::kDateBytes))
            break;
        // A block the download did not bring whole is left out: its place in the ring is known,
        // so the blocks after it are still read.
        const std::size_t written = ring.bytesBefore(writePosition, blockSize);
        if (ring.missing(receivedEnd, written)) {
            ++out.missingDays;
            if (written < blockSize || !ring.hasRoom(blockSize))
                break;
            ring.skip(blockSize);
            continue;
        }
        const std::uint8_t day = ring.take();
        const std::uint8_t month = ring.take();
        const std::uint8_t year = ring.take();
        readings.insert(readings.end(), {day, month, year});
        if (!isValidBlockDate(day, month, year))
            break;

        // Readings up to the write position; a reading whose bytes reach it was never written.
        std::vector<int> values;
        values.reserve(static_cast<std::size_t>(perDay));
        bool inProgress = false;
        bool overrun = false;
        for (int i = 0; i < perDay; ++i) {
            if (ring.reaches(writePosition, 2)) {
                inProgress = true;
                break;
            }
            if (!ring.hasRoom(2)) {
                overrun = true;
                break;
            }
            const std::uint8_t high = ring.take();
            const std::uint8_t low = ring.take();
            const int value = bcdPair(high, low);
            appendWord(readings, value);
            values.push_back(value);
        }
        if (overrun)
            break;

        Extreme maximum;
        Extreme minimum;
        if (!inProgress && ring.reaches(writePosition, leveldump::kTrailerBytes))
            inProgress = true;
        if (inProgress) {
            if (values.empty())
                break;
            std::tie(maximum, minimum) = extremesOfReadings(values, interval);
        } else {
            if (!ring.hasRoom(leveldump::kTrailerBytes))
                break;
            for (Extreme* e : {&maximum, &minimum}) {
                e->minute = ring.take();
                e->hour = ring.take();
                const std::uint8_t high = ring.take();
                e->value = bcdPair(high, ring.take());
            }
        }
        appendExtreme(dayExtremes, maximum);
        appendExtreme(dayExtremes, minimum);

        if (const auto date = blockDate(day, month, year); date && !values.empty()) {
            double sum = 0;
            for (const int v : values)
                sum += v;
            DayRecord record;
            record.date = *date;
            record.maxLevel = levelOf(maximum.value, divisor);
            record.maxTime = OleDate::fromTime(maximum.hour, maximum.minute, 0);
            record.minLevel = levelOf(minimum.value, divisor);
            record.minTime = OleDate::fromTime(minimum.hour, minimum.minute, 0);
            record.meanValue =
                static_cast<float>(roundHalfEven(sum / static_cast<double>(values.size()) / divisor));
            record.source = std::string(kLoggerSource);
            record.rawDataFile = out.readingsFileName;
            out.days.push_back(std::move(record));
        }
        if (inProgress) {
            out.lastDayInProgress = true;
            break;
        }
    }

    // Position 12-13: the last position written in the file; 10-11: the first reading.
    const std::size_t lastWritten =
        readings.size() > kReadingsHeaderSize ? readings.size() : kHeaderWrittenEnd;
    readings[kLastWritten - 1] = static_cast<std::uint8_t>((lastWritten >> 8) & 0xFF);
    readings[kLastWritten] = static_cast<std::uint8_t>(lastWritten & 0xFF);
    if (readings.size() >= kFirstReading + 1) {
        readings[kFirstReadingCopy - 1] = readings[kFirstReading - 1];
        readings[kFirstReadingCopy] = readings[kFirstReading];
    }
    if (!dayExtremes.empty()) {
        texts.push_back(0);
        texts.insert(texts.end(), dayExtremes.begin(), dayExtremes.end());
    }
    static_assert(kTextsHeaderSize == 3 * leveldump::kTextWidth);
    return out;
}

std::string incompleteDownloadMessage(std::size_t daysWritten, int missingDays) {
    return std::string(kIncompleteDownload) + ": " + std::to_string(daysWritten) + " gün yazıldı, " +
           std::to_string(missingDays) + " gün alınamadı";
}

fs::path levelDumpPath(const fs::path& korvel96Root) {
    return resolveCaseInsensitive(korvel96Root / std::string(kLevelDumpName));
}

void writeRawLoggerDump(const fs::path& file, const Bytes& image) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec)
        throw FileError("cannot create " + file.parent_path().string());
    writeFileAtomic(file, image);
}

fs::path sideFileDirectory(const fs::path& korvel96Root, std::string_view stationNumber) {
    return resolveCaseInsensitive(korvel96Root / "istasyon" / trimmed(stationNumber));
}

LevelConversionResult convertLevelDump(const Bytes& dump, std::string_view stationNumber,
                                       const LevelConversionTarget& target, std::size_t receivedEnd) {
    LevelConversionResult result;
    if (dump.size() != kMemorySize) {
        result.message = "Ham veri dosyası " + std::to_string(kMemorySize) + " bayt olmalı, bu dosya " +
                         std::to_string(dump.size()) + " bayt";
        return result;
    }
    if (auto problem = stationNumberProblem(stationNumber)) {
        result.message = *problem;
        return result;
    }
    DecodedLevelDump decoded = decodeLevelDump(dump, stationNumber, receivedEnd);
    if (!decoded.found) {
        result.message = std::string(kNoRecordedDate);
        return result;
    }
    if (decoded.days.empty() && decoded.missingDays > 0) {
        result.message = incompleteDownloadMessage(0, decoded.missingDays);
        return result;
    }

    const fs::path sideDir = sideFileDirectory(target.korvel96Root, stationNumber);
    std::error_code ec;
    fs::create_directories(sideDir, ec);
    if (ec)
        throw FileError("cannot create " + sideDir.string());
    result.readingsFile = resolveCaseInsensitive(sideDir / decoded.readingsFileName);
    result.textsFile = resolveCaseInsensitive(sideDir / decoded.textsFileName);
    writeFileAtomic(result.readingsFile, decoded.readingsFile);
    writeFileAtomic(result.textsFile, decoded.textsFile);

    fs::create_directories(target.stationDir, ec);
    if (ec)
        throw FileError("cannot create " + target.stationDir.string());
    result.written = writeDays(target.stationDir, stationNumber, decoded.days);
    result.stationCopy = resolveCaseInsensitive(target.stationDir / decoded.readingsFileName);
    writeFileAtomic(result.stationCopy, decoded.readingsFile);

    result.converted = true;
    result.days = std::move(decoded.days);
    result.lastDayInProgress = decoded.lastDayInProgress;
    result.missingDays = decoded.missingDays;
    return result;
}

} // namespace korvel
