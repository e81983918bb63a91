#include "instruments/sim/CurrentMeterSim.h"

namespace korvel::sim {

using namespace currentmeter;

void CurrentMeterSim::reply(std::uint8_t command, Bytes bytes, TimePoint now) {
    TimePoint at = now + replyDelay_;
    for (SimFault& f : faults_) {
        if (f.times == 0 || (f.command && *f.command != command))
            continue;
        if (f.times > 0)
            --f.times;
        switch (f.kind) {
        case SimFault::Kind::Silence:
            return;
        case SimFault::Kind::Slow:
            at += f.delay;
            break;
        case SimFault::Kind::ExtraByte:
            bytes.push_back(0);
            break;
        case SimFault::Kind::Garbled:
            bytes[0] ^= 0x40;
            break;
        case SimFault::Kind::CutOff:
            bytes.resize(1);
            break;
        }
        break;
    }
    out_.emplace_back(at, std::move(bytes));
}

void CurrentMeterSim::receive(const Bytes& bytes, TimePoint now) {
    if (takingCalibration_ && now - calibrationSince_ > std::chrono::seconds(1))
        takingCalibration_ = false;
    for (const std::uint8_t b : bytes) {
        if (takingCalibration_) {
            incoming_.push_back(b);
            if (incoming_.size() == kCalibrationBytes) {
                std::copy(incoming_.begin(), incoming_.end(), calibration_.begin());
                takingCalibration_ = false;
            }
            continue;
        }
        switch (b) {
        case kRead: {
            commands_.push_back(b);
            Bytes r{kRead};
            r.insert(r.end(), calibration_.begin(), calibration_.end());
            reply(b, std::move(r), now);
            break;
        }
        case kWrite:
            commands_.push_back(b);
            takingCalibration_ = true;
            calibrationSince_ = now;
            incoming_.clear();
            reply(b, {kWrite}, now);
            break;
        case kErase:
            commands_.push_back(b);
            ++erasures_;
            reply(b, {kErase}, now);
            break;
        default:
            break;
        }
    }
}

Bytes CurrentMeterSim::takeOutput(TimePoint now) {
    Bytes bytes;
    while (!out_.empty() && out_.front().first <= now) {
        bytes.insert(bytes.end(), out_.front().second.begin(), out_.front().second.end());
        out_.pop_front();
    }
    return bytes;
}

void CurrentMeterSim::dropLine() {
    out_.clear();
    takingCalibration_ = false;
}

std::optional<TimePoint> CurrentMeterSim::nextEvent() const {
    if (out_.empty())
        return std::nullopt;
    return out_.front().first;
}

} // namespace korvel::sim
