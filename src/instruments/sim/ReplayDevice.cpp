#include "instruments/sim/ReplayDevice.h"

#include <algorithm>

namespace korvel::sim {

using Kind = ProtocolLog::Kind;

namespace {

// A burst is answered once it has been quiet this long at least, so that the program has taken
// up what came before (the logger's own quiet gap).
constexpr Duration kBurstQuiet = std::chrono::milliseconds(5);

} // namespace

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
                if (steps_.size() > 1 && last.byte == b && last.replies.empty()) {
                    last.lastMs = e.ms;
                    last.burst = true;
                    continue;
                }
                steps_.push_back({b, e.ms, false, {}});
            }
        } else if (e.kind == Kind::Read) {
            const bool waitingBefore =
                i > 0 && entries[i - 1].kind == Kind::Written && entries[i - 1].ms == e.ms;
            Step& owner =
                waitingBefore ? steps_[std::min(stepsBeforeWrite, steps_.size()) - 1] : steps_.back();
            Duration delay = std::chrono::milliseconds(std::max(0LL, e.ms - owner.lastMs));
            if (owner.burst)
                delay = std::max(delay, kBurstQuiet);
            owner.replies.push_back({delay, e.bytes});
        }
    }
}

void ReplayDevice::start(std::size_t step, TimePoint now) {
    for (const Reply& r : steps_[step].replies)
        scheduled_.push_back({now + r.delay, r.delay, step, r.bytes});
    std::stable_sort(scheduled_.begin(), scheduled_.end(),
                     [](const Scheduled& a, const Scheduled& b) { return a.due < b.due; });
}

void ReplayDevice::receive(const Bytes& bytes, TimePoint now) {
    if (commands_.empty() && !bytes.empty())
        start(0, now);
    for (const std::uint8_t b : bytes) {
        commands_.push_back(b);
        if (next_ >= steps_.size())
            continue;
        const std::size_t current = next_ - 1;
        const Step& step = steps_[current];
        if (current > 0 && step.byte == b && !scheduled_.empty()) {
            // The burst goes on: its answers wait until it ends, unless they have begun.
            if (!answering_)
                for (Scheduled& s : scheduled_)
                    if (s.step == current)
                        s.due = now + s.delay;
            continue;
        }
        if (current > 0 && step.byte == b && step.burst && answering_ && !step.replies.empty() &&
            steps_[next_].byte != b) {
            // Another burst after the answer (the program's wake-up byte "once more"): the device
            // answers it too, as a logger answers every burst.
            scheduled_.push_back({now + kBurstQuiet, kBurstQuiet, current, step.replies.back().bytes});
            continue;
        }
        if (steps_[next_].byte != b)
            continue;
        // What the device still had to say to the steps before is not waited for any more: in the
        // session it was read, and thrown away, as the program went on.
        scheduled_.clear();
        answering_ = false;
        start(next_, now);
        ++next_;
    }
}

Bytes ReplayDevice::takeOutput(TimePoint now) {
    Bytes out;
    while (!scheduled_.empty() && scheduled_.front().due <= now) {
        out.insert(out.end(), scheduled_.front().bytes.begin(), scheduled_.front().bytes.end());
        scheduled_.pop_front();
        answering_ = true;
    }
    return out;
}

std::optional<TimePoint> ReplayDevice::nextEvent() const {
    if (scheduled_.empty())
        return std::nullopt;
    return scheduled_.front().due;
}

} // namespace korvel::sim
