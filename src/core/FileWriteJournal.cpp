#include "core/FileWriteJournal.h"

namespace korvel {

namespace {
FileWriteJournal* installedJournal = nullptr;
} // namespace

bool isJournalFileName(std::string_view fileName) {
    return fileName.substr(0, kJournalFilePrefix.size()) == kJournalFilePrefix;
}

FileWriteJournal* fileWriteJournal() {
    return installedJournal;
}

ScopedFileWriteJournal::ScopedFileWriteJournal(FileWriteJournal* journal) : previous_(installedJournal) {
    installedJournal = journal;
}

ScopedFileWriteJournal::~ScopedFileWriteJournal() {
    installedJournal = previous_;
}

} // namespace korvel
