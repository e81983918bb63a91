#include "instruments/ModemTerminal.h"

#include "core/Cp1254.h"
#include "core/Numbers.h"
#include "instruments/LevelDump.h"
#include "instruments/LevelLoggerCommands.h"
#include "instruments/PortSettings.h"

#include <cstdio>

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
    info.ok = true;
    return info;
}

int modemLevel(const Bytes& block) {
    const ByteReader in(block);
    if (in.u8(16) == 10)
        return in.u8(5) * 1000 + in.u8(4) * 100 + in.u8(3) * 10 + in.u8(2);
    return in.u8(4) * 1000 + in.u8(3) * 100 + in.u8(2) * 10 + in.u8(1);
}

ModemInformationView showModemBlock(const Bytes& block, const HqTable* rating, double elevation,
                                    const Locale& locale) {
    using namespace levellogger;
    const ByteReader in(block);
    auto bytes = [&in](std::initializer_list<std::size_t> positions) {
        Bytes reply{0};
        for (const std::size_t p : positions)
            reply.push_back(in.u8(p));
        return reply;
    };
    ModemInformationView view;
    LevelLoggerView& v = view.logger;
    // The block's fields, shown as the replies of the direct link would be.
    v.showReply(kUnitCode, bytes({16}), locale);
    v.showReply(kLevel, bytes({1, 2, 3, 4, 5}), locale);
    v.showReply(kTime, bytes({10, 11}), locale);
    v.showReply(kDate, bytes({12, 13, 14}), locale);
    v.showReply(kInterval, bytes({15}), locale);
    v.showReply(kMemoryUsed, bytes({8, 9}), locale);
    v.showReply(kBattery, bytes({0, 0, 0, 18, 19}), locale);
    v.showReply(kStationName, bytes({22, 23, 24, 25, 26, 27, 28, 29}), locale);
    v.showReply(kStationNumber, bytes({30, 31, 32, 33, 34, 35, 36, 37}), locale);
    v.showReply(kRiverName, bytes({38, 39, 40, 41, 42, 43, 44, 45}), locale);

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
        result.received.clear();
        return result;
    };
    const Clock::Duration firstWait = mode == ModemDownloadMode::Slow ? Seconds(8) : Seconds(4);
    if (!exchange.wakeLogger(kDownloadWakeRepeats, firstWait))
        return fail();
    exchange.write(modemDownloadByte(mode));
    exchange.discardInput();

    SerialLink& link = exchange.link();
    const Clock::Duration tick = std::chrono::milliseconds(20);
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
        if (result.received.size() >= levellogger::kMemorySize)
            break;
        if (result.idleTicks >= kIdleLimit - 1 && result.received.size() > kShortDownload)
            break;
        if (result.idleTicks >= kIdleLimit)
            return fail();
    }
    result.ok = true;
    result.image = alignModemDownload(result.received);
    return result;
}

Bytes alignModemDownload(const Bytes& received) {
    constexpr std::uint8_t kG = 'G';
    constexpr std::uint8_t kI = 'I';
    auto at = [&received](std::size_t i) { return i < received.size() ? received[i] : std::uint8_t{0}; };
    long shift = 0;
    std::optional<std::size_t> g;
    for (std::size_t i = 0; i <= 20 && i < received.size(); ++i)
        if (at(i) == kG) {
            g = i;
            break;
        }
    if (g && *g >= 1) {
        shift = static_cast<long>(*g) - 1;
    } else {
        // The filler "I"s before the ring end at position 255; the first other byte is position 256.
        std::optional<std::size_t> ringStart;
        for (std::size_t i = 241; i <= 260 && i < received.size(); ++i)
            if (at(i) != kI && at(i - 1) == kI) {
                ringStart = i;
                break;
            }
        if (ringStart)
            shift = static_cast<long>(*ringStart) - static_cast<long>(levellogger::kRingFirst);
        else if (g)
            shift = -1;
    }
    Bytes image(levellogger::kMemorySize, kImageFill);
    for (std::size_t p = 1; p <= levellogger::kMemorySize; ++p) {
        const long source = static_cast<long>(p) + shift;
        if (source >= 0 && static_cast<std::size_t>(source) < received.size())
            image[p - 1] = received[static_cast<std::size_t>(source)];
    }
    return image;
}

} // namespace korvel
