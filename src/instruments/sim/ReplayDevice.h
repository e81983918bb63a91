#pragma once

#include "instruments/ProtocolLog.h"
#include "instruments/sim/SimDevice.h"

#include <deque>

namespace korvel::sim {

// A device that answers as one did in a recorded session. The log is read as steps: a byte the
// program wrote (a burst of the same byte, such as the wake-up, counts as one) and the bytes it
// read afterwards, each with its delay after the step's last byte. Bytes read in the same
// millisecond as the write before them were already waiting, so they answer the step before. When
// the program writes the byte of the next step, the replies of that step are sent after their
// recorded delays (a burst is answered once it has ended), and what was still to come for the steps
// before is dropped. A byte equal to the step just matched starts the next step only once that
// step's replies have all gone out; a byte that matches no next step is ignored.
class ReplayDevice : public SimDevice {
public:
    explicit ReplayDevice(const ProtocolLog& log);

    void receive(const Bytes& bytes, TimePoint now) override;
    Bytes takeOutput(TimePoint now) override;
    void dropLine() override { scheduled_.clear(); }
    std::optional<TimePoint> nextEvent() const override;
    const std::vector<std::uint8_t>& commands() const override { return commands_; }

    // Steps matched so far and in all.
    std::size_t stepsMatched() const { return next_; }
    std::size_t stepCount() const { return steps_.size(); }

private:
    struct Reply {
        Duration delay{};
        Bytes bytes;
    };
    struct Step {
        std::uint8_t byte = 0;
        long long lastMs = 0; // of the last byte of the step in the log
        bool burst = false;
        std::vector<Reply> replies;
    };
    struct Scheduled {
        TimePoint due;
        Duration delay;
        std::size_t step = 0;
        Bytes bytes;
    };
    void start(std::size_t step, TimePoint now);

    std::vector<Step> steps_; // steps_[0] holds what was read before anything was written
    std::size_t next_ = 1;    // the step the next new byte must match
    std::deque<Scheduled> scheduled_;
    bool answering_ = false; // a reply of the last step matched has gone out
    std::vector<std::uint8_t> commands_;
};

} // namespace korvel::sim
