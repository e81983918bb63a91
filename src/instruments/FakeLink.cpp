#include "instruments/FakeLink.h"

#include <algorithm>

namespace korvel {

void ScriptedLink::deliver(const Bytes& bytes, Clock::Duration after) {
    Pending p{clock_.now() + after, bytes};
    const auto at = std::upper_bound(pending_.begin(), pending_.end(), p.at,
                                     [](Clock::TimePoint t, const Pending& q) { return t < q.at; });
    pending_.insert(at, std::move(p));
}

bool ScriptedLink::open() {
    if (openFails_ || open_)
        return false;
    open_ = true;
    ++opens_;
    return true;
}

void ScriptedLink::close() {
    open_ = false;
    ++closes_;
}

void ScriptedLink::write(const Bytes& bytes) {
    writes_.push_back({clock_.now(), bytes});
    if (sendTimePerByte_ > Clock::Duration::zero()) {
        sentBy_ = std::max(sentBy_, clock_.now()) + sendTimePerByte_ * static_cast<long>(bytes.size());
        sending_ = true;
    }
    if (responder_)
        responder_(*this, bytes);
}

void ScriptedLink::arrive() {
    while (!pending_.empty() && pending_.front().at <= clock_.now()) {
        const Bytes& b = pending_.front().bytes;
        input_.insert(input_.end(), b.begin(), b.end());
        pending_.pop_front();
    }
}

Bytes ScriptedLink::readAll() {
    arrive();
    ++readAlls_;
    Bytes out;
    out.swap(input_);
    return out;
}

std::size_t ScriptedLink::inCount() {
    arrive();
    return input_.size();
}

std::size_t ScriptedLink::outCount() {
    if (sending_ && clock_.now() >= sentBy_)
        sending_ = false;
    return sending_ ? 1 : 0;
}

void ScriptedLink::waitForInput(std::chrono::milliseconds limit) {
    Clock::TimePoint until = clock_.now() + limit;
    if (!pending_.empty() && pending_.front().at < until)
        until = std::max(pending_.front().at, clock_.now());
    if (sending_ && sentBy_ < until)
        until = std::max(sentBy_, clock_.now());
    clock_.advanceTo(until);
    arrive();
}

Bytes ScriptedLink::allWritten() const {
    Bytes all;
    for (const Written& w : writes_)
        all.insert(all.end(), w.bytes.begin(), w.bytes.end());
    return all;
}

} // namespace korvel
