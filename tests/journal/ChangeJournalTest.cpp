#include "JournalFixture.h"
#include "journal/ChangeUndo.h"
#include "journal/StationLock.h"

#include <fstream>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>

using namespace korvel;
using korvel::testing::JournaledStation;
namespace fs = std::filesystem;

namespace {

const JournalAuthor kUndoAuthor{"tester", "undo"};

class ChangeJournalTest : public JournaledStation {};

TEST_F(ChangeJournalTest, AnInPlaceRecordWriteKeepsOnlyThatRecordAndCanBeUndoneAndRedone) {
    const fs::path file = dir / "2020_01-001.ard";
    Bytes original(365 * 128);
    for (std::size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<std::uint8_t>(i * 7);
    writeFileAtomic(file, original);
    command = "edit day";
    writeRecords(file, 128, {{32, filled(128, 0xAB)}});

    const auto entries = history();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].command, "edit day");
    EXPECT_EQ(entries[0].recordNumbers, std::vector<std::size_t>{32});
    EXPECT_EQ(entries[1].recordNumbers, std::vector<std::size_t>{}); // a new file keeps no records
    EXPECT_EQ(entries[0].sumAfter, fileChecksum(readFileBytes(file)));

    const UndoOutcome undo = undoChange(dir, entries[0].id, kUndoAuthor);
    EXPECT_EQ(readFileBytes(file), original);
    EXPECT_EQ(undo.undone, std::vector<long long>{entries[0].id});
    EXPECT_EQ(*ChangeJournal(dir, ChangeJournal::Access::read).entry(entries[0].id)->undoneBy, undo.entry);

    // The undo is a change of its own: taking it back puts the edited day back.
    undoChange(dir, undo.entry, kUndoAuthor);
    EXPECT_EQ(recordAt(*readFileBytes(file), 128, 32), filled(128, 0xAB));
    const ChangeJournal journal(dir, ChangeJournal::Access::read);
    EXPECT_FALSE(journal.entry(entries[0].id)->undoneBy);
    EXPECT_TRUE(journal.entry(undo.entry)->undoneBy);
}

TEST_F(ChangeJournalTest, UndoTakesBackTheLaterChangesOfTheFileNewestFirst) {
    const fs::path file = dir / "01_01-001.HQ";
    const fs::path other = dir / "1999_01-001.ard";
    writeFileAtomic(file, filled(5758, 1));
    writeFileAtomic(other, filled(256, 9));
    writeFileAtomic(file, filled(5758, 2));
    writeFileAtomic(file, filled(5758, 3));
    writeRecords(other, 128, {{2, filled(128, 8)}});

    const auto ofFile = history("01_01-001.HQ");
    ASSERT_EQ(ofFile.size(), 3u);
    const UndoOutcome undo = undoChange(dir, ofFile[1].id, kUndoAuthor); // the change to 2
    EXPECT_EQ(undo.undone, (std::vector<long long>{ofFile[0].id, ofFile[1].id}));
    EXPECT_EQ(readFileBytes(file), filled(5758, 1));
    EXPECT_EQ(recordAt(*readFileBytes(other), 128, 2), filled(128, 8));    // another file stays
    EXPECT_THROW(undoChange(dir, ofFile[0].id, kUndoAuthor), UndoRefused); // already taken back

    // Taking back the undo restores both, and taking back the first change as well removes the
    // file it created.
    undoChange(dir, undo.entry, kUndoAuthor);
    EXPECT_EQ(readFileBytes(file), filled(5758, 3));
    undoChange(dir, ofFile[2].id, kUndoAuthor);
    EXPECT_FALSE(fileExists(file));
    for (const JournalEntry& entry : history("01_01-001.HQ"))
        if (entry.command != "undo") {
            EXPECT_TRUE(entry.undoneBy) << entry.id;
        }
}

