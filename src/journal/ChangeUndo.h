#pragma once

#include "journal/Recovery.h"

#include <stdexcept>

namespace korvel {

// An undo that cannot be made; the Turkish message says why and names the change in the way.
class UndoRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct UndoOutcome {
    long long entry = 0;           // the journal entry of the undo itself
    std::vector<long long> undone; // the entries taken back, newest first
};

// Takes back entry `id` and every later change of the same file, newest first, from the
// journal alone, and journals that as a change of its own (so that it can be taken back in
// turn). Refused when the file no longer holds what the journal says the last change left in
// it, or the entry was not made or is already taken back.
UndoOutcome undoChange(const std::filesystem::path& stationDir, long long id, const JournalAuthor& author,
                       std::chrono::milliseconds lockWait = kStationLockWait);

// "12 (09.12.2026 08:30:05, ayse, wy from-monthly …)": how messages name an entry.
std::string describeEntry(const JournalEntry& entry);

} // namespace korvel
