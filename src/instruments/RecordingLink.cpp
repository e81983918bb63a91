#include "instruments/RecordingLink.h"

namespace korvel {

RecordingLink::RecordingLink(SerialLink& inner, const Clock& clock)
    : inner_(inner), clock_(clock), start_(clock.now()) {}

long long RecordingLink::elapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(clock_.now() - start_).count();
}

bool RecordingLink::open() {
    const bool opened = inner_.open();
    log_.add(opened ? ProtocolLog::Kind::Opened : ProtocolLog::Kind::OpenFailed, elapsedMs());
    return opened;
}

void RecordingLink::close() {
    inner_.close();
    log_.add(ProtocolLog::Kind::Closed, elapsedMs());
}

void RecordingLink::write(const Bytes& bytes) {
    log_.add(ProtocolLog::Kind::Written, elapsedMs(), bytes);
    inner_.write(bytes);
}

Bytes RecordingLink::readAll() {
    Bytes bytes = inner_.readAll();
    log_.add(ProtocolLog::Kind::Read, elapsedMs(), bytes);
    return bytes;
}

} // namespace korvel