TEST_F(ChangeJournalTest, ADeletedFileComesBackByteForByte) {
    const fs::path file = dir / "2001_01-001.yrd";
    Bytes rain(3 * 1470);
    for (std::size_t i = 0; i < rain.size(); ++i)
        rain[i] = static_cast<std::uint8_t>(i % 251);
    writeFileAtomic(file, rain);
    ASSERT_TRUE(removeFile(file));
    ASSERT_FALSE(fileExists(file));
    undoChange(dir, history().front().id, kUndoAuthor);
    EXPECT_EQ(readFileBytes(file), rain);
}

TEST_F(ChangeJournalTest, UndoIsRefusedWhenTheFileWasChangedOutsideTheJournal) {
    const fs::path file = dir / "genel.tan";
    writeFileAtomic(file, std::string_view("istasyon 1\r\n"));
    command = "station save";
    writeFileAtomic(file, std::string_view("istasyon 2\r\n"));
    {
        const ScopedFileWriteJournal unjournaled(nullptr);
        writeFileAtomic(file, std::string_view("başka program\r\n"));
    }
    try {
        undoChange(dir, history().back().id, kUndoAuthor);
        FAIL() << "undo went through";
    } catch (const UndoRefused& e) {
        // The message names the last journaled change the file no longer matches.
        EXPECT_NE(std::string(e.what()).find("station save"), std::string::npos) << e.what();
    }
    EXPECT_EQ(readFileBytes(file),
              Bytes({'b', 'a', 0xC5, 0x9F, 'k', 'a', ' ', 'p', 'r', 'o', 'g', 'r', 'a', 'm', '\r', '\n'}));
}

TEST_F(ChangeJournalTest, AChangeCutOffInPlaceIsBroughtBackByRecovery) {
    const fs::path file = dir / "2020_01-001.ard";
    const Bytes original = filled(10 * 128, 5);
    writeFileAtomic(file, original);
    // A pending entry whose in-place write stopped halfway through the record.
    ChangeJournal journal(dir, ChangeJournal::Access::write);
    Bytes after = original;
    std::fill(after.begin() + 128 * 3, after.begin() + 128 * 4, 0x77);
    JournalEntry entry;
    entry.file = file.filename().string();
    entry.recordSize = 128;
    entry.sizeBefore = original.size();
    entry.sizeAfter = after.size();
    entry.sumBefore = fileChecksum(original);
    entry.sumAfter = fileChecksum(after);
    const long long id = journal.addPending(entry, changedRecords(original, after, 128));
    Bytes torn = original;
    std::fill(torn.begin() + 128 * 3, torn.begin() + 128 * 3 + 60, 0x77);
    {
        const ScopedFileWriteJournal unjournaled(nullptr);
        writeFileAtomic(file, torn);
    }
    const auto lines = recoverInterruptedChanges(dir);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(readFileBytes(file), original);
    EXPECT_EQ(journal.entry(id)->state, ChangeState::rolledBack);
}

TEST_F(ChangeJournalTest, AJournalOfANewerVersionStillReadsButRefusesWrites) {
    const fs::path file = dir / "2020_01-001.ard";
    writeFileAtomic(file, filled(128, 1));
    { ChangeJournal journal(dir, ChangeJournal::Access::write); }
    // A later program raised the schema version.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(ChangeJournal::databasePath(dir).c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA user_version=99", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    EXPECT_EQ(ChangeJournal(dir, ChangeJournal::Access::read).entries().size(), 1u);
    EXPECT_THROW(ChangeJournal(dir, ChangeJournal::Access::write), JournalError);
    EXPECT_THROW(writeRecords(file, 128, {{1, filled(128, 2)}}), FileError);
    EXPECT_EQ(readFileBytes(file), filled(128, 1));

    // Told to go on without it, the write is made and the journal left alone.
    JournalingWriter goingOn([] { return std::string("x"); },
                             [](const fs::path&, const std::string&) { return true; });
    const ScopedFileWriteJournal journaling(&goingOn);
    writeRecords(file, 128, {{1, filled(128, 2)}});
    EXPECT_EQ(readFileBytes(file), filled(128, 2));
}

