#pragma once

#include "instruments/sim/LevelLoggerSim.h"
#include "instruments/sim/SimDevice.h"

#include <deque>
#include <string>

namespace korvel::sim {

// A Hayes modem with a water-level logger at the far end of the line. In command mode it answers
// "AT" with "OK", "ATDT<number>" with "CONNECT" (after `connectDelay`), "ATH" with "OK"; once
// connected every byte goes to the logger and the logger's bytes come back, until "ATH" hangs up
// with "NO CARRIER". `downloadLead` bytes put before a download's reply (or, when negative, that
// many of its first bytes lost) make the terminal align the image.
class ModemSim : public SimDevice {
public:
    ModemSim(LevelLoggerSim& logger, Duration connectDelay = std::chrono::milliseconds(100))
        : logger_(logger), connectDelay_(connectDelay) {}

    void setDownloadLead(int lead) { downloadLead_ = lead; }

    void receive(const Bytes& bytes, TimePoint now) override;
    Bytes takeOutput(TimePoint now) override;
    void dropLine() override;
    std::optional<TimePoint> nextEvent() const override;
    const std::vector<std::uint8_t>& commands() const override { return logger_.commands(); }

    bool connected() const { return connected_; }
    const std::vector<std::string>& dialled() const { return dialled_; }

private:
    void say(const std::string& text, TimePoint at);
    void command(const std::string& line, TimePoint now);

    LevelLoggerSim& logger_;
    Duration connectDelay_;
    int downloadLead_ = 0;
    bool connected_ = false;
    std::optional<TimePoint> connectAt_;
    std::string line_;
    std::string recent_; // the last bytes sent while connected, to see "ATH"
    std::deque<std::pair<TimePoint, Bytes>> out_;
    std::vector<std::string> dialled_;
    bool leadPending_ = false;
    int toDrop_ = 0;
};

} // namespace korvel::sim
