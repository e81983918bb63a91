#include "instruments/ReceivedReadings.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "instruments/LevelConversion.h"
#include "instruments/LevelDump.h"

#include <cctype>
#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFirstDay = 13;      // offset of position 14
constexpr std::size_t kFirstExtremes = 25; // offset of position 26
constexpr std::size_t kExtremesPerDay = 8;
constexpr int kHighestExtreme = 9800;

double receivedDivisor(int levelUnitCode) {
    if (levelUnitCode == 1)
        return 1.0;
    if (levelUnitCode == 10)
        return 0.1;
    return 2.0;
}

struct ReceivedExtreme {
    std::int16_t level = 0;
    OleDate time;
};

ReceivedExtreme extremeAt(const ByteReader& texts, std::size_t offset, double divisor) {
    const int minute = texts.u8(offset);
    int hour = texts.u8(offset + 1);
    if (hour == 24)
        hour = 0;
    const int raw = texts.u8(offset + 2) * 256 + texts.u8(offset + 3);
    const double level = roundHalfEven(raw / divisor);
    ReceivedExtreme e;
    e.level = level > kHighestExtreme ? 0 : static_cast<std::int16_t>(level);
    e.time = OleDate::fromTime(hour, minute, 0);
    return e;
}

std::string twoDigits(int value) {
    return value < 10 ? "0" + std::to_string(value) : std::to_string(value);
}

// The file names a station directory keeps its own data under.
bool isStationFileName(const std::string& name) {
    std::string lower;
    for (const char c : name)
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (lower == "genel.tan" || lower == "genel.har")
        return true;
    const std::size_t dot = lower.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : lower.substr(dot);
    return extension == ".ard" || extension == ".hq" || extension == ".yrd" || extension == ".olc";
}

// The header (positions 1-9) and the first day's date of a day-readings file.
Bytes readingsIdentity(const Bytes& readings) {
    if (readings.size() < kFirstDay + leveldump::kDateBytes)
        return {};
    Bytes identity(readings.begin(), readings.begin() + 9);
    identity.insert(identity.end(), readings.begin() + kFirstDay,
                    readings.begin() + kFirstDay + leveldump::kDateBytes);
    return identity;
}

} // namespace

std::optional<std::string> receivedCopyProblem(const Bytes& readings, const fs::path& copy) {
    const std::string name = copy.filename().string();
    if (isStationFileName(name))
        return "Dosya adı bir istasyon dosyasının adı, kopyalanmaz: " + name;
    std::error_code ec;
    if (!fs::exists(copy, ec))
        return std::nullopt;
    const auto existing = fs::is_regular_file(copy, ec) ? readFileBytes(copy) : std::nullopt;
    const Bytes identity = readingsIdentity(readings);
    if (!existing || identity.empty() || readingsIdentity(*existing) != identity)
        return "Hedefte aynı adlı başka bir dosya var, üzerine yazılmaz: " + name;
    return std::nullopt;
}

std::optional<fs::path> stationTextsPathOf(const fs::path& readingsFile) {
    std::string name = readingsFile.filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 >= name.size())
        return std::nullopt;
    name[dot + 1] = 'm';
    return readingsFile.parent_path() / name;
}

StationTexts parseStationTexts(const Bytes& textsFile) {
    const ByteReader in(textsFile);
    return {in.text(0, leveldump::kTextWidth), in.text(8, leveldump::kTextWidth),
            in.text(16, leveldump::kTextWidth)};
}

std::optional<StationTexts> readStationTexts(const fs::path& readingsFile) {
    const auto path = stationTextsPathOf(readingsFile);
    const auto bytes = path ? readFileBytes(resolveCaseInsensitive(*path)) : std::nullopt;
    if (!bytes)
        return std::nullopt;
    return parseStationTexts(*bytes);
}

