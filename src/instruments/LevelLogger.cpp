#include "instruments/LevelLogger.h"

#include "instruments/LevelDump.h"
#include "instruments/LevelLoggerCommands.h"
#include "instruments/PortSettings.h"

namespace korvel {

using namespace levellogger;

namespace {

constexpr int kInformationWakeRepeats = 1000;
constexpr int kInformationAttempts = 6;
constexpr int kEraseWakeRepeats = 4000;
const Clock::Duration kShortWait = Seconds(2);
const Clock::Duration kReadWait = Seconds(4);

CommandOutcome failed(Exchange& exchange, CommandOutcome outcome, std::string_view message) {
    exchange.closePort();
    outcome.ok = false;
    outcome.message = exchange.portOpenFailed() ? std::string(kPortUnsuitable) : std::string(message);
    return outcome;
}

bool digitsOnly(const Bytes& reply, std::size_t first, std::size_t last) {
    const ByteReader in(reply);
    for (std::size_t i = first; i <= last; ++i)
        if (in.u8(i) > 9)
            return false;
    return true;
}

// The replies both loggers give alike; true for another read byte.
bool commonReplyInRange(std::uint8_t readByte, const Bytes& reply) {
    const ByteReader in(reply);
    switch (readByte) {
    case kTime:
        return in.u8(1) <= 59 && in.u8(2) <= 23;
    case kDate:
        return in.u8(1) >= 1 && in.u8(1) <= 31 && in.u8(2) >= 1 && in.u8(2) <= 12 && in.u8(3) <= 99;
    case kMemoryUsed:
        return in.u8(1) * 256 + in.u8(2) <= static_cast<int>(kRingSize);
    case kBattery:
        return in.u8(5) * 256 + in.u8(4) <= kBatteryLife;
    default:
        return true;
    }
}

} // namespace

bool levelReplyInRange(std::uint8_t readByte, const Bytes& reply) {
    const ByteReader in(reply);
    switch (readByte) {
    case kLevel:
        return digitsOnly(reply, 1, 5);
    case kInterval: {
        const int minutes = intervalMinutesOfCode(in.u8(1));
        return minutes <= 1440 && 1440 % minutes == 0;
    }
    case kUnitCode:
        return in.u8(1) >= 1 && in.u8(1) <= 10;
    default:
        return commonReplyInRange(readByte, reply);
    }
}

bool rainReplyInRange(std::uint8_t readByte, const Bytes& reply) {
    if (readByte == kLevel)
        return digitsOnly(reply, 1, 4);
    return commonReplyInRange(readByte, reply);
}

CommandOutcome readInformation(Exchange& exchange) {
    return readInformation(exchange, kInformationWakeRepeats, kInformationReads, levelReplyInRange);
}

CommandOutcome readInformation(Exchange& exchange, int wakeRepeats, std::span<const std::uint8_t> reads,
                               ReplyCheck check) {
    CommandOutcome outcome;
    for (;;) {
        ++outcome.wakeAttempts;
        if (exchange.wakeLogger(wakeRepeats, kShortWait) &&
            exchange.sendWithEchoDiscard(kUnitCode, *replyLength(kUnitCode), kShortWait))
            break;
        if (exchange.portOpenFailed() || exchange.stopRequested() ||
            outcome.wakeAttempts >= kInformationAttempts)
            return failed(exchange, std::move(outcome), kTryAgain);
    }
    Bytes unit = exchange.readAll();
    if (!check(kUnitCode, unit))
        return failed(exchange, std::move(outcome), kTryAgain);
    outcome.replies.push_back({kUnitCode, std::move(unit)});
    for (const std::uint8_t read : reads) {
        exchange.write(read);
        if (!exchange.awaitCount(replyLength(read).value_or(0), kReadWait))
            return failed(exchange, std::move(outcome), kTryAgain);
        Bytes reply = exchange.readAll();
        if (!check(read, reply))
            return failed(exchange, std::move(outcome), kTryAgain);
        outcome.replies.push_back({read, std::move(reply)});
    }
    exchange.closePort();
    outcome.ok = true;
    return outcome;
}

CommandOutcome writeSetting(Exchange& exchange, const SettingCommand& command) {
    CommandOutcome outcome;
    outcome.wakeAttempts = 1;
    if (!exchange.wakeLogger(kInformationWakeRepeats, kShortWait) ||
        !exchange.sendWithEchoDiscard(command.writeByte, 1, kShortWait))
        return failed(exchange, std::move(outcome), kTryAgain);
    exchange.write(command.readByte);
    exchange.writeAndDrain(command.data);
    exchange.discardInput();
    if (!exchange.awaitCount(command.replyLength, kShortWait))
        return failed(exchange, std::move(outcome), kTryAgain);
    outcome.replies.push_back({command.readByte, exchange.readAll()});
    exchange.closePort();
    outcome.ok = true;
    return outcome;
}

CommandOutcome eraseMemory(Exchange& exchange) {
    CommandOutcome outcome;
    if (!exchange.openPort())
        return failed(exchange, std::move(outcome), kConnectionLost);
    outcome.wakeAttempts = 1;
    SerialLink& link = exchange.link();
    for (int i = 0; i < kEraseWakeRepeats && !exchange.stopRequested(); ++i) {
        link.write(kWake);
        if (link.inCount() != 0)
            break;
    }
    exchange.write(kErase);
    exchange.discardInput();
    if (!exchange.awaitAny(kShortWait))
        return failed(exchange, std::move(outcome), kConnectionLost);
    exchange.write(kErase);
    exchange.discardInput();
    exchange.closePort();
    outcome.ok = true;
    return outcome;
}

DownloadOutcome downloadMemory(Exchange& exchange, const DownloadOptions& options,
                               const std::function<void(std::size_t)>& progress) {
    DownloadOutcome outcome;
    Bytes buffer;
    auto fail = [&exchange, &outcome, &buffer] {
        exchange.closePort();
        outcome.message = exchange.portOpenFailed() ? std::string(kPortUnsuitable) : std::string(kTryAgain);
        outcome.image.clear();
        if (buffer.size() > 1)
            outcome.partial.assign(buffer.begin() + 1, buffer.end());
        return outcome;
    };
    if (!exchange.wakeLogger(options.wakeRepeats, options.firstWait))
        return fail();
    exchange.write(options.mode);
    exchange.discardInput();
    if (!exchange.awaitAny(options.replyWait))
        return fail();

    buffer.reserve(options.expected);
    SerialLink& link = exchange.link();
    for (;;) {
        exchange.clock().sleepFor(options.tick);
        if (exchange.stopRequested())
            return fail();
        if (link.inCount() == 0)
            ++outcome.idleTicks;
        if (outcome.idleTicks == options.idleLimit) {
            outcome.received = buffer.size();
            return fail();
        }
        const Bytes waiting = link.readAll();
        buffer.insert(buffer.end(), waiting.begin(), waiting.end());
        outcome.received = buffer.size();
        if (progress)
            progress(buffer.size());
        if (buffer.size() == options.expected)
            break;
    }
    exchange.closePort();
    outcome.ok = true;
    outcome.image.assign(buffer.begin() + 1, buffer.end());
    return outcome;
}

} // namespace korvel
