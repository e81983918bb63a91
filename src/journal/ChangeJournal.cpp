#include "journal/ChangeJournal.h"

#include "core/FileWriteJournal.h"
#include "journal/RecordPacking.h"

#include <ctime>
#include <sqlite3.h>

namespace korvel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS entry(
  id INTEGER PRIMARY KEY,
  time INTEGER NOT NULL,
  user TEXT NOT NULL,
  command TEXT NOT NULL,
  file TEXT NOT NULL,
  state TEXT NOT NULL,
  record_size INTEGER NOT NULL,
  size_before INTEGER,
  size_after INTEGER,
  sum_before TEXT,
  sum_after TEXT,
  undone_by INTEGER);
CREATE INDEX IF NOT EXISTS entry_by_file ON entry(file, id);
CREATE TABLE IF NOT EXISTS record(
  entry INTEGER NOT NULL,
  number INTEGER NOT NULL,
  before BLOB,
  after BLOB,
  PRIMARY KEY(entry, number)) WITHOUT ROWID;

CREATE TABLE IF NOT EXISTS undo_mark(
  entry INTEGER NOT NULL,
  target INTEGER NOT NULL,
  previous INTEGER,
  next INTEGER,
  PRIMARY KEY(entry, target)) WITHOUT ROWID;
)";

// A prepared statement that finalises itself.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
            throw JournalError(std::string("değişiklik günlüğü okunamıyor: ") + sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, long long value) { check(sqlite3_bind_int64(statement_, index, value)); }
    void bind(int index, const std::string& text) {
        check(sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                                SQLITE_TRANSIENT));
    }
    void bind(int index, const std::optional<Bytes>& bytes) {
        if (!bytes)
            check(sqlite3_bind_null(statement_, index));
        else
            check(sqlite3_bind_blob(statement_, index, bytes->data(), static_cast<int>(bytes->size()),
                                    SQLITE_TRANSIENT));
    }
    template <typename T> void bindOptional(int index, const std::optional<T>& value) {
        if (!value)
            check(sqlite3_bind_null(statement_, index));
        else if constexpr (std::is_same_v<T, std::string>)
            bind(index, *value);
        else
            bind(index, static_cast<long long>(*value));
    }
    // True while there is a row.
    bool step() {
        const int code = sqlite3_step(statement_);
        if (code == SQLITE_ROW)
            return true;
        if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
            throw JournalError(std::string("değişiklik günlüğü bozuk: ") + sqlite3_errmsg(db_));
        if (code != SQLITE_DONE)
            throw JournalError(std::string("değişiklik günlüğü yazılamıyor: ") + sqlite3_errmsg(db_));
        return false;
    }
    void reset() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    void run() {
        step();
        reset();
    }
    bool isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    long long number(int column) const { return sqlite3_column_int64(statement_, column); }
    std::optional<long long> optionalNumber(int column) const {
        return isNull(column) ? std::nullopt : std::optional<long long>(number(column));
    }
    std::string text(int column) const {
        const auto* chars = sqlite3_column_text(statement_, column);
        return chars ? std::string(reinterpret_cast<const char*>(chars)) : std::string();
    }
    std::optional<std::string> optionalText(int column) const {
        return isNull(column) ? std::nullopt : std::optional<std::string>(text(column));
    }
    std::optional<Bytes> blob(int column) const {
        if (isNull(column))
            return std::nullopt;
        const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
        const int size = sqlite3_column_bytes(statement_, column);
        return data ? Bytes(data, data + size) : Bytes{};
    }

private:
    void check(int code) {
        if (code != SQLITE_OK)
            throw JournalError(std::string("değişiklik günlüğü yazılamıyor: ") + sqlite3_errmsg(db_));
    }
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

ChangeState stateOf(const std::string& name) {
    if (name == "done")
        return ChangeState::done;
    if (name == "rolled back")
        return ChangeState::rolledBack;
    return ChangeState::pending;
}

std::string timeText(std::int64_t time, const char* pattern) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, pattern, &local);
    return text;
}

} // namespace

std::string changeStateName(ChangeState state) {
    switch (state) {
    case ChangeState::done:
        return "done";
    case ChangeState::rolledBack:
        return "rolled back";
    case ChangeState::pending:
        break;
    }
    return "pending";
}

