#include "core/FileIO.h"

#include "core/FileWriteJournal.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <memory>
#include <signal.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace korvel {

namespace fs = std::filesystem;

std::optional<Bytes> readFileBytes(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    Bytes bytes;
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size < 0)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (!in && !in.eof())
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::optional<std::uintmax_t> regularFileSize(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec)
        return std::nullopt;
    return size;
}

std::optional<Bytes> readFileBytes(const fs::path& path, std::uintmax_t sizeLimit) {
    const std::optional<std::uintmax_t> size = regularFileSize(path);
    if (!size || *size > sizeLimit)
        return std::nullopt;
    std::optional<Bytes> bytes = readFileBytes(path);
    if (bytes && bytes->size() > sizeLimit)
        return std::nullopt;
    return bytes;
}

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

namespace {

constexpr std::string_view kTemporaryMark = ".tmp";

// "<name>.tmp<pid>_<stamp>_<n>": the temporary a whole-file write renames over <name>.
fs::path temporaryFor(const fs::path& path) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path temp = path;
    temp += std::string(kTemporaryMark) + std::to_string(::getpid()) + "_" + std::to_string(stamp) + "_" +
            std::to_string(counter++);
    return temp;
}

// The process id of a temporary's name, or nothing when the name is not of that pattern.
std::optional<long long> temporaryWriter(const std::string& name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string::npos || mark == 0)
        return std::nullopt;
    std::string_view rest = std::string_view(name).substr(mark + kTemporaryMark.size());
    long long pid = 0;
    for (int part = 0; part < 3; ++part) {
        std::size_t digits = 0;
        while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9')
            ++digits;
        if (digits == 0 || digits > 18)
            return std::nullopt;
        if (part == 0)
            pid = std::stoll(std::string(rest.substr(0, digits)));
        rest.remove_prefix(digits);
        if (part < 2) {
            if (rest.empty() || rest.front() != '_')
                return std::nullopt;
            rest.remove_prefix(1);
        }
    }
    if (!rest.empty())
        return std::nullopt;
    return pid;
}

bool processRuns(long long pid) {
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void syncDirectory(const fs::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// The permission bits of the file being replaced; nothing for a new file. A file its owner
// may not write is refused: the user made it read-only.
std::optional<mode_t> replacedMode(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    if ((st.st_mode & S_IWUSR) == 0)
        throw FileError("salt okunur dosya değiştirilmedi: " + path.string());
    return st.st_mode & 07777;
}

// Replaces the file through a synced temporary and rename; the journal is not told.
void replaceFile(const fs::path& path, std::string_view bytes) {
    const std::optional<mode_t> mode = replacedMode(path);
    const fs::path temp = temporaryFor(path);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        throw FileError("cannot write " + path.string());
    bool written = writeAll(fd, bytes);
    if (written && mode)
        written = ::fchmod(fd, *mode) == 0;
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    std::error_code ec;
    if (!written) {
        fs::remove(temp, ec);
        throw FileError("cannot write " + path.string());
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw FileError("cannot replace " + path.string());
    }
    syncDirectory(path.parent_path());
}

std::string_view viewOf(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::unique_ptr<JournaledChange> beginJournaledChange(const fs::path& path) {
    FileWriteJournal* journal = fileWriteJournal();
    return journal ? journal->beginChange(path) : nullptr;
}

// Writes one record in place and syncs it to disk.
void overwriteRecord(const fs::path& path, std::size_t offset, const Bytes& record) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileError("cannot open " + path.string());
    struct stat st {};
    bool written = ::fstat(fd, &st) == 0;
    const auto size = static_cast<std::size_t>(st.st_size);
    if (written && offset > size)
        // Zero-fill the gap up to the new record.
        written = ::ftruncate(fd, static_cast<off_t>(offset)) == 0;
    written =
        written && ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0 && writeAll(fd, viewOf(record));
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written)
        throw FileError("cannot write " + path.string());
}

} // namespace

void writeFileAtomic(const fs::path& path, std::string_view bytes) {
    const std::unique_ptr<JournaledChange> change = beginJournaledChange(path);
    if (change) {
        replacedMode(path);
        change->recordIntent(readFileBytes(path), Bytes(bytes.begin(), bytes.end()));
    }
    replaceFile(path, bytes);
    if (change)
        change->completed();
}

bool removeFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(path, ec)))
        return false;
    const std::unique_ptr<JournaledChange> change = beginJournaledChange(path);
    if (change) {
        const std::optional<Bytes> before = readFileBytes(path);
        if (!before)
            return false;
        change->recordIntent(before, std::nullopt);
    }
    if (!fs::remove(path, ec) || ec)
        return false;
    syncDirectory(path.parent_path());
    if (change)
        change->completed();
    return true;
}

std::size_t removeStaleTemporaries(const fs::path& dir) {
    std::size_t removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::optional<long long> pid = temporaryWriter(name);
        if (!pid || processRuns(*pid) || !it->is_regular_file(ec))
            continue;
        std::error_code removeError;
        if (fs::remove(it->path(), removeError))
            ++removed;
    }
    return removed;
}

void writeFileAtomic(const fs::path& path, const Bytes& bytes) {
    writeFileAtomic(path, viewOf(bytes));
}

Bytes recordAt(const Bytes& file, std::size_t recordSize, std::size_t n) {
    Bytes record(recordSize, 0);
    if (n == 0)
        return record;
    const std::size_t start = (n - 1) * recordSize;
    for (std::size_t i = 0; i < recordSize && start + i < file.size(); ++i)
        record[i] = file[start + i];
    return record;
}

std::size_t recordCount(const Bytes& file, std::size_t recordSize) {
    return (file.size() + recordSize - 1) / recordSize;
}

void writeRecords(const fs::path& path, std::size_t recordSize, const std::map<std::size_t, Bytes>& records) {
    if (records.empty())
        return;
    // Refuse a bad record before anything is written.
    for (const auto& [n, bytes] : records)
        if (n == 0 || bytes.size() != recordSize)
            throw FileError("bad record for " + path.string());
    const std::unique_ptr<JournaledChange> change = beginJournaledChange(path);
    const bool exists = fileExists(path);
    if (exists)
        replacedMode(path);
    const bool whole = !exists || records.size() > 1;
    std::optional<Bytes> before;
    if (exists && (whole || change)) {
        before = readFileBytes(path);
        if (!before)
            throw FileError("cannot read " + path.string());
    }
    if (change || whole) {
        Bytes image = before.value_or(Bytes{});
        const std::size_t end = (records.rbegin()->first) * recordSize;
        if (image.size() < end)
            image.resize(end, 0);
        for (const auto& [n, bytes] : records)
            std::copy(bytes.begin(), bytes.end(),
                      image.begin() + static_cast<std::ptrdiff_t>((n - 1) * recordSize));
        if (change)
            change->recordIntent(before, image);
        // Several records, or a new file, go in one whole-file replacement: a write cut short
        // leaves the old file, never a mixture or a truncated file.
        if (whole)
            replaceFile(path, viewOf(image));
    }
    if (!whole) {
        const auto& [n, bytes] = *records.begin();
        overwriteRecord(path, (n - 1) * recordSize, bytes);
    }
    if (change)
        change->completed();
}

} // namespace korvel
