#pragma once

#include "journal/RecordDiff.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;

namespace korvel {

// The journal cannot be opened, read or written; the message says why, in Turkish.
class JournalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ChangeState { pending, done, rolledBack };

// One journaled change of one file of the station directory.
struct JournalEntry {
    long long id = 0;
    std::int64_t time = 0; // seconds since 1970, UTC
    std::string user;
    std::string command;
    std::string file; // name inside the station directory
    ChangeState state = ChangeState::pending;
    std::size_t recordSize = 0;
    std::optional<std::uint64_t> sizeBefore; // nothing: the file did not exist
    std::optional<std::uint64_t> sizeAfter;  // nothing: the file was removed
    std::optional<std::string> sumBefore;
    std::optional<std::string> sumAfter;
    std::optional<long long> undoneBy; // the undo whose change took this one back
    std::vector<std::size_t> recordNumbers;
};

// How an undo moves the undone marks of entries: `target` went from `previous` to `next`.
struct UndoMark {
    long long target = 0;
    std::optional<long long> previous;
    std::optional<long long> next;
};

// The change journal of one station directory: an SQLite database in WAL mode with full
// syncs, so that an entry is on disk when its transaction returns. The file's name starts
// with kJournalFilePrefix, which the readers of station directories pass over.
class ChangeJournal {
public:
    static constexpr int kSchemaVersion = 1;
    enum class Access { read, write };

    static std::filesystem::path databasePath(const std::filesystem::path& stationDir);
    static bool existsIn(const std::filesystem::path& stationDir);

    // Write access creates the database when missing; a database of a newer schema, or one
    // that cannot be read, throws JournalError. Read access never creates one.
    ChangeJournal(const std::filesystem::path& stationDir, Access access);
    ~ChangeJournal();
    ChangeJournal(const ChangeJournal&) = delete;
    ChangeJournal& operator=(const ChangeJournal&) = delete;

    // Stores the entry with its records and undo marks as pending, synced; returns its id. A
    // mark whose next is kThisEntry names the entry being added.
    static constexpr long long kThisEntry = 0;
    long long addPending(JournalEntry entry, const std::vector<RecordChange>& records,
                         const std::vector<UndoMark>& marks = {});
    // Done also moves the undone marks the entry carries.
    void markDone(long long id);
    void markRolledBack(long long id);

    // Entries newest first, of one file or of all; without their records' bytes.
    std::vector<JournalEntry> entries(const std::optional<std::string>& file = std::nullopt) const;
    std::optional<JournalEntry> entry(long long id) const;
    std::vector<JournalEntry> pendingEntries() const;
    std::vector<RecordChange> records(long long id) const;
    std::vector<UndoMark> undoMarks(long long id) const;

private:
    void execute(const char* sql) const;
    void upgradeSchema();
    std::vector<JournalEntry> select(const std::string& where, const std::optional<std::string>& text,
                                     std::optional<long long> number) const;

    std::filesystem::path path_;
    sqlite3* db_ = nullptr;
    long long version_ = 0;
};

std::string changeStateName(ChangeState state);

// "09.12.2026 08:30:05" in local time, and "2026-12-09T08:30:05" for machine readers.
std::string journalTimeText(std::int64_t time);
std::string journalTimeIso(std::int64_t time);

} // namespace korvel
