#include "instruments/RainLogger.h"

#include "core/Cp1254.h"
#include "core/Numbers.h"
#include "instruments/LevelDump.h"
#include "instruments/LevelLoggerView.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace korvel {

using namespace levellogger;

namespace {
constexpr int kLargestMinuteValue = 255;
} // namespace

std::filesystem::path rainDumpPath(const std::filesystem::path& korvel96Root) {
    return korvel96Root / std::string(kRainDumpName);
}

void RainLoggerView::showReply(std::uint8_t readByte, const Bytes& reply, const Locale& locale) {
    if (showCommonReply(fields, readByte, reply, locale))
        return;
    const ByteReader in(reply);
    switch (readByte) {
    case kLevel:
        fields.setText("Text1", std::to_string(in.u8(4)) + std::to_string(in.u8(3)) +
                                    std::to_string(in.u8(2)) + std::to_string(in.u8(1)));
        break;
    case rainlogger::kBucket:
        bucketFactor = in.u8(1);
        fields.setText("Text4", std::to_string(bucketFactor));
        break;
    case kMemoryUsed:
        fields.setText("Label9",
                       std::string(kRainFreeMemoryText) +
                           std::to_string(static_cast<int>(kRingSize) - (in.u8(1) * 256 + in.u8(2))));
        break;
    case kUnitCode:
        unitCode = in.u8(1);
        break;
    default:
        break;
    }
}

CommandOutcome readRainInformation(Exchange& exchange) {
    return readInformation(exchange, rainlogger::kWakeRepeats, rainlogger::kInformationReads,
                           rainReplyInRange);
}

DownloadOptions rainDownloadOptions() {
    DownloadOptions options;
    options.wakeRepeats = rainlogger::kWakeRepeats;
    return options;
}

std::optional<SettingCommand> bucketSetting(std::string_view answer) {
    const std::string text = trimmed(answer);
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size())
        return std::nullopt;
    const std::optional<std::uint8_t> byte = roundToByte(value);
    if (!byte)
        return std::nullopt;
    return SettingCommand{rainlogger::kBucketWrite, rainlogger::kBucket, Bytes{*byte}, 2};
}

RainDumpHeader readRainDumpHeader(const Bytes& dump) {
    auto text8 = [&dump](std::size_t position) {
        std::string bytes;
        for (std::size_t i = 0; i < kTextLength; ++i)
            bytes.push_back(static_cast<char>(dumpByte(dump, position + i)));
        return cp1254ToUtf8(bytes);
    };
    auto word = [&dump](std::size_t position) {
        return static_cast<std::size_t>(dumpByte(dump, position)) * 256 + dumpByte(dump, position + 1);
    };
    RainDumpHeader header;
    header.stationName = text8(raindump::kStationName);
    header.regionName = text8(raindump::kRegionName);
    header.stationNumber = text8(raindump::kStationNumber);
    header.firstIsEvent = word(raindump::kFirstIsEvent) == 1;
    header.writePosition = word(raindump::kWritePosition);
    return header;
}

namespace {

std::size_t ringBack(std::size_t p, std::size_t steps) {
    for (std::size_t i = 0; i < steps; ++i)
        p = previousRingPosition(p);
    return p;
}

std::uint8_t ringByte(const Bytes& dump, std::size_t q, std::ptrdiff_t offset) {
    const std::size_t p = offset < 0 ? ringBack(q, static_cast<std::size_t>(-offset))
                                     : advanceRingPosition(q, static_cast<std::size_t>(offset));
    return dumpByte(dump, p);
}

// Places the tips of the events on their days, in ring order.
std::vector<DownloadedRainDay> placeTips(const std::vector<RainEvent>& events) {
    std::map<long long, DownloadedRainDay> days;
    for (const RainEvent& e : events) {
        const std::optional<OleDate> start = blockDate(e.day, e.month, e.year);
        if (!start || e.hour > 23 || e.minute > 59)
            continue;
        OleDate day = *start;
        int m = e.hour * 60 + e.minute;
        for (const std::uint8_t tips : e.tips) {
            DownloadedRainDay& target = days[day.dayNumber()];
            target.day = day;
            target.tipCounts[m] = tips;
            if (++m == static_cast<int>(kMinutesPerDay)) {
                m = 0;
                day = day.plusDays(1);
            }
        }
    }
    std::vector<DownloadedRainDay> list;
    for (auto& [number, day] : days)
        list.push_back(std::move(day));
    return list;
}

} // namespace

