#pragma once

#include "instruments/CurrentMeter.h"
#include "instruments/sim/LevelLoggerSim.h"
#include "instruments/sim/SimDevice.h"

#include <deque>

namespace korvel::sim {

// The K.3300 current meter: 0x31 is answered with 0x31 and the six calibration bytes, 0x32 with
// 0x32 and then takes the next six bytes as the new calibration, 0x33 with 0x33 and erases the
// memory; calibration bytes that have not all come within a second are forgotten. Replies come within
// `replyDelay` (well inside the 50 ms the screens wait). Faults as for the loggers: silence, a slow reply, an
// extra byte, a garbled first byte.
class CurrentMeterSim : public SimDevice {
public:
    explicit CurrentMeterSim(CalibrationBytes calibration,
                             Duration replyDelay = std::chrono::milliseconds(10))
        : calibration_(calibration), replyDelay_(replyDelay) {}

    void addFault(SimFault fault) { faults_.push_back(fault); }

    void receive(const Bytes& bytes, TimePoint now) override;
    Bytes takeOutput(TimePoint now) override;
    void dropLine() override;
    std::optional<TimePoint> nextEvent() const override;
    const std::vector<std::uint8_t>& commands() const override { return commands_; }

    const CalibrationBytes& calibration() const { return calibration_; }
    int erasures() const { return erasures_; }

private:
    void reply(std::uint8_t command, Bytes bytes, TimePoint now);

    CalibrationBytes calibration_;
    Duration replyDelay_;
    std::deque<std::pair<TimePoint, Bytes>> out_;
    std::vector<SimFault> faults_;
    std::vector<std::uint8_t> commands_;
    Bytes incoming_;
    bool takingCalibration_ = false;
    TimePoint calibrationSince_{};
    int erasures_ = 0;
};

} // namespace korvel::sim
