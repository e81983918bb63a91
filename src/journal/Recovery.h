#pragma once

#include "journal/ChangeJournal.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace korvel {

// How long a writer waits for another one's lock on a station directory.
inline constexpr std::chrono::milliseconds kStationLockWait{5000};

// Who makes a change: the system user and the command, as the journal records them.
struct JournalAuthor {
    std::string user;
    std::string command;
};

// A change of one file, as the journal records it: now, by the author, with the file's sizes
// and checksums before and after (nothing: absent).
JournalEntry changeEntry(const JournalAuthor& author, const std::string& file,
                         const std::optional<Bytes>& before, const std::optional<Bytes>& after);
// The records the change alters. A new file keeps none: taking it back removes it, its
// checksum permitting.
std::vector<RecordChange> changedRecordsOf(const JournalEntry& entry, const std::optional<Bytes>& before,
                                           const std::optional<Bytes>& after);

// The name the operating system knows the user by.
std::string systemUserName();

// Brings a pending entry to an end from what its file holds: the new state makes it done, the
// old one rolled back; a file cut off in the middle of an in-place write gets its old bytes
// back. Returns a Turkish line saying what was done. The caller holds the station's lock.
std::string settlePendingEntry(ChangeJournal& journal, const std::filesystem::path& stationDir,
                               const JournalEntry& entry);

// Settles every pending entry of the station's journal under its lock; one line per entry.
// A directory without a journal has nothing to settle. Throws JournalError when the journal
// cannot be written.
std::vector<std::string> recoverInterruptedChanges(const std::filesystem::path& stationDir,
                                                   std::chrono::milliseconds lockWait = kStationLockWait);

} // namespace korvel
