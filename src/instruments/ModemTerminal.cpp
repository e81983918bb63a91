#include "instruments/ModemTerminal.h"

#include "core/Cp1254.h"
#include "core/Numbers.h"
#include "instruments/LevelDump.h"
#include "instruments/LevelLoggerCommands.h"
#include "instruments/PortSettings.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

namespace korvel {

using namespace modem;

std::string dialNumber(std::string_view dialPrefix, std::string_view phoneNumber) {
    const std::string prefix = trimmed(dialPrefix);
    const std::string phone = trimmed(phoneNumber);
    if (phone.empty() && prefix.empty())
        return {};
    return prefix.empty() ? phone : prefix + "," + phone;
}

std::string dialCommand(std::string_view number) {
    return "ATDT" + std::string(number) + "\r\n";
}

std::string modemLineSettings(std::string_view storedSpeed) {
    const std::string line = trimmed(storedSpeed) + ",n,8,1";
    const auto parsed = parseLineSettings(line);
    return parsed && parsed->speed > 0 ? line : std::string(kInstrumentLine);
}

std::string connectTimeText(long long seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

ModemInformation readModemInformation(Exchange& exchange) {
    ModemInformation info;
    const Clock::Duration shortWait = Seconds(2);
    for (;;) {
        ++info.wakeAttempts;
        if (exchange.openPort()) {
            for (int i = 0; i < kWakeRepeats && exchange.link().inCount() == 0; ++i)
                exchange.write(kWake);
            exchange.write(kWake);
            exchange.discardInput();
            if (exchange.awaitAny(shortWait))
                break;
        }
        if (exchange.portOpenFailed() || exchange.stopRequested() || info.wakeAttempts >= kWakeRetries) {
            info.message = exchange.portOpenFailed() ? std::string(kPortUnsuitable) : std::string(kTryAgain);
            return info;
        }
    }
    exchange.discardInput();
    exchange.write(kWake);
    if (!exchange.awaitCount(kBlockSize, Seconds(4))) {
        info.message = std::string(kTryAgain);
        return info;
    }
    info.block = exchange.readAll();
    if (!modemBlockInRange(info.block)) {
        info.message = std::string(kTryAgain);
        return info;
    }
    info.ok = true;
    return info;
}

int modemLevel(const Bytes& block) {
    const ByteReader in(block);
    if (in.u8(16) == 10)
        return in.u8(5) * 1000 + in.u8(4) * 100 + in.u8(3) * 10 + in.u8(2);
    return in.u8(4) * 1000 + in.u8(3) * 100 + in.u8(2) * 10 + in.u8(1);
}

namespace {

// The block's fields as the replies of the direct link would carry them.
std::vector<LoggerReply> modemReplies(const Bytes& block) {
    using namespace levellogger;
    const ByteReader in(block);
    auto bytes = [&in](std::initializer_list<std::size_t> positions) {
        Bytes reply{0};
        for (const std::size_t p : positions)
            reply.push_back(in.u8(p));
        return reply;
    };
    return {{kUnitCode, bytes({16})},
            {kLevel, bytes({1, 2, 3, 4, 5})},
            {kTime, bytes({10, 11})},
            {kDate, bytes({12, 13, 14})},
            {kInterval, bytes({15})},
            {kMemoryUsed, bytes({8, 9})},
            {kBattery, bytes({0, 0, 0, 18, 19})},
            {kStationName, bytes({22, 23, 24, 25, 26, 27, 28, 29})},
            {kStationNumber, bytes({30, 31, 32, 33, 34, 35, 36, 37})},
            {kRiverName, bytes({38, 39, 40, 41, 42, 43, 44, 45})}};
}

} // namespace

bool modemBlockInRange(const Bytes& block) {
    for (const LoggerReply& r : modemReplies(block))
        if (!levelReplyInRange(r.readByte, r.reply))
            return false;
    return true;
}

ModemInformationView showModemBlock(const Bytes& block, const HqTable* rating, double elevation,
                                    const Locale& locale) {
    const ByteReader in(block);
    ModemInformationView view;
    LevelLoggerView& v = view.logger;
    for (const LoggerReply& r : modemReplies(block))
        v.showReply(r.readByte, r.reply, locale);

    const int unitCode = in.u8(16);
    view.level = modemLevel(block);
    if (unitCode != 10 && rating != nullptr) {
        if (const auto q = dischargeAtLevel(*rating, roundHalfEven(view.level / 10.0)))
            v.fields.setText("Text12", locale.numberText32(*q));
    }
    if (elevation != 0) {
        const double surface = elevation + view.level / (unitCode == 10 ? 100.0 : 1000.0);
        v.fields.setText("Text11", locale.numberText(surface) + ".m");
    }
    return view;
}

std::uint8_t modemDownloadByte(ModemDownloadMode mode) {
    switch (mode) {
    case ModemDownloadMode::Slow:
        return levellogger::kSlowDownload;
    case ModemDownloadMode::Special:
        return levellogger::kSpecialDownload;
    case ModemDownloadMode::Normal:
        break;
    }
    return levellogger::kDownload;
}

ModemDownload downloadOverModem(Exchange& exchange, ModemDownloadMode mode,
                                const std::function<void(std::size_t)>& progress) {
    ModemDownload result;
    auto fail = [&exchange, &result] {
        result.message = exchange.portOpenFailed() ? std::string(kPortUnsuitable) : std::string(kTryAgain);
        return result;
    };
    const Clock::Duration firstWait = mode == ModemDownloadMode::Slow ? Seconds(8) : Seconds(4);
    if (!exchange.wakeLogger(kDownloadWakeRepeats, firstWait))
        return fail();
    exchange.write(modemDownloadByte(mode));
    exchange.discardInput();

    SerialLink& link = exchange.link();
    const Clock::Duration tick = std::chrono::milliseconds(20);
    std::optional<std::size_t> wanted;
    for (;;) {
        exchange.clock().sleepFor(tick);
        if (exchange.stopRequested())
            return fail();
        if (link.inCount() == 0)
            ++result.idleTicks;
        const Bytes waiting = link.readAll();
        result.received.insert(result.received.end(), waiting.begin(), waiting.end());
        if (progress && !waiting.empty())
            progress(result.received.size());
        if (result.received.size() >= levellogger::kMemorySize) {
            // Stray bytes before the image push its end past the 32768th byte: the rest is still
            // taken while it comes.
            if (!wanted) {
                const AlignedModemImage aligned = alignModemDownload(result.received);
                wanted = result.received.size() + (aligned.ok ? kWholeImage - aligned.receivedEnd : 0);
            }
            if (result.received.size() >= *wanted || waiting.empty())
                break;
        }
        if (result.idleTicks >= kIdleLimit - 1 && result.received.size() > kShortDownload)
            break;
        if (result.idleTicks >= kIdleLimit)
            return fail();
    }
    AlignedModemImage aligned = alignModemDownload(result.received);
    if (!aligned.ok)
        return fail();
    result.ok = true;
    result.image = std::move(aligned.image);
    result.receivedEnd = aligned.receivedEnd;
    return result;
}

namespace {

constexpr std::uint8_t kHeaderMark = 'G';
constexpr std::uint8_t kFillerMark = 'I';
// Received byte 1 is image position 1: a shift of s takes image position p from received byte p + s.
constexpr long kMinShift = -static_cast<long>(leveldump::kStationName) + 1; // positions 1..5 are unused
constexpr std::size_t kHeaderEnd = leveldump::kParameters + leveldump::kParameterCount;

std::size_t receivedEndOf(std::size_t receivedSize, long shift) {
    const long end = static_cast<long>(receivedSize) - shift;
    return static_cast<std::size_t>(std::clamp(end, 0L, static_cast<long>(kWholeImage)));
}

Bytes shiftedImage(const Bytes& received, long shift) {
    Bytes image(levellogger::kMemorySize, kImageFill);
    for (std::size_t p = 1; p <= levellogger::kMemorySize; ++p) {
        const long source = static_cast<long>(p) + shift;
        if (source >= 0 && static_cast<std::size_t>(source) < received.size())
            image[p - 1] = received[static_cast<std::size_t>(source)];
    }
    return image;
}

// Shifts the usual places give, in the order they are tried.
std::vector<long> usualShifts(const Bytes& received) {
    auto at = [&received](std::size_t i) { return i < received.size() ? received[i] : std::uint8_t{0}; };
    std::vector<long> shifts;
    std::optional<std::size_t> g;
    for (std::size_t i = 0; i <= 20 && i < received.size(); ++i)
        if (at(i) == kHeaderMark) {
            g = i;
            break;
        }
    if (g && *g >= 1)
        shifts.push_back(static_cast<long>(*g) - 1);
    // The filler "I"s before the ring end at position 255; the first other byte is position 256.
    for (std::size_t i = 241; i <= 260 && i < received.size(); ++i)
        if (at(i) != kFillerMark && at(i - 1) == kFillerMark) {
            shifts.push_back(static_cast<long>(i) - static_cast<long>(levellogger::kRingFirst));
            break;
        }
    if (g && *g == 0)
        shifts.push_back(-1);
    shifts.push_back(0);
    return shifts;
}

// Every other place a sign of the image start stands in the received data: a "G" for position 1,
// the end of a run of "I"s for position 256, the ring marker for the position after ringStart.
std::vector<long> searchedShifts(const Bytes& received) {
    std::vector<long> shifts;
    const std::string_view marker = leveldump::kMarker;
    for (std::size_t i = 0; i < received.size(); ++i) {
        if (received[i] == kHeaderMark)
            shifts.push_back(static_cast<long>(i) - 1);
        if (i > 0 && received[i] != kFillerMark && received[i - 1] == kFillerMark)
            shifts.push_back(static_cast<long>(i) - static_cast<long>(levellogger::kRingFirst));
        if (i + marker.size() <= received.size() &&
            std::equal(marker.begin(), marker.end(), received.begin() + static_cast<std::ptrdiff_t>(i),
                       [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; })) {
            // Where the marker stands depends on the ringStart of the header the shift gives.
            for (long shift = static_cast<long>(i) - static_cast<long>(levellogger::kRingLast);
                 shift <= static_cast<long>(i); ++shift) {
                const long high = leveldump::kParameters + leveldump::kRingStartHigh - 1 + shift;
                if (high < 0 || static_cast<std::size_t>(high) + 1 >= received.size())
                    continue;
                const long ringStart = received[static_cast<std::size_t>(high)] * 256L +
                                       received[static_cast<std::size_t>(high) + 1];
                if (ringStart + 1 + shift == static_cast<long>(i))
                    shifts.push_back(shift);
            }
        }
    }
    return shifts;
}

} // namespace

bool readsAsLevelImage(const Bytes& image, std::size_t receivedEnd) {
    if (image.size() != levellogger::kMemorySize || receivedEnd <= kHeaderEnd)
        return false;
    const LevelDumpHeader header = readLevelDumpHeader(image);
    const int interval = header.intervalMinutes();
    if (!isRingPosition(header.writePosition()) || interval > 1440 || 1440 % interval != 0)
        return false;
    if (!isValidBlockDate(header.p(leveldump::kNameDay), header.p(leveldump::kNameMonth),
                          header.p(leveldump::kNameYear)))
        return false;
    const auto first = firstBlockPosition(image, header, receivedEnd);
    if (!first)
        return false;
    if (*first == header.writePosition())
        return true; // an empty ring
    auto dateAt = [&](std::size_t p) -> std::optional<OleDate> {
        const std::size_t month = nextRingPosition(p);
        const std::size_t year = nextRingPosition(month);
        if (p >= receivedEnd || month >= receivedEnd || year >= receivedEnd)
            return std::nullopt;
        return blockDate(dumpByte(image, p), dumpByte(image, month), dumpByte(image, year));
    };
    const auto firstDate = dateAt(*first);
    if (!firstDate)
        return false;
    // A second block the logger has written, when it was received, carries a later day.
    const auto blockSize = static_cast<std::size_t>(dayBlockSize(interval));
    const std::size_t written =
        (header.writePosition() + levellogger::kRingSize - *first) % levellogger::kRingSize;
    const std::size_t second = advanceRingPosition(*first, blockSize);
    if (written < blockSize + leveldump::kDateBytes || second >= receivedEnd)
        return true;
    const auto secondDate = dateAt(second);
    return secondDate && *secondDate > *firstDate;
}

AlignedModemImage alignModemDownload(const Bytes& received) {
    AlignedModemImage aligned;
    std::set<long> tried;
    auto tryShift = [&](long shift) {
        if (shift < kMinShift || !tried.insert(shift).second)
            return false;
        const std::size_t end = receivedEndOf(received.size(), shift);
        Bytes image = shiftedImage(received, shift);
        if (!readsAsLevelImage(image, end))
            return false;
        aligned = {true, std::move(image), end};
        return true;
    };
    for (const long shift : usualShifts(received))
        if (tryShift(shift))
            return aligned;
    for (const long shift : searchedShifts(received))
        if (tryShift(shift))
            return aligned;
    return aligned;
}

} // namespace korvel
