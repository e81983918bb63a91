#include "journal/Recovery.h"

#include "core/FileIO.h"
#include "core/FileWriteJournal.h"
#include "core/StationFiles.h"
#include "journal/StationLock.h"

#include <chrono>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace korvel {

namespace fs = std::filesystem;

JournalEntry changeEntry(const JournalAuthor& author, const std::string& file,
                         const std::optional<Bytes>& before, const std::optional<Bytes>& after) {
    JournalEntry entry;
    entry.time =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    entry.user = author.user;
    entry.command = author.command;
    entry.file = file;
    entry.recordSize = journalRecordSize(file);
    if (before)
        entry.sizeBefore = before->size();
    if (after)
        entry.sizeAfter = after->size();
    entry.sumBefore = fileChecksum(before);
    entry.sumAfter = fileChecksum(after);
    return entry;
}

std::vector<RecordChange> changedRecordsOf(const JournalEntry& entry, const std::optional<Bytes>& before,
                                           const std::optional<Bytes>& after) {
    if (!before)
        return {};
    return changedRecords(*before, after.value_or(Bytes{}), entry.recordSize);
}

std::string systemUserName() {
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name && *entry->pw_name)
        return entry->pw_name;
    for (const char* name : {"USER", "LOGNAME", "USERNAME"})
        if (const char* value = std::getenv(name); value && *value)
            return value;
    return "?";
}

std::string settlePendingEntry(ChangeJournal& journal, const fs::path& stationDir,
                               const JournalEntry& entry) {
    const std::string name = std::to_string(entry.id) + " numaralı değişiklik (" + entry.file + ")";
    fs::path file;
    try {
        file = stationFilePath(stationDir, entry.file);
    } catch (const FileError&) {
        return name + " yarıda kalmış ve dosya adı geçersiz; hiçbir dosyaya dokunulmadı.";
    }
    const std::optional<Bytes> current = readFileBytes(file);
    const std::optional<std::string> sum = fileChecksum(current);
    if (sum == entry.sumAfter) {
        journal.markDone(entry.id);
        return name + " tamamlanmış bulundu.";
    }
    if (sum == entry.sumBefore) {
        journal.markRolledBack(entry.id);
        return name + " yapılmamış bulundu.";
    }
    if (current && entry.sizeBefore) {
        const std::optional<Bytes> image =
            restoredBefore(*current, static_cast<std::size_t>(*entry.sizeBefore), journal.records(entry.id),
                           entry.recordSize);
        if (image && fileChecksum(image) == entry.sumBefore) {
            const ScopedFileWriteJournal unjournaled(nullptr);
            writeFileAtomic(file, *image);
            journal.markRolledBack(entry.id);
            return name + " yarıda kalmış; dosya değişiklikten önceki haline getirildi.";
        }
    }
    return name + " yarıda kalmış ve dosya ne önceki ne sonraki haline uyuyor; dosyaya dokunulmadı.";
}

std::vector<std::string> recoverInterruptedChanges(const fs::path& stationDir,
                                                   std::chrono::milliseconds lockWait) {
    std::vector<std::string> lines;
    if (!ChangeJournal::existsIn(stationDir))
        return lines;
    {
        // A quick look first, so that readers of a station take no lock.
        const ChangeJournal reader(stationDir, ChangeJournal::Access::read);
        if (reader.pendingEntries().empty())
            return lines;
    }
    const StationLock lock(stationDir, lockWait);
    ChangeJournal journal(stationDir, ChangeJournal::Access::write);
    for (const JournalEntry& entry : journal.pendingEntries())
        lines.push_back(settlePendingEntry(journal, stationDir, entry));
    return lines;
}

} // namespace korvel
