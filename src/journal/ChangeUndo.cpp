#include "journal/ChangeUndo.h"

#include "core/FileIO.h"
#include "core/FileWriteJournal.h"
#include "core/StationFiles.h"
#include "journal/StationLock.h"

#include <algorithm>
#include <chrono>
#include <map>

namespace korvel {

namespace fs = std::filesystem;

namespace {

// The changes to take back: the entry and every later change of its file that was made.
std::vector<JournalEntry> changesFrom(const ChangeJournal& journal, const JournalEntry& first) {
    std::vector<JournalEntry> chain;
    for (JournalEntry& entry : journal.entries(first.file))
        if (entry.id >= first.id && entry.state == ChangeState::done)
            chain.push_back(std::move(entry));
    return chain;
}

// The undone marks after the chain is taken back: the marks its own undos set are put back
// as they were, and every entry of the chain is marked undone by the new entry.
std::vector<UndoMark> marksAfterUndo(const ChangeJournal& journal, const std::vector<JournalEntry>& chain) {
    std::map<long long, std::optional<long long>> before, after;
    for (const JournalEntry& entry : journal.entries(chain.front().file))
        before[entry.id] = after[entry.id] = entry.undoneBy;
    for (const JournalEntry& entry : chain)
        for (const UndoMark& mark : journal.undoMarks(entry.id))
            after[mark.target] = mark.previous;
    for (const JournalEntry& entry : chain)
        after[entry.id] = ChangeJournal::kThisEntry;
    std::vector<UndoMark> marks;
    for (const auto& [id, undoneBy] : after)
        if (undoneBy != before[id])
            marks.push_back({id, before[id], undoneBy});
    return marks;
}

} // namespace

std::string describeEntry(const JournalEntry& entry) {
    return std::to_string(entry.id) + " (" + journalTimeText(entry.time) + ", " + entry.user + ", " +
           entry.command + ")";
}

UndoOutcome undoChange(const fs::path& stationDir, long long id, const JournalAuthor& author,
                       std::chrono::milliseconds lockWait) {
    const StationLock lock(stationDir, lockWait);
    ChangeJournal journal(stationDir, ChangeJournal::Access::write);
    for (const JournalEntry& pending : journal.pendingEntries())
        settlePendingEntry(journal, stationDir, pending);

    const std::optional<JournalEntry> first = journal.entry(id);
    if (!first)
        throw UndoRefused(std::to_string(id) + " numaralı değişiklik günlükte yok");
    if (first->state != ChangeState::done)
        throw UndoRefused(std::to_string(id) + " numaralı değişiklik yapılmamış; geri alınacak bir şey yok");
    if (first->undoneBy)
        throw UndoRefused(std::to_string(id) + " numaralı değişiklik " + std::to_string(*first->undoneBy) +
                          " numaralı değişiklikle zaten geri alınmış");

    fs::path file;
    try {
        file = stationFilePath(stationDir, first->file);
    } catch (const FileError&) {
        throw UndoRefused("günlükteki " + describeEntry(*first) +
                          " kaydının dosya adı geçersiz: " + first->file);
    }
    const std::vector<JournalEntry> chain = changesFrom(journal, *first);
    const std::optional<Bytes> current = readFileBytes(file);
    std::optional<Bytes> image = current;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const JournalEntry& entry = chain[i];
        if (fileChecksum(image) != entry.sumAfter) {
            if (i == 0)
                throw UndoRefused(first->file + " dosyası son kayıtlı değişiklikten, " +
                                  describeEntry(entry) +
                                  ", sonra günlüğe yazılmadan değiştirilmiş; geri alınamaz");
            throw UndoRefused(first->file + " dosyası " + describeEntry(entry) + " ile " +
                              describeEntry(chain[i - 1]) +
                              " arasında günlüğe yazılmadan değiştirilmiş; geri alınamaz");
        }
        if (entry.sizeBefore) {
            image = restoredBefore(image.value_or(Bytes{}), static_cast<std::size_t>(*entry.sizeBefore),
                                   journal.records(entry.id), entry.recordSize);
            if (!image)
                throw UndoRefused("günlükteki " + describeEntry(entry) + " kaydı bozuk; geri alınamaz");
        } else {
            image.reset();
        }
    }
    if (fileChecksum(image) != first->sumBefore)
        throw UndoRefused("günlükteki " + describeEntry(*first) + " kaydı eksik; geri alınamaz");

    JournalEntry undo = changeEntry(author, first->file, current, image);
    const std::vector<RecordChange> records = changedRecordsOf(undo, current, image);

    UndoOutcome outcome;
    outcome.entry = journal.addPending(std::move(undo), records, marksAfterUndo(journal, chain));
    for (const JournalEntry& entry : chain)
        outcome.undone.push_back(entry.id);
    try {
        const ScopedFileWriteJournal unjournaled(nullptr);
        if (image)
            writeFileAtomic(file, *image);
        else if (current && !removeFile(file))
            throw FileError("dosya silinemedi: " + file.string());
    } catch (...) {
        if (const auto entry = journal.entry(outcome.entry))
            settlePendingEntry(journal, stationDir, *entry);
        throw;
    }
    journal.markDone(outcome.entry);
    return outcome;
}

} // namespace korvel
