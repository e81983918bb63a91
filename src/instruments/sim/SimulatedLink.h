#pragma once

#include "instruments/FakeLink.h"
#include "instruments/sim/LevelLoggerSim.h"
#include "instruments/sim/SimDevice.h"

namespace korvel::sim {

// A serial link wired straight to a simulated logger, on a fake clock: what the protocol writes
// reaches the logger at once, and waiting for input moves the clock to the logger's next reply.
// Whole commands run against the simulator in no real time.
class SimulatedLink : public SerialLink {
public:
    SimulatedLink(SimDevice& logger, FakeClock& clock) : logger_(logger), clock_(clock) {}

    void setOpenFails(bool fails) { openFails_ = fails; }

    void setPort(std::string_view) override {}
    void setLineSettings(std::string_view) override {}
    bool open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    void write(const Bytes& bytes) override;
    using SerialLink::write;
    Bytes readAll() override;
    std::size_t inCount() override;
    std::size_t outCount() override { return 0; }
    void waitForInput(std::chrono::milliseconds limit) override;

    std::size_t bytesWritten() const { return written_; }

private:
    void collect();

    SimDevice& logger_;
    FakeClock& clock_;
    Bytes input_;
    bool open_ = false;
    bool openFails_ = false;
    std::size_t written_ = 0;
};

} // namespace korvel::sim