std::vector<DayRecord> decodeReceivedReadings(const Bytes& readingsFile, const Bytes& textsFile,
                                              std::string_view rawDataFileName,
                                              std::vector<std::string>* skipped) {
    std::vector<DayRecord> days;
    const ByteReader texts(textsFile);
    const int interval = readingsFile.size() > 2 ? readingsFile[0] + 256 * readingsFile[2]
                                                 : (readingsFile.empty() ? 0 : readingsFile[0]);
    const int perDay = readingsPerDay(interval);
    if (perDay <= 0 || readingsFile.size() < 2)
        return days;
    const double divisor = receivedDivisor(readingsFile[1]);

    std::size_t offset = kFirstDay;
    for (std::size_t day = 0;; ++day) {
        if (offset + leveldump::kDateBytes > readingsFile.size())
            break;
        const int d = readingsFile[offset];
        const int m = readingsFile[offset + 1];
        const int y = readingsFile[offset + 2];
        offset += leveldump::kDateBytes;
        if (!isValidBlockDate(d, m, y)) {
            // The end of the data, or a damaged block whose readings still take their place.
            const std::size_t next = offset + 2 * static_cast<std::size_t>(perDay);
            if (next + leveldump::kDateBytes > readingsFile.size())
                break;
            if (skipped != nullptr)
                skipped->push_back("gün " + std::to_string(day + 1) + ": tarih geçersiz (" + twoDigits(d) +
                                   "." + twoDigits(m) + "." + twoDigits(y) + ")");
            offset = next;
            continue;
        }
        double sum = 0;
        int count = 0;
        for (int i = 0; i < perDay && offset + 2 <= readingsFile.size(); ++i, offset += 2) {
            sum += roundHalfEven((readingsFile[offset] * 256 + readingsFile[offset + 1]) / divisor);
            ++count;
        }
        if (count == 0)
            break;
        if (const auto date = blockDate(d, m, y)) {
            const std::size_t at = kFirstExtremes + day * kExtremesPerDay;
            const ReceivedExtreme maximum = extremeAt(texts, at, divisor);
            const ReceivedExtreme minimum = extremeAt(texts, at + 4, divisor);
            DayRecord record;
            record.date = *date;
            record.maxLevel = maximum.level;
            record.maxTime = maximum.time;
            record.minLevel = minimum.level;
            record.minTime = minimum.time;
            record.meanValue = static_cast<float>(roundHalfEven(sum / count));
            record.source = std::string(kLoggerSource);
            record.rawDataFile = std::string(rawDataFileName);
            days.push_back(std::move(record));
        }
        if (count < perDay)
            break;
    }
    return days;
}

ReceivedConversionResult convertReceivedReadings(const fs::path& readingsFile, std::string_view stationNumber,
                                                 const fs::path& destinationDir) {
    ReceivedConversionResult result;
    if (auto problem = stationNumberProblem(stationNumber)) {
        result.message = *problem;
        return result;
    }
    const auto readings = readFileBytes(readingsFile);
    if (!readings) {
        result.message = "Dosya okunamadı: " + readingsFile.string();
        return result;
    }
    const auto textsPath = stationTextsPathOf(readingsFile);
    const auto texts = textsPath ? readFileBytes(resolveCaseInsensitive(*textsPath)) : std::nullopt;
    if (!texts) {
        result.message =
            "İstasyon bilgi dosyası okunamadı: " + (textsPath ? textsPath->string() : readingsFile.string());
        return result;
    }
    const std::string name = readingsFile.filename().string();
    result.days = decodeReceivedReadings(*readings, *texts, name, &result.skipped);
    if (result.days.empty()) {
        result.message = "Dosyada okunabilir gün yok: " + name;
        return result;
    }
    std::error_code ec;
    result.copy = resolveCaseInsensitive(destinationDir / name);
    const bool sameFile = fs::equivalent(readingsFile, result.copy, ec);
    if (!sameFile) {
        if (auto problem = receivedCopyProblem(*readings, result.copy)) {
            result.message = *problem;
            return result;
        }
    }

    fs::create_directories(destinationDir, ec);
    if (ec)
        throw FileError("cannot create " + destinationDir.string());
    result.written = writeDays(destinationDir, stationNumber, result.days);
    if (!sameFile)
        writeFileAtomic(result.copy, *readings);
    result.converted = true;
    return result;
}

} // namespace korvel
