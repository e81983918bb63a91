#pragma once

#include "core/ByteIO.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// What passed on a serial line during one session, as the program saw it: every byte written and
// every byte read, with the milliseconds since the session began, and the opening and closing of
// the port. Reads are logged when the program takes the bytes, not when they arrived.
class ProtocolLog {
public:
    enum class Kind { Written, Read, Opened, OpenFailed, Closed };
    struct Entry {
        Kind kind = Kind::Written;
        long long ms = 0;
        Bytes bytes; // Written and Read only
    };

    // Bytes of the same direction within the same millisecond join one entry.
    void add(Kind kind, long long ms, const Bytes& bytes = {});
    const std::vector<Entry>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }

    // The readable form: the header lines as "# " comments, then one line per 16 bytes,
    //      1234 ms  -> 50                                               |P|
    //      1250 ms  <- 06 47 41 52 41 53 55                             |.GARASU|
    //      3300 ms  -- close
    // "->" is written to the device, "<-" read from it; bytes 0x20..0x7E show as themselves in the
    // column between the bars, every other byte as ".".
    std::string text(const std::vector<std::string>& header = {}) const;
    // Reads that form back; nothing when a line is not understood (the line number in `problem`).
    static std::optional<ProtocolLog> parse(std::string_view text, std::string* problem = nullptr);

    // All bytes of one direction, in order.
    Bytes allBytes(Kind kind) const;

private:
    std::vector<Entry> entries_;
};

} // namespace korvel
