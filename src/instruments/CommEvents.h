#pragma once

#include "core/ByteIO.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The events of the modem terminal's port, by their codes: data, line changes and faults.
namespace comm {
inline constexpr int kReceive = 2;
inline constexpr int kCtsChange = 3;
inline constexpr int kDsrChange = 4;
inline constexpr int kCdChange = 5;
inline constexpr int kRing = 6;
inline constexpr int kEndOfFile = 7;
inline constexpr int kBreak = 1001;
inline constexpr int kCtsTimeout = 1002;
inline constexpr int kDsrTimeout = 1003;
inline constexpr int kFraming = 1004;
inline constexpr int kOverrun = 1006;
inline constexpr int kCdTimeout = 1007;
inline constexpr int kReceiveOverflow = 1008;
inline constexpr int kParity = 1009;
inline constexpr int kTransmitFull = 1010;
inline constexpr int kDcb = 1011;
// Any other code, for a fault the table does not name.
inline constexpr int kUnknown = -1;
} // namespace comm

enum class CommEventKind { Data, Notice, Error };

struct CommEventText {
    CommEventKind kind;
    std::string_view text; // empty for received data
};

// The text and kind of an event code: "Change in CTS Detected" (notice) ... "Error retrieving
// DCB" (error); any code not in the table is the error "Unknown error or event".
CommEventText commEventText(int code);

// "Status: " followed by the text; "Status: " alone clears the panel.
std::string statusPanelText(std::string_view text = {});
// The caption of the error boxes, whose Cancel closes the port.
inline constexpr std::string_view kCommErrorTitle = "Click Cancel to quit, OK to ignore.";

// The modem lines the port reports.
struct LineState {
    bool cts = false;
    bool dsr = false;
    bool cd = false;
    bool ring = false;
    bool operator==(const LineState&) const = default;
};

// The events a change of the lines makes, in the order CTS, DSR, CD, then the ring (which counts
// only as it starts).
std::vector<int> lineChangeEvents(const LineState& before, const LineState& after);

// What a holding item shows: "CTSHolding = True".
std::string holdingText(std::string_view item, bool state);

// Received bytes as the terminal shows them: cp1254 text, carriage returns and NULs dropped (a
// line feed ends a line). A backspace removes the character before it; one with nothing before it
// in these bytes removes a character of what the terminal shows already (`erase` of them).
struct TerminalText {
    std::size_t erase = 0;
    std::string text; // UTF-8
};
TerminalText terminalText(const Bytes& received);

} // namespace korvel
