#pragma once

#include "core/FileWriteJournal.h"
#include "journal/Recovery.h"

#include <functional>
#include <set>
#include <string>

namespace korvel {

// The FileWriteJournal of the program and the tool: every change of a file in a station
// directory (a station file by its name, or any file of a directory that holds a station record
// or a journal) is written ahead into that directory's ChangeJournal under the station's lock.
class JournalingWriter : public FileWriteJournal {
public:
    // The command a change is made by, asked at each change.
    using CommandName = std::function<std::string()>;
    // Asked when the journal of a station cannot be written: true goes on without it.
    using GoOnWithout =
        std::function<bool(const std::filesystem::path& stationDir, const std::string& reason)>;

    JournalingWriter(CommandName command, GoOnWithout goOnWithout,
                     std::chrono::milliseconds lockWait = kStationLockWait);

    std::unique_ptr<JournaledChange> beginChange(const std::filesystem::path& file) override;

    // True when a change of this file is journaled.
    static bool isJournaled(const std::filesystem::path& file);

private:
    CommandName command_;
    GoOnWithout goOnWithout_;
    std::chrono::milliseconds lockWait_;
    // Directories whose journal the user chose to go on without, for this session.
    std::set<std::filesystem::path> withoutJournal_;
};

} // namespace korvel
