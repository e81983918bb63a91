#include "instruments/sim/LevelLoggerSim.h"

#include "core/Numbers.h"
#include "instruments/LevelDump.h"
#include "instruments/LevelLoggerCommands.h"
#include "instruments/sim/RainMemory.h"

#include <algorithm>
#include <cmath>

namespace korvel::sim {

using namespace levellogger;

namespace {

bool isWriteByte(std::uint8_t b) {
    switch (b) {
    case writeByteOf(kLevel):
    case writeByteOf(kTime):
    case writeByteOf(kDate):
    case writeByteOf(kInterval):
    case writeByteOf(kStationName):
    case writeByteOf(kStationNumber):
    case writeByteOf(kRiverName):
    case kUnitToggle:
        return true;
    default:
        return false;
    }
}

bool isDownloadByte(std::uint8_t b) {
    return b == kDownload || b == kSlowDownload || b == kSpecialDownload;
}

double daysOf(Duration d) {
    return std::chrono::duration<double>(d).count() / 86400.0;
}

std::string paddedText(const Bytes& data) {
    std::string text;
    for (std::size_t i = 0; i < kTextLength; ++i)
        text.push_back(i < data.size() ? static_cast<char>(data[i]) : ' ');
    return text;
}

} // namespace

std::optional<SimFault> parseSimFault(std::string_view text) {
    SimFault fault;
    if (const std::size_t star = text.find('*'); star != std::string_view::npos) {
        if (!isNumericText(text.substr(star + 1)))
            return std::nullopt;
        fault.times = static_cast<int>(numericValue(text.substr(star + 1)));
        text = text.substr(0, star);
    }
    if (const std::size_t at = text.find('@'); at != std::string_view::npos) {
        const std::string command(text.substr(at + 1));
        try {
            std::size_t used = 0;
            const int value = std::stoi(command, &used, 0);
            if (used != command.size() || value < 0 || value > 255)
                return std::nullopt;
            fault.command = static_cast<std::uint8_t>(value);
        } catch (const std::exception&) {
            return std::nullopt;
        }
        text = text.substr(0, at);
    }
    if (text == "silence")
        fault.kind = SimFault::Kind::Silence;
    else if (text.rfind("slow=", 0) == 0 && isNumericText(text.substr(5))) {
        fault.kind = SimFault::Kind::Slow;
        fault.delay = std::chrono::milliseconds(static_cast<long>(numericValue(text.substr(5))));
    } else if (text == "extra")
        fault.kind = SimFault::Kind::ExtraByte;
    else if (text == "garble")
        fault.kind = SimFault::Kind::Garbled;
    else if (text == "cutoff")
        fault.kind = SimFault::Kind::CutOff;
    else
        return std::nullopt;
    return fault;
}

LevelLoggerSim::LevelLoggerSim(State state, TimePoint now, SimTiming timing)
    : state_(std::move(state)), timing_(timing), lastByte_(now) {
    if (state_.clockSetAt == TimePoint{})
        state_.clockSetAt = now;
}

LevelLoggerSim LevelLoggerSim::withMemory(const LevelMemoryPlan& plan, TimePoint now, SimTiming timing) {
    State state;
    state.memory = generateLevelMemory(plan);
    state.clock = OleDate::fromDateTime(plan.today.year, plan.today.month, plan.today.day,
                                        plan.minutesNow / 60, plan.minutesNow % 60, 0);
    state.clockSetAt = now;
    state.intervalCode = plan.intervalCode;
    state.unitCode = plan.unitCode;
    state.levelMm = state.memory.lastLevelMm;
    state.stationName = plan.stationName;
    state.stationNumber = plan.stationNumber;
    state.riverName = plan.riverName;
    state.batteryCount = 240;
    return LevelLoggerSim(std::move(state), now, timing);
}

OleDate LevelLoggerSim::clockAt(TimePoint now) const {
    return OleDate(state_.clock.value() + daysOf(now - state_.clockSetAt));
}

Bytes LevelLoggerSim::memoryImage(TimePoint now) const {
    Bytes image = state_.memory.image;
    if (state_.rainLogger)
        return image;
    if (state_.behindModem)
        std::fill(image.begin() + 239, image.begin() + 255, static_cast<std::uint8_t>('I'));
    updateImageHeader(image, state_.stationName, state_.riverName, state_.stationNumber,
                      state_.memory.writePosition, clockAt(now).date());
    return image;
}

SimFault* LevelLoggerSim::faultFor(std::uint8_t command) {
    for (SimFault& f : faults_)
        if (f.times != 0 && (!f.command || *f.command == command))
            return &f;
    return nullptr;
}

void LevelLoggerSim::send(std::uint8_t command, Bytes reply, TimePoint at, double rate) {
    if (SimFault* fault = faultFor(command)) {
        if (fault->times > 0)
            --fault->times;
        switch (fault->kind) {
        case SimFault::Kind::Silence:
            return;
        case SimFault::Kind::Slow:
            at += fault->delay;
            break;
        case SimFault::Kind::ExtraByte:
            reply.push_back(0);
            break;
        case SimFault::Kind::Garbled:
            if (!reply.empty())
                reply[isDownloadByte(command) ? reply.size() / 2 : reply.size() - 1] ^= 0xFF;
            break;
        case SimFault::Kind::CutOff:
            reply.resize(reply.size() / 2);
            break;
        }
    }
    out_.push_back({at, std::move(reply), rate, 0});
}

Bytes LevelLoggerSim::readReply(std::uint8_t readByte, TimePoint now) const {
    const CivilDate date = clockAt(now).date();
    const TimeOfDay time = clockAt(now).time();
    const auto byte = [](int v) { return static_cast<std::uint8_t>(v & 0xFF); };
    switch (readByte) {
    case kLevel: {
        Bytes reply{kLevel};
        for (int i = 0, v = state_.levelMm; i < static_cast<int>(kLevelDigits); ++i, v /= 10)
            reply.push_back(byte(v % 10));
        return reply;
    }
    case kTime:
        return {kTime, byte(time.minute), byte(time.hour)};
    case kDate:
        return {kDate, byte(date.day), byte(date.month), byte(date.year % 100)};
    case kInterval:
        return {kInterval, byte(state_.intervalCode)};
    case kMemoryUsed:
        return {kMemoryUsed, byte(state_.memory.usedBytes >> 8), byte(state_.memory.usedBytes)};
    case kStationName:
    case kStationNumber:
    case kRiverName: {
        const std::string& text = readByte == kStationName     ? state_.stationName
                                  : readByte == kStationNumber ? state_.stationNumber
                                                               : state_.riverName;
        Bytes reply{readByte};
        for (std::size_t i = 0; i < kTextLength; ++i)
            reply.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ');
        return reply;
    }
    case kBattery:
        return {kBattery, 0, 0, 0, byte(state_.batteryCount), byte(state_.batteryCount >> 8)};
    case kUnitCode:
        return {kUnitCode, byte(state_.unitCode)};
    default:
        return {};
    }
}

Bytes LevelLoggerSim::informationBlock(TimePoint now) const {
    Bytes block(81, 0);
    const Bytes level = readReply(kLevel, now);
    std::copy(level.begin() + 1, level.begin() + 6, block.begin() + 1);
    const CivilDate date = clockAt(now).date();
    const TimeOfDay time = clockAt(now).time();
    const auto byte = [](int v) { return static_cast<std::uint8_t>(v & 0xFF); };
    block[8] = byte(state_.memory.usedBytes >> 8);
    block[9] = byte(state_.memory.usedBytes);
    block[10] = byte(time.minute);
    block[11] = byte(time.hour);
    block[12] = byte(date.day);
    block[13] = byte(date.month);
    block[14] = byte(date.year % 100);
    block[15] = byte(state_.intervalCode);
    block[16] = byte(state_.unitCode);
    block[18] = byte(state_.batteryCount);
    block[19] = byte(state_.batteryCount >> 8);
    const std::string* texts[] = {&state_.stationName, &state_.stationNumber, &state_.riverName};
    for (std::size_t t = 0; t < 3; ++t)
        for (std::size_t i = 0; i < kTextLength; ++i)
            block[22 + 8 * t + i] = i < texts[t]->size() ? static_cast<std::uint8_t>((*texts[t])[i]) : ' ';
    return block;
}

void LevelLoggerSim::applyWrite(TimePoint now) {
    const Bytes& d = writeData_;
    switch (writeByte_) {
    case writeByteOf(kLevel):
        if (d.size() >= kLevelDigits) {
            int level = 0;
            for (std::size_t i = kLevelDigits; i >= 1; --i)
                level = level * 10 + d[i - 1] % 10;
            state_.levelMm = level;
        }
        break;
    case writeByteOf(kTime):
        if (d.size() >= 2 && d[0] < 60 && d[1] < 24) {
            const CivilDate date = clockAt(now).date();
            state_.clock = OleDate::fromDateTime(date.year, date.month, date.day, d[1], d[0], 0);
            state_.clockSetAt = now;
        }
        break;
    case writeByteOf(kDate):
        if (d.size() >= 3)
            if (const auto date = blockDate(d[0], d[1], d[2])) {
                const TimeOfDay time = clockAt(now).time();
                const CivilDate c = date->date();
                state_.clock =
                    OleDate::fromDateTime(c.year, c.month, c.day, time.hour, time.minute, time.second);
                state_.clockSetAt = now;
            }
        break;
    case writeByteOf(kInterval):
        if (!d.empty())
            state_.intervalCode = d[0];
        break;
    case writeByteOf(kStationName):
        state_.stationName = paddedText(d);
        break;
    case writeByteOf(kStationNumber):
        state_.stationNumber = paddedText(d);
        break;
    case writeByteOf(kRiverName):
        state_.riverName = paddedText(d);
        break;
    case kUnitToggle:
        if (!d.empty())
            state_.unitCode = d[0];
        break;
    default:
        break;
    }
    Bytes reply = readReply(writeReadByte_, now);
    if (!reply.empty())
        send(writeByte_, std::move(reply), now);
}

void LevelLoggerSim::erase(TimePoint now) {
    if (state_.rainLogger) {
        RainMemoryPlan plan;
        plan.stationName = state_.stationName;
        plan.regionName = state_.riverName;
        plan.stationNumber = state_.stationNumber;
        state_.memory = erasedRainMemory(plan);
        ++erasures_;
        return;
    }
    LevelMemoryPlan plan;
    plan.today = clockAt(now).date();
    plan.intervalCode = state_.intervalCode;
    plan.unitCode = state_.unitCode;
    plan.stationName = state_.stationName;
    plan.riverName = state_.riverName;
    plan.stationNumber = state_.stationNumber;
    plan.lowestMm = state_.levelMm;
    state_.memory = erasedLevelMemory(plan);
    ++erasures_;
}

void LevelLoggerSim::fireTimers(TimePoint now) {
    if (blockReplyAt_ && *blockReplyAt_ <= now) {
        const TimePoint at = *blockReplyAt_;
        blockReplyAt_.reset();
        send(kModemWake, blockRequested_ ? informationBlock(at) : Bytes{kModemWake}, at);
        blockRequested_ = !blockRequested_;
    }
    if (levelReplyAt_ && *levelReplyAt_ <= now) {
        const TimePoint at = *levelReplyAt_;
        levelReplyAt_.reset();
        send(kLevel, readReply(kLevel, at), at);
    }
    if ((mode_ == Mode::WriteRead || mode_ == Mode::WriteData) && writeApplyAt_ <= now) {
        if (mode_ == Mode::WriteData)
            applyWrite(writeApplyAt_);
        mode_ = Mode::Idle;
    }
    if (mode_ == Mode::EraseArmed && eraseUntil_ < now)
        mode_ = Mode::Idle;
    if (mode_ == Mode::Idle && !levelReplyAt_ && out_.empty() && now - lastByte_ >= timing_.sleepAfter)
        mode_ = Mode::Asleep;
}

void LevelLoggerSim::handle(std::uint8_t b, TimePoint now) {
    switch (mode_) {
    case Mode::Asleep:
        mode_ = Mode::Idle;
        return;
    case Mode::WriteRead:
        writeReadByte_ = b;
        writeData_.clear();
        mode_ = Mode::WriteData;
        writeApplyAt_ = now + timing_.writeDelay;
        return;
    case Mode::WriteData:
        writeData_.push_back(b);
        writeApplyAt_ = now + timing_.writeDelay;
        return;
    case Mode::EraseArmed:
        mode_ = Mode::Idle;
        if (b == kErase) {
            commands_.push_back(b);
            erase(now);
            return;
        }
        break;
    case Mode::Idle:
        break;
    }

    if (b == kModemWake && state_.behindModem) {
        if (!blockReplyAt_)
            commands_.push_back(b);
        blockReplyAt_ = now + timing_.quietGap;
        return;
    }
    if (b == kWake) {
        if (!levelReplyAt_)
            commands_.push_back(b);
        levelReplyAt_ = now + timing_.quietGap;
        return;
    }
    levelReplyAt_.reset();
    commands_.push_back(b);
    if (replyLength(b)) {
        send(b, readReply(b, now), now + timing_.replyDelay);
    } else if (isWriteByte(b)) {
        send(b, {b}, now + timing_.replyDelay);
        writeByte_ = b;
        mode_ = Mode::WriteRead;
        writeApplyAt_ = now + timing_.eraseWindow;
    } else if (isDownloadByte(b)) {
        Bytes reply{b};
        const Bytes image = memoryImage(now);
        reply.insert(reply.end(), image.begin(), image.end());
        send(b, std::move(reply), now + timing_.replyDelay, timing_.downloadRate);
    } else if (b == kErase) {
        send(b, {kErase}, now + timing_.replyDelay);
        mode_ = Mode::EraseArmed;
        eraseUntil_ = now + timing_.eraseWindow;
    }
}

void LevelLoggerSim::receive(const Bytes& bytes, TimePoint now) {
    fireTimers(now);
    for (const std::uint8_t b : bytes)
        handle(b, now);
    if (!bytes.empty())
        lastByte_ = now;
}

Bytes LevelLoggerSim::takeOutput(TimePoint now) {
    fireTimers(now);
    Bytes out;
    while (!out_.empty() && out_.front().at <= now) {
        Chunk& c = out_.front();
        std::size_t due = c.bytes.size();
        if (c.rate > 0) {
            const double seconds = std::chrono::duration<double>(now - c.at).count();
            due = std::min(c.bytes.size(), static_cast<std::size_t>(seconds * c.rate) + 1);
        }
        out.insert(out.end(), c.bytes.begin() + static_cast<std::ptrdiff_t>(c.sent),
                   c.bytes.begin() + static_cast<std::ptrdiff_t>(due));
        c.sent = due;
        if (c.sent < c.bytes.size())
            break;
        out_.pop_front();
    }
    return out;
}

void LevelLoggerSim::dropLine() {
    out_.clear();
    levelReplyAt_.reset();
    blockReplyAt_.reset();
    blockRequested_ = false;
    if (mode_ != Mode::Asleep)
        mode_ = Mode::Idle;
}

std::optional<TimePoint> LevelLoggerSim::nextEvent() const {
    std::optional<TimePoint> next;
    auto consider = [&next](TimePoint t) {
        if (!next || t < *next)
            next = t;
    };
    if (levelReplyAt_)
        consider(*levelReplyAt_);
    if (blockReplyAt_)
        consider(*blockReplyAt_);
    if (mode_ == Mode::WriteRead || mode_ == Mode::WriteData)
        consider(writeApplyAt_);
    if (mode_ == Mode::EraseArmed)
        consider(eraseUntil_ + std::chrono::nanoseconds(1));
    if (!out_.empty()) {
        const Chunk& c = out_.front();
        if (c.rate > 0 && c.sent > 0)
            consider(c.at + std::chrono::duration_cast<Duration>(
                                std::chrono::duration<double>(static_cast<double>(c.sent) / c.rate)));
        else
            consider(c.at);
    }
    return next;
}

} // namespace korvel::sim
