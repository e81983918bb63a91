#include "instruments/sim/SimulatedLink.h"

namespace korvel::sim {

bool SimulatedLink::open() {
    if (openFails_ || open_)
        return false;
    open_ = true;
    input_.clear();
    return true;
}

void SimulatedLink::close() {
    open_ = false;
}

void SimulatedLink::collect() {
    const Bytes out = logger_.takeOutput(clock_.now());
    if (open_)
        input_.insert(input_.end(), out.begin(), out.end());
}

void SimulatedLink::write(const Bytes& bytes) {
    if (!open_)
        return;
    written_ += bytes.size();
    logger_.receive(bytes, clock_.now());
}

Bytes SimulatedLink::readAll() {
    collect();
    Bytes out;
    out.swap(input_);
    return out;
}

std::size_t SimulatedLink::inCount() {
    collect();
    return input_.size();
}

void SimulatedLink::waitForInput(std::chrono::milliseconds limit) {
    Clock::TimePoint until = clock_.now() + limit;
    if (const auto next = logger_.nextEvent(); next && *next < until)
        until = std::max(*next, clock_.now());
    clock_.advanceTo(until);
    collect();
}

} // namespace korvel::sim
