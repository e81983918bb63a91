#pragma once

#include "core/ByteIO.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace korvel {

// Every file of a station's change journal and its lock starts with this name; the directory
// listings of the screens leave such files out.
inline constexpr std::string_view kJournalFilePrefix = ".korvel-gecmis";
bool isJournalFileName(std::string_view fileName);

// One change of one file, as the journal keeps it while the change is made.
class JournaledChange {
public:
    virtual ~JournaledChange() = default;
    // The whole file before and after the change (nothing: the file is absent). The journal
    // has the change on disk when this returns; it throws to stop the write.
    virtual void recordIntent(const std::optional<Bytes>& before, const std::optional<Bytes>& after) = 0;
    // The file now holds the new bytes. A change destroyed without this call is settled by
    // the journal from what the file holds.
    virtual void completed() = 0;
};

// Told of every write and removal the file functions below make.
class FileWriteJournal {
public:
    virtual ~FileWriteJournal() = default;
    // Called before the file is read for a change; nothing when the file is not journaled.
    // The returned change keeps other writers of the station out while it lives.
    virtual std::unique_ptr<JournaledChange> beginChange(const std::filesystem::path& file) = 0;
};

// The journal of this process's file writes; none (the default) writes without one.
FileWriteJournal* fileWriteJournal();

// Installs a journal (or none) for its lifetime and puts the earlier one back at its end.
class ScopedFileWriteJournal {
public:
    explicit ScopedFileWriteJournal(FileWriteJournal* journal);
    ~ScopedFileWriteJournal();
    ScopedFileWriteJournal(const ScopedFileWriteJournal&) = delete;
    ScopedFileWriteJournal& operator=(const ScopedFileWriteJournal&) = delete;

private:
    FileWriteJournal* previous_;
};

} // namespace korvel
