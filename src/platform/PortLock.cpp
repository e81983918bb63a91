#include "platform/PortLock.h"

#ifndef _WIN32

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

namespace {

constexpr std::array<std::string_view, 8> kLockDirectories = {
    "/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
    "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string lockFileName(const std::string& device) {
    std::string name = device;
    if (!name.empty() && (name.front() == '/' || name.rfind("./", 0) == 0 || name.rfind("../", 0) == 0))
        name = name.size() > 5 ? name.substr(5) : std::string();
    for (char& c : name)
        if (c == '/')
            c = '_';
    return "LCK.." + name;
}

std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

std::string programName() {
    char path[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return "korvel";
    const std::string_view exe(path, static_cast<std::size_t>(n));
    return std::string(exe.substr(exe.rfind('/') + 1));
}

// The process that holds a lock file still runs: it is there (or not ours to signal) and, when the
// file names a host, on this one. An unreadable file counts as held.
bool lockIsLive(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        return !(errno == ENOENT);
    std::string pidLine, program, host;
    std::getline(in, pidLine);
    std::getline(in, program);
    std::getline(in, host);
    char* end = nullptr;
    const long pid = std::strtol(pidLine.c_str(), &end, 10);
    if (pidLine.empty() || end == pidLine.c_str() || pid <= 0)
        return true;
    if (!host.empty() && host != hostName())
        return true;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

} // namespace

std::string portLockPath(const std::string& device) {
    const std::string name = "/" + lockFileName(device);
    std::array<std::string, kLockDirectories.size() + 1> directories;
    std::size_t count = 0;
    for (const std::string_view d : kLockDirectories)
        directories[count++] = std::string(d);
    const char* temp = std::getenv("TMPDIR");
    directories[count++] = temp != nullptr && *temp != '\0' ? std::string(temp) : std::string("/tmp");
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& dir = directories[i];
        if (!isDirectory(dir) || ::access(dir.c_str(), R_OK) != 0)
            continue;
        const std::string file = dir + name;
        if (::access(file.c_str(), F_OK) == 0 || ::access(dir.c_str(), W_OK) == 0)
            return file;
    }
    return {};
}

bool portLockHeld(const std::string& device) {
    const std::string path = portLockPath(device);
    return !path.empty() && ::access(path.c_str(), F_OK) == 0 && lockIsLive(path);
}

bool PortLock::acquire(const std::string& device) {
    release();
    const std::string path = portLockPath(device);
    if (path.empty())
        return true;
    const std::string contents = std::to_string(::getpid()) + "\n" + programName() + "\n" + hostName() + "\n";
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            const bool written = ::write(fd, contents.data(), contents.size()) ==
                                 static_cast<ssize_t>(contents.size());
            ::close(fd);
            if (!written) {
                ::unlink(path.c_str());
                return false;
            }
            path_ = path;
            return true;
        }
        if (errno != EEXIST)
            return true; // no lock can be kept here; the port itself still refuses a second user
        if (lockIsLive(path))
            return false;
        ::unlink(path.c_str()); // left by a process that has ended
    }
    return false;
}

void PortLock::release() {
    if (path_.empty())
        return;
    ::unlink(path_.c_str());
    path_.clear();
}

} // namespace korvel

#else

namespace korvel {

std::string portLockPath(const std::string&) {
    return {};
}
bool portLockHeld(const std::string&) {
    return false;
}
bool PortLock::acquire(const std::string&) {
    return true;
}
void PortLock::release() {}

} // namespace korvel

#endif
