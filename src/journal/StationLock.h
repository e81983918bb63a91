#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace korvel {

// The write lock of one station directory: an exclusive lock on a file in it whose name starts
// with kJournalFilePrefix. Every process that changes the station's files takes it for the
// change and its journal entry, so writers follow one another. Within one process the lock
// is counted, so a change may take it again while it is held.
class StationLock {
public:
    // Waits up to `wait` for the lock; when another process holds it longer, throws FileError
    // with a Turkish message naming the directory.
    StationLock(const std::filesystem::path& stationDir, std::chrono::milliseconds wait);
    ~StationLock();
    StationLock(const StationLock&) = delete;
    StationLock& operator=(const StationLock&) = delete;

    static std::filesystem::path lockPath(const std::filesystem::path& stationDir);

private:
    std::string key_;
};

} // namespace korvel
