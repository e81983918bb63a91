#include "journal/StationLock.h"

#include "core/FileIO.h"
#include "core/FileWriteJournal.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace korvel {

namespace fs = std::filesystem;

namespace {

struct HeldLock {
    int fd = -1;
    int count = 0;
};

std::map<std::string, HeldLock>& heldLocks() {
    static std::map<std::string, HeldLock> locks;
    return locks;
}

std::string keyOf(const fs::path& stationDir) {
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(stationDir, ec);
    return (ec ? stationDir : canonical).lexically_normal().string();
}

} // namespace

fs::path StationLock::lockPath(const fs::path& stationDir) {
    return stationDir / (std::string(kJournalFilePrefix) + ".kilit");
}

StationLock::StationLock(const fs::path& stationDir, std::chrono::milliseconds wait)
    : key_(keyOf(stationDir)) {
    HeldLock& held = heldLocks()[key_];
    if (held.count > 0) {
        ++held.count;
        return;
    }
    const int fd = ::open(lockPath(stationDir).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        // A directory no lock file can be made in cannot be written either; the write reports it.
        held.count = 1;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            heldLocks().erase(key_);
            throw FileError("istasyon dizininde başka bir kullanıcı ya da program değişiklik yapıyor; " +
                            std::to_string(wait.count() / 1000) +
                            " saniye beklendi, değişiklik yapılmadı: " + stationDir.string());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    held.fd = fd;
    held.count = 1;
}

StationLock::~StationLock() {
    auto it = heldLocks().find(key_);
    if (it == heldLocks().end() || --it->second.count > 0)
        return;
    if (it->second.fd >= 0) {
        ::flock(it->second.fd, LOCK_UN);
        ::close(it->second.fd);
    }
    heldLocks().erase(it);
}

} // namespace korvel