// Changes the journal's database behind the program's back, as damage or a hostile copy would.
void tamper(const fs::path& dir, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(ChangeJournal::databasePath(dir).c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

TEST_F(ChangeJournalTest, ADamagedJournalIsRefusedAndNeverWritesOutsideItsFile) {
    const fs::path station = dir / "01-001";
    fs::create_directory(station);
    const fs::path file = station / "2020_01-001.ard";
    writeFileAtomic(file, filled(4 * 128, 1));
    writeRecords(file, 128, {{2, filled(128, 2)}});
    const auto entries = ChangeJournal(station, ChangeJournal::Access::read).entries();
    ASSERT_EQ(entries.size(), 2u);
    const long long edit = entries[0].id;
    const Bytes edited = *readFileBytes(file);

    auto refused = [&](const char* sql, const char* why) {
        SCOPED_TRACE(why);
        tamper(station, sql);
        EXPECT_ANY_THROW(undoChange(station, edit, kUndoAuthor));
        EXPECT_EQ(readFileBytes(file), edited);
    };
    refused("UPDATE record SET before = X'FFFFFFFF789C030000000001' WHERE number = 2",
            "a record claiming 4 GiB");
    tamper(station, "DELETE FROM record");
    writeRecords(file, 128, {{2, filled(128, 3)}});
    const long long second = ChangeJournal(station, ChangeJournal::Access::read).entries()[0].id;
    const Bytes twice = *readFileBytes(file);
    tamper(station,
           ("UPDATE entry SET size_before = 1000000000000000 WHERE id = " + std::to_string(second)).c_str());
    try {
        undoChange(station, second, kUndoAuthor);
        FAIL() << "undo went through";
    } catch (const UndoRefused& e) {
        EXPECT_NE(std::string(e.what()).find("bozuk"), std::string::npos) << e.what();
    }
    // A name leading out of the station, to a file that matches the change.
    const fs::path outside = dir / "2020_01-001.ard";
    {
        const ScopedFileWriteJournal unjournaled(nullptr);
        writeFileAtomic(outside, twice);
    }
    tamper(station, ("UPDATE entry SET size_before = 512, file = '../2020_01-001.ard' WHERE id = " +
                     std::to_string(second))
                        .c_str());
    EXPECT_THROW(undoChange(station, second, kUndoAuthor), UndoRefused);
    EXPECT_EQ(readFileBytes(outside), twice);

    // Recovery of such a pending entry touches nothing, though the file there is torn.
    Bytes torn = twice;
    std::fill(torn.begin() + 128, torn.begin() + 200, 0x55);
    {
        const ScopedFileWriteJournal unjournaled(nullptr);
        writeFileAtomic(outside, torn);
    }
    tamper(station, ("UPDATE entry SET state = 'pending' WHERE id = " + std::to_string(second)).c_str());
    const auto lines = recoverInterruptedChanges(station);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("dosya adı geçersiz"), std::string::npos) << lines[0];
    EXPECT_EQ(readFileBytes(outside), torn);
    EXPECT_EQ(readFileBytes(file), twice);
}

TEST_F(ChangeJournalTest, AWriterWaitsForTheLockAndGivesUpWithAMessage) {
    const fs::path file = dir / "2020_01-001.ard";
    const pid_t holder = fork();
    if (holder == 0) {
        try {
            const StationLock lock(dir, std::chrono::milliseconds(1000));
            std::ofstream(dir / "held").put('1');
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    while (!fs::exists(dir / "held"))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    JournalingWriter impatient([] { return std::string("x"); }, {}, std::chrono::milliseconds(200));
    {
        const ScopedFileWriteJournal journaling(&impatient);
        try {
            writeFileAtomic(file, filled(128, 1));
            FAIL() << "wrote past the lock";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find("başka bir kullanıcı ya da program"), std::string::npos);
        }
    }
    EXPECT_FALSE(fileExists(file));
    // The default wait outlasts the holder.
    writeFileAtomic(file, filled(128, 1));
    EXPECT_TRUE(fileExists(file));
    int status = 0;
    waitpid(holder, &status, 0);
}

} // namespace