std::string journalTimeText(std::int64_t time) {
    return timeText(time, "%d.%m.%Y %H:%M:%S");
}

std::string journalTimeIso(std::int64_t time) {
    return timeText(time, "%Y-%m-%dT%H:%M:%S");
}

fs::path ChangeJournal::databasePath(const fs::path& stationDir) {
    return stationDir / (std::string(kJournalFilePrefix) + ".db");
}

bool ChangeJournal::existsIn(const fs::path& stationDir) {
    std::error_code ec;
    return fs::is_regular_file(databasePath(stationDir), ec);
}

ChangeJournal::ChangeJournal(const fs::path& stationDir, Access access) : path_(databasePath(stationDir)) {
    if (access == Access::read && !existsIn(stationDir))
        throw JournalError("değişiklik günlüğü yok: " + path_.string());
    // A reader opens for writing where it may, so that it can bring in what a writer killed
    // mid-transaction left in the write-ahead log; on a read-only share it only reads.
    int code = sqlite3_open_v2(path_.c_str(), &db_,
                               SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
                                   (access == Access::write ? SQLITE_OPEN_CREATE : 0),
                               nullptr);
    if (code != SQLITE_OK && access == Access::read) {
        sqlite3_close(db_);
        db_ = nullptr;
        code = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    }
    if (code != SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : "bellek yetmedi";
        sqlite3_close(db_);
        db_ = nullptr;
        throw JournalError("değişiklik günlüğü açılamıyor: " + path_.string() + ": " + reason);
    }
    try {
        sqlite3_busy_timeout(db_, 10000);
        long long found = 0;
        {
            Statement version(db_, "PRAGMA user_version");
            found = version.step() ? version.number(0) : 0;
        }
        version_ = found;
        if (found > kSchemaVersion && access == Access::write)
            throw JournalError("değişiklik günlüğü programın bu sürümünden yeni: " + path_.string());
        if (access == Access::write) {
            execute("PRAGMA journal_mode=WAL");
            execute("PRAGMA synchronous=FULL");
            if (found < kSchemaVersion) {
                upgradeSchema();
                version_ = kSchemaVersion;
            }
        }
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

ChangeJournal::~ChangeJournal() {
    sqlite3_close(db_);
}

void ChangeJournal::execute(const char* sql) const {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string reason = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw JournalError("değişiklik günlüğü yazılamıyor: " + path_.string() + ": " + reason);
    }
}

void ChangeJournal::upgradeSchema() {
    execute("BEGIN IMMEDIATE");
    try {
        execute(kSchema);
        execute(("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str());
        execute("COMMIT");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

long long ChangeJournal::addPending(JournalEntry entry, const std::vector<RecordChange>& records,
                                    const std::vector<UndoMark>& marks) {
    execute("BEGIN IMMEDIATE");
    try {
        Statement insert(db_, "INSERT INTO entry(time, user, command, file, state, record_size, size_before, "
                              "size_after, sum_before, sum_after) VALUES(?,?,?,?,'pending',?,?,?,?,?)");
        insert.bind(1, static_cast<long long>(entry.time));
        insert.bind(2, entry.user);
        insert.bind(3, entry.command);
        insert.bind(4, entry.file);
        insert.bind(5, static_cast<long long>(entry.recordSize));
        insert.bindOptional(6, entry.sizeBefore);
        insert.bindOptional(7, entry.sizeAfter);
        insert.bindOptional(8, entry.sumBefore);
        insert.bindOptional(9, entry.sumAfter);
        insert.run();
        const long long id = sqlite3_last_insert_rowid(db_);
        Statement record(db_, "INSERT INTO record(entry, number, before, after) VALUES(?,?,?,?)");
        for (const RecordChange& change : records) {
            record.bind(1, id);
            record.bind(2, static_cast<long long>(change.number));
            record.bind(3, packedRecord(change.before));
            record.bind(4, packedRecord(change.after));
            record.run();
        }
        Statement mark(db_, "INSERT INTO undo_mark(entry, target, previous, next) VALUES(?,?,?,?)");
        for (const UndoMark& undoMark : marks) {
            mark.bind(1, id);
            mark.bind(2, undoMark.target);
            mark.bindOptional(3, undoMark.previous);
            mark.bindOptional(4, undoMark.next == kThisEntry ? std::optional<long long>(id) : undoMark.next);
            mark.run();
        }
        execute("COMMIT");
        return id;
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void ChangeJournal::markDone(long long id) {
    execute("BEGIN IMMEDIATE");
    try {
        Statement done(db_, "UPDATE entry SET state='done' WHERE id=?");
        done.bind(1, id);
        done.run();
        Statement moveMarks(db_,
                            "UPDATE entry SET undone_by=(SELECT next FROM undo_mark WHERE undo_mark.entry=?1 "
                            "AND undo_mark.target=entry.id) WHERE id IN (SELECT target FROM undo_mark "
                            "WHERE undo_mark.entry=?1)");
        moveMarks.bind(1, id);
        moveMarks.run();
        execute("COMMIT");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void ChangeJournal::markRolledBack(long long id) {
    Statement rolledBack(db_, "UPDATE entry SET state='rolled back' WHERE id=?");
    rolledBack.bind(1, id);
    rolledBack.run();
}

std::vector<JournalEntry> ChangeJournal::select(const std::string& where,
                                                const std::optional<std::string>& text,
                                                std::optional<long long> number) const {
    if (version_ == 0)
        return {}; // created by a writer that stopped before its first entry
    const std::string sql =
        "SELECT id, time, user, command, file, state, record_size, size_before, size_after, "
        "sum_before, sum_after, undone_by FROM entry " +
        where + " ORDER BY id DESC";
    Statement query(db_, sql.c_str());
    if (text)
        query.bind(1, *text);
    if (number)
        query.bind(1, *number);
    std::vector<JournalEntry> found;
    while (query.step()) {
        JournalEntry entry;
        entry.id = query.number(0);
        entry.time = query.number(1);
        entry.user = query.text(2);
        entry.command = query.text(3);
        entry.file = query.text(4);
        entry.state = stateOf(query.text(5));
        entry.recordSize = static_cast<std::size_t>(query.number(6));
        if (const auto size = query.optionalNumber(7))
            entry.sizeBefore = static_cast<std::uint64_t>(*size);
        if (const auto size = query.optionalNumber(8))
            entry.sizeAfter = static_cast<std::uint64_t>(*size);
        entry.sumBefore = query.optionalText(9);
        entry.sumAfter = query.optionalText(10);
        entry.undoneBy = query.optionalNumber(11);
        found.push_back(std::move(entry));
    }
    Statement numbers(db_, "SELECT number FROM record WHERE entry=? ORDER BY number");
    for (JournalEntry& entry : found) {
        numbers.bind(1, entry.id);
        while (numbers.step())
            entry.recordNumbers.push_back(static_cast<std::size_t>(numbers.number(0)));
        numbers.reset();
    }
    return found;
}

std::vector<JournalEntry> ChangeJournal::entries(const std::optional<std::string>& file) const {
    return file ? select("WHERE file=?1", file, std::nullopt) : select("", std::nullopt, std::nullopt);
}

std::optional<JournalEntry> ChangeJournal::entry(long long id) const {
    std::vector<JournalEntry> found = select("WHERE id=?1", std::nullopt, id);
    if (found.empty())
        return std::nullopt;
    return std::move(found.front());
}

std::vector<JournalEntry> ChangeJournal::pendingEntries() const {
    return select("WHERE state='pending'", std::nullopt, std::nullopt);
}

std::vector<RecordChange> ChangeJournal::records(long long id) const {
    Statement query(db_, "SELECT number, before, after FROM record WHERE entry=? ORDER BY number");
    query.bind(1, id);
    std::vector<RecordChange> found;
    while (query.step())
        found.push_back({static_cast<std::size_t>(query.number(0)), unpackedRecord(query.blob(1)),
                         unpackedRecord(query.blob(2))});
    return found;
}

std::vector<UndoMark> ChangeJournal::undoMarks(long long id) const {
    Statement query(db_, "SELECT target, previous, next FROM undo_mark WHERE entry=?");
    query.bind(1, id);
    std::vector<UndoMark> found;
    while (query.step())
        found.push_back({query.number(0), query.optionalNumber(1), query.optionalNumber(2)});
    return found;
}

} // namespace korvel
