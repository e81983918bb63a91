#include "journal/JournalingWriter.h"

#include "core/FileIO.h"
#include "journal/StationLock.h"
#include "store/StationRecord.h"

#include <chrono>

namespace korvel {

namespace fs = std::filesystem;

namespace {

class StationChange : public JournaledChange {
public:
    StationChange(const fs::path& file, std::chrono::milliseconds lockWait,
                  std::unique_ptr<ChangeJournal>& journal, JournalAuthor author)
        : dir_(file.parent_path()), file_(file.filename().string()), lock_(dir_, lockWait),
          author_(std::move(author)) {
        if (journal) {
            journal_ = std::move(journal);
            for (const JournalEntry& entry : journal_->pendingEntries())
                settlePendingEntry(*journal_, dir_, entry);
        }
    }

    ~StationChange() override {
        if (!journal_ || id_ == 0 || completed_)
            return;
        try {
            if (const auto entry = journal_->entry(id_))
                settlePendingEntry(*journal_, dir_, *entry);
        } catch (...) {
            // The next start settles the entry.
        }
    }

    void recordIntent(const std::optional<Bytes>& before, const std::optional<Bytes>& after) override {
        if (!journal_ || before == after)
            return;
        JournalEntry entry = changeEntry(author_, file_, before, after);
        const std::vector<RecordChange> records = changedRecordsOf(entry, before, after);
        try {
            id_ = journal_->addPending(std::move(entry), records);
        } catch (const JournalError& e) {
            throw FileError(std::string(e.what()) + "; değişiklik yapılmadı");
        }
    }

    void completed() override {
        completed_ = true;
        if (journal_ && id_ != 0)
            journal_->markDone(id_);
    }

private:
    fs::path dir_;
    std::string file_;
    StationLock lock_;
    JournalAuthor author_;
    std::unique_ptr<ChangeJournal> journal_;
    long long id_ = 0;
    bool completed_ = false;
};

std::string lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text;
}

} // namespace

JournalingWriter::JournalingWriter(CommandName command, GoOnWithout goOnWithout,
                                   std::chrono::milliseconds lockWait)
    : command_(std::move(command)), goOnWithout_(std::move(goOnWithout)), lockWait_(lockWait) {}

bool JournalingWriter::isJournaled(const fs::path& file) {
    const std::string name = file.filename().string();
    if (name.empty() || isJournalFileName(name))
        return false;
    const std::string folded = lowered(name);
    const std::string extension = file.extension().string();
    for (const char* kind : {".ard", ".yrd", ".olc", ".hq"})
        if (lowered(extension) == kind)
            return true;
    const fs::path dir = file.parent_path();
    return folded == kStationRecordFileName || fileExists(dir / std::string(kStationRecordFileName)) ||
           ChangeJournal::existsIn(dir);
}

std::unique_ptr<JournaledChange> JournalingWriter::beginChange(const fs::path& file) {
    if (!isJournaled(file))
        return nullptr;
    const fs::path dir = file.parent_path();
    JournalAuthor author{systemUserName(), command_ ? command_() : std::string()};
    // Open under the lock: the journal is created by one writer only.
    const StationLock lock(dir, lockWait_);
    std::unique_ptr<ChangeJournal> journal;
    if (!withoutJournal_.count(dir)) {
        try {
            journal = std::make_unique<ChangeJournal>(dir, ChangeJournal::Access::write);
        } catch (const JournalError& e) {
            if (!goOnWithout_ || !goOnWithout_(dir, e.what()))
                throw FileError(std::string(e.what()) + "; değişiklik yapılmadı");
            withoutJournal_.insert(dir);
        }
    }
    return std::make_unique<StationChange>(file, lockWait_, journal, std::move(author));
}

} // namespace korvel
