#pragma once

#include "core/ByteIO.h"
#include "core/OleDate.h"
#include "instruments/Clock.h"
#include "instruments/sim/LevelMemory.h"
#include "instruments/sim/SimDevice.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace korvel::sim {

// A fault the simulator puts into its replies: to every reply, or only to the replies of one
// command byte, as many times as given (-1: always).
struct SimFault {
    enum class Kind {
        Silence,   // no reply at all
        Slow,      // each reply comes `delay` later
        ExtraByte, // one byte more than the reply's length
        Garbled,   // one byte of the reply changed (of a download: a byte in the middle of the image)
        CutOff,    // a download stops after half of the image
    };
    Kind kind = Kind::Silence;
    std::optional<std::uint8_t> command;
    Duration delay{};
    int times = -1;
};

// Parses "silence", "slow=500" (milliseconds), "extra", "garble", "cutoff", each optionally
// followed by "@0x02" (only the replies to that byte) and "*N" (N times).
std::optional<SimFault> parseSimFault(std::string_view text);

// How fast the simulated logger answers. The protocol discards the input right after writing a
// command and before the answer comes; the logger takes long enough for that to be safe on a busy
// computer.
struct SimTiming {
    Duration replyDelay = std::chrono::milliseconds(15);
    // A setting is applied, and answered, once its data have stopped coming for this long.
    Duration writeDelay = std::chrono::milliseconds(50);
    // 0x01 is the wake-up byte as well as the level read: the logger answers it once the line
    // has been quiet for this long, so that a burst of wake-up bytes gets one answer.
    Duration quietGap = std::chrono::milliseconds(5);
    // Without traffic for this long the logger falls asleep; the next byte only wakes it.
    Duration sleepAfter = std::chrono::seconds(5);
    // Download speed in bytes per second; 0 sends as fast as the line takes it.
    double downloadRate = 0;
    // A second "U" within this time erases the memory.
    Duration eraseWindow = std::chrono::seconds(5);
};

// The water-level logger as its byte protocol shows it: clock, date, interval, unit code, level
// digits, the three texts, the battery count and the 32 KiB memory. It is fed the bytes that
// arrive with the time they arrive and gives the bytes it sends when their time has come.
class LevelLoggerSim : public SimDevice {
public:
    struct State {
        OleDate clock; // the logger's date and time at `clockSetAt`
        TimePoint clockSetAt{};
        int intervalCode = 3; // of the readings to come; the memory keeps its own
        int unitCode = 1;
        int levelMm = 0;                      // five digits d5..d1
        std::string stationName = "KARASU  "; // 8 cp1254 bytes each
        std::string stationNumber = "01-001  ";
        std::string riverName = "SAKARYA ";
        int batteryCount = 0;
        LevelMemory memory;
        // A rain logger: 0x01 answers the total rainfall (levelMm), 0x04 the bucket setting
        // (intervalCode), and the memory keeps its own header; the erased memory holds no event.
        bool rainLogger = false;
        // A logger answering over a modem: "I"s fill positions 240..255 of its memory before the
        // ring, and 0x00 wakes it and asks for the 81-byte information block.
        bool behindModem = false;
    };

    LevelLoggerSim(State state, TimePoint now, SimTiming timing = {});
    // A logger holding a generated memory, its clock at the moment the memory was made for.
    static LevelLoggerSim withMemory(const LevelMemoryPlan& plan, TimePoint now, SimTiming timing = {});

    void addFault(SimFault fault) { faults_.push_back(fault); }
    void clearFaults() { faults_.clear(); }
    void setTiming(SimTiming timing) { timing_ = timing; }
    void setBatteryCount(int count) { state_.batteryCount = count; }

    // Bytes arriving at `now`.
    void receive(const Bytes& bytes, TimePoint now) override;
    // The bytes whose time has come by `now`, in order.
    Bytes takeOutput(TimePoint now) override;
    // The line went down (nobody holds the port): what was still to be sent is lost and a
    // command in progress is forgotten.
    void dropLine() override;
    // When something next happens without input (a reply is due, a wait ends); nothing when idle.
    std::optional<TimePoint> nextEvent() const override;

    const State& state() const { return state_; }
    bool asleep() const { return mode_ == Mode::Asleep; }
    // The logger's date and time at `now`.
    OleDate clockAt(TimePoint now) const;
    // The memory image as a download sends it at `now` (header updated).
    Bytes memoryImage(TimePoint now) const;
    // The command bytes received (wake-up bytes counted once per burst), for tests and the log.
    const std::vector<std::uint8_t>& commands() const override { return commands_; }
    int erasures() const { return erasures_; }

private:
    enum class Mode { Asleep, Idle, WriteRead, WriteData, EraseArmed };
    struct Chunk {
        TimePoint at;
        Bytes bytes;
        double rate = 0; // bytes per second, 0 all at once
        std::size_t sent = 0;
    };

    void fireTimers(TimePoint now);
    void handle(std::uint8_t b, TimePoint now);
    void send(std::uint8_t command, Bytes reply, TimePoint at, double rate = 0);
    Bytes readReply(std::uint8_t readByte, TimePoint now) const;
    Bytes informationBlock(TimePoint now) const;
    void applyWrite(TimePoint now);
    void erase(TimePoint now);
    SimFault* faultFor(std::uint8_t command);

    State state_;
    SimTiming timing_;
    Mode mode_ = Mode::Asleep;
    TimePoint lastByte_{};
    std::optional<TimePoint> levelReplyAt_;
    std::optional<TimePoint> blockReplyAt_;
    bool blockRequested_ = false; // the wake-up was answered: the next 0x00 asks for the block
    std::uint8_t writeByte_ = 0;
    std::uint8_t writeReadByte_ = 0;
    Bytes writeData_;
    TimePoint writeApplyAt_{};
    TimePoint eraseUntil_{};
    std::deque<Chunk> out_;
    std::vector<SimFault> faults_;
    std::vector<std::uint8_t> commands_;
    int erasures_ = 0;
};

} // namespace korvel::sim
