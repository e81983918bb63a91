#include "instruments/sim/ModemSim.h"

#include "instruments/LevelLoggerCommands.h"
#include "instruments/ModemTerminal.h"

#include <algorithm>
#include <cctype>

namespace korvel::sim {

void ModemSim::say(const std::string& text, TimePoint at) {
    const std::string framed = "\r\n" + text + "\r\n";
    out_.emplace_back(at, Bytes(framed.begin(), framed.end()));
}

void ModemSim::command(const std::string& line, TimePoint now) {
    std::string upper = line;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    if (upper.rfind("ATDT", 0) == 0 || upper.rfind("ATD", 0) == 0) {
        dialled_.push_back(line.substr(upper.rfind("ATDT", 0) == 0 ? 4 : 3));
        connectAt_ = now + connectDelay_;
    } else if (upper.rfind("AT", 0) == 0) {
        say("OK", now);
    }
}

void ModemSim::receive(const Bytes& bytes, TimePoint now) {
    if (connectAt_ && *connectAt_ <= now) {
        connectAt_.reset();
        connected_ = true;
    }
    if (connected_) {
        for (const std::uint8_t b : bytes) {
            recent_.push_back(static_cast<char>(b));
            if (recent_.size() > modem::kHangUp.size())
                recent_.erase(0, recent_.size() - modem::kHangUp.size());
            if (recent_ == modem::kHangUp) {
                connected_ = false;
                recent_.clear();
                logger_.dropLine();
                say("NO CARRIER", now);
                return;
            }
        }
        for (const std::uint8_t b : bytes)
            if (b == levellogger::kDownload || b == levellogger::kSlowDownload ||
                b == levellogger::kSpecialDownload)
                leadPending_ = downloadLead_ != 0;
        logger_.receive(bytes, now);
        return;
    }
    for (const std::uint8_t b : bytes) {
        if (b == '\r' || b == '\n') {
            if (!line_.empty())
                command(line_, now);
            line_.clear();
        } else {
            line_.push_back(static_cast<char>(b));
        }
    }
}

Bytes ModemSim::takeOutput(TimePoint now) {
    if (connectAt_ && *connectAt_ <= now) {
        say("CONNECT 19200", *connectAt_);
        connectAt_.reset();
        connected_ = true;
    }
    Bytes bytes;
    while (!out_.empty() && out_.front().first <= now) {
        bytes.insert(bytes.end(), out_.front().second.begin(), out_.front().second.end());
        out_.pop_front();
    }
    if (connected_) {
        Bytes fromLogger = logger_.takeOutput(now);
        if (leadPending_ && !fromLogger.empty()) {
            leadPending_ = false;
            if (downloadLead_ > 0)
                fromLogger.insert(fromLogger.begin(), static_cast<std::size_t>(downloadLead_),
                                  std::uint8_t{0x0D});
            else
                toDrop_ = -downloadLead_;
        }
        const std::size_t drop = std::min(fromLogger.size(), static_cast<std::size_t>(toDrop_));
        fromLogger.erase(fromLogger.begin(), fromLogger.begin() + static_cast<std::ptrdiff_t>(drop));
        toDrop_ -= static_cast<int>(drop);
        bytes.insert(bytes.end(), fromLogger.begin(), fromLogger.end());
    }
    return bytes;
}

void ModemSim::dropLine() {
    // Nobody holds the port: DTR is down and the modem hangs up.
    out_.clear();
    line_.clear();
    connectAt_.reset();
    connected_ = false;
    logger_.dropLine();
}

std::optional<TimePoint> ModemSim::nextEvent() const {
    std::optional<TimePoint> next;
    if (connectAt_)
        next = connectAt_;
    if (!out_.empty() && (!next || out_.front().first < *next))
        next = out_.front().first;
    if (connected_)
        if (const auto logger = logger_.nextEvent(); logger && (!next || *logger < *next))
            next = logger;
    return next;
}

} // namespace korvel::sim
