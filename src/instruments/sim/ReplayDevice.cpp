#include "instruments/sim/ReplayDevice.h"

#include <algorithm>

namespace korvel::sim {

using Kind = ProtocolLog::Kind;

ReplayDevice::ReplayDevice(const ProtocolLog& log) {
    steps_.push_back({});
    const auto& entries = log.entries();
    std::size_t stepsBeforeWrite = 1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ProtocolLog::Entry& e = entries[i];
        if (e.kind == Kind::Written) {
            stepsBeforeWrite = steps_.size();
            for (const std::uint8_t b : e.bytes) {
                Step& last = steps_.back();
                if (steps_.size() > 1 && last.byte == b && last.replies.empty())
                    continue;
                steps_.push_back({b, e.ms, {}});
            }
        } else if (e.kind == Kind::Read) {
            const bool waitingBefore =
                i > 0 && entries[i - 1].kind == Kind::Written && entries[i - 1].ms == e.ms;
            Step& owner =
                waitingBefore ? steps_[std::min(stepsBeforeWrite, steps_.size()) - 1] : steps_.back();
            owner.replies.push_back({std::chrono::milliseconds(std::max(0LL, e.ms - owner.ms)), e.bytes});
        }
    }
}

void ReplayDevice::start(std::size_t step, TimePoint now) {
    for (const Reply& r : steps_[step].replies)
        scheduled_.emplace_back(now + r.delay, r.bytes);
    std::stable_sort(scheduled_.begin(), scheduled_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

void ReplayDevice::receive(const Bytes& bytes, TimePoint now) {
    if (commands_.empty() && !bytes.empty())
        start(0, now);
    for (const std::uint8_t b : bytes) {
        commands_.push_back(b);
        if (next_ >= steps_.size())
            continue;
        const bool sameAsLast = next_ > 1 && steps_[next_ - 1].byte == b;
        if (sameAsLast && !scheduled_.empty())
            continue;
        if (steps_[next_].byte != b)
            continue;
        start(next_, now);
        ++next_;
    }
}

Bytes ReplayDevice::takeOutput(TimePoint now) {
    Bytes out;
    while (!scheduled_.empty() && scheduled_.front().first <= now) {
        out.insert(out.end(), scheduled_.front().second.begin(), scheduled_.front().second.end());
        scheduled_.pop_front();
    }
    return out;
}

std::optional<TimePoint> ReplayDevice::nextEvent() const {
    if (scheduled_.empty())
        return std::nullopt;
    return scheduled_.front().first;
}

} // namespace korvel::sim
