#include "instruments/CommEvents.h"

#include "core/Cp1254.h"

namespace korvel {

CommEventText commEventText(int code) {
    using K = CommEventKind;
    switch (code) {
    case comm::kReceive:
        return {K::Data, {}};
    case comm::kCtsChange:
        return {K::Notice, "Change in CTS Detected"};
    case comm::kDsrChange:
        return {K::Notice, "Change in DSR Detected"};
    case comm::kCdChange:
        return {K::Notice, "Change in CD Detected"};
    case comm::kRing:
        return {K::Notice, "The Phone is Ringing"};
    case comm::kEndOfFile:
        return {K::Notice, "End of File Detected"};
    case comm::kBreak:
        return {K::Error, "Break Received"};
    case comm::kCtsTimeout:
        return {K::Error, "CTS Timeout"};
    case comm::kDsrTimeout:
        return {K::Error, "DSR Timeout"};
    case comm::kFraming:
        return {K::Error, "Framing Error"};
    case comm::kOverrun:
        return {K::Error, "Overrun Error"};
    case comm::kCdTimeout:
        return {K::Error, "Carrier Detect Timeout"};
    case comm::kReceiveOverflow:
        return {K::Error, "Receive Buffer Overflow"};
    case comm::kParity:
        return {K::Error, "Parity Error"};
    case comm::kTransmitFull:
        return {K::Error, "Transmit Buffer Full"};
    case comm::kDcb:
        return {K::Error, "Error retrieving DCB"};
    default:
        return {K::Error, "Unknown error or event"};
    }
}

std::string statusPanelText(std::string_view text) {
    return "Status: " + std::string(text);
}

std::vector<int> lineChangeEvents(const LineState& before, const LineState& after) {
    std::vector<int> events;
    if (before.cts != after.cts)
        events.push_back(comm::kCtsChange);
    if (before.dsr != after.dsr)
        events.push_back(comm::kDsrChange);
    if (before.cd != after.cd)
        events.push_back(comm::kCdChange);
    if (after.ring && !before.ring)
        events.push_back(comm::kRing);
    return events;
}

std::string holdingText(std::string_view item, bool state) {
    return std::string(item) + " = " + (state ? "True" : "False");
}

TerminalText terminalText(const Bytes& received) {
    TerminalText shown;
    std::string bytes;
    for (const std::uint8_t b : received) {
        if (b == '\b') {
            if (bytes.empty())
                ++shown.erase;
            else
                bytes.pop_back();
        } else if (b != '\r' && b != 0) {
            bytes.push_back(static_cast<char>(b));
        }
    }
    shown.text = cp1254ToUtf8(bytes);
    return shown;
}

} // namespace korvel