bool isRainEventHeader(const Bytes& dump, std::size_t q) {
    for (std::ptrdiff_t i = -4; i <= -1; ++i) {
        const std::uint8_t b = ringByte(dump, q, i);
        if (b != 0 && b != raindump::kMarker)
            return false;
    }
    const int day = ringByte(dump, q, 2);
    const int month = ringByte(dump, q, 3);
    return day >= 1 && day <= 31 && month >= 1 && month <= 12 && ringByte(dump, q, 5) == raindump::kHeaderEnd;
}

DecodedRainDump decodeRainDump(const Bytes& dump) {
    DecodedRainDump decoded;
    decoded.header = readRainDumpHeader(dump);
    const std::size_t end = decoded.header.writePosition;
    if (!isRingPosition(end))
        return decoded;
    decoded.scanned = true;

    std::size_t q = nextRingPosition(end);
    bool first = true;
    while (q != end) {
        const bool atEvent = (first && decoded.header.firstIsEvent) || isRainEventHeader(dump, q);
        first = false;
        if (!atEvent) {
            q = nextRingPosition(q);
            continue;
        }
        RainEvent event;
        event.position = q;
        event.minute = dumpByte(dump, q);
        event.hour = ringByte(dump, q, 1);
        event.day = ringByte(dump, q, 2);
        event.month = ringByte(dump, q, 3);
        event.year = ringByte(dump, q, 4);
        // Walk to the first tip byte, stopping should the write position come first.
        std::size_t t = q;
        bool ended = false;
        for (int i = 0; i < 6 && !ended; ++i) {
            t = nextRingPosition(t);
            ended = t == end;
        }
        std::size_t next = end;
        while (!ended) {
            event.tips.push_back(dumpByte(dump, t));
            const std::size_t after = advanceRingPosition(t, 5);
            if (isRainEventHeader(dump, after)) {
                // The next header must lie wholly before the write position.
                bool crossesEnd = false;
                for (std::size_t p = nextRingPosition(t); p != after && !crossesEnd; p = nextRingPosition(p))
                    crossesEnd = p == end;
                if (!crossesEnd && after != end) {
                    next = after;
                    break;
                }
            }
            t = nextRingPosition(t);
            ended = t == end;
        }
        decoded.events.push_back(std::move(event));
        q = next;
    }
    decoded.days = placeTips(decoded.events);
    return decoded;
}

std::string ClippedRainMinute::text(int bucketFactor) const {
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", minute / 60 % 100, minute % 60);
    const int count = bucketFactor > 0 ? product / bucketFactor : 0;
    return day.dateText() + " " + time + ": " + std::to_string(count) + " x " + std::to_string(bucketFactor) +
           " = " + std::to_string(product) + " sığmaz, " + std::to_string(kLargestMinuteValue) + " yazıldı";
}

RainConversionResult convertRainDump(const Bytes& dump, std::string_view stationNumber,
                                     const std::filesystem::path& stationDir, int bucketFactor) {
    RainConversionResult result;
    if (dump.size() != kMemorySize) {
        result.message = "Sağım dosyası 32768 bayt değil";
        return result;
    }
    result.decoded = decodeRainDump(dump);
    if (!result.decoded.scanned) {
        result.message =
            "Sağım dosyasında yazma konumu geçersiz: " + std::to_string(result.decoded.header.writePosition);
        return result;
    }
    // The products go to the file as they are stored: a count too large for a minute entry is
    // held at its largest value rather than wrapped or the whole day refused.
    std::vector<DownloadedRainDay> products = result.decoded.days;
    for (DownloadedRainDay& day : products)
        for (auto& [minute, count] : day.tipCounts) {
            const int product = count * bucketFactor;
            if (product > kLargestMinuteValue)
                result.clipped.push_back({day.day, minute, product});
            count = std::min(product, kLargestMinuteValue);
        }
    result.written = writeDownloadedRain(stationDir, stationNumber, products, 1);
    result.converted = true;
    result.message = std::string(kRecordingCompleted);
    for (const ClippedRainMinute& clip : result.clipped)
        result.message += "\n" + clip.text(bucketFactor);
    for (const RainWriteError& error : result.written.errors)
        result.message += "\n" + error.message;
    return result;
}

} // namespace korvel
