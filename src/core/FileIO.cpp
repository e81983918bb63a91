#include "core/FileIO.h"

#include <atomic>
#include <chrono>
#include <fstream>
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

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

void writeFileAtomic(const fs::path& path, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path temp = path;
    temp +=
        ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(stamp) + "_" + std::to_string(counter++);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            throw FileError("cannot write " + path.string());
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            fs::remove(temp, ec);
            throw FileError("cannot write " + path.string());
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw FileError("cannot replace " + path.string());
    }
}

void writeFileAtomic(const fs::path& path, const Bytes& bytes) {
    writeFileAtomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
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
    if (!fileExists(path)) {
        std::ofstream create(path, std::ios::binary);
        if (!create)
            throw FileError("cannot create " + path.string());
    }
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!file)
        throw FileError("cannot open " + path.string());
    file.seekp(0, std::ios::end);
    auto size = static_cast<std::size_t>(file.tellp());
    for (const auto& [n, bytes] : records) {
        const std::size_t offset = (n - 1) * recordSize;
        if (offset > size) {
            // Zero-fill the gap up to the new record.
            file.seekp(static_cast<std::streamoff>(size));
            const std::string zeros(offset - size, '\0');
            file.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
        }
        file.seekp(static_cast<std::streamoff>(offset));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(recordSize));
        size = std::max(size, offset + recordSize);
    }
    file.flush();
    if (!file)
        throw FileError("cannot write " + path.string());
}

} // namespace korvel
