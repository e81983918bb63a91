#include "journal/RecordDiff.h"

#include "store/MeasurementCard.h"
#include "store/RainYearFile.h"
#include "store/WaterYearFile.h"

#include <algorithm>
#include <cstdio>

namespace korvel {

namespace {

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return result;
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Bytes [start, start + size) of the file, or nothing when the file ends before start.
std::optional<Bytes> slice(const Bytes& file, std::size_t start, std::size_t size) {
    if (start >= file.size())
        return std::nullopt;
    const std::size_t end = std::min(file.size(), start + size);
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(start),
                 file.begin() + static_cast<std::ptrdiff_t>(end));
}

} // namespace

std::size_t journalRecordSize(std::string_view fileName) {
    const std::string name = lowered(fileName);
    if (endsWith(name, ".ard"))
        return DayRecord::kSize;
    if (endsWith(name, ".yrd"))
        return kRainDayRecordSize;
    if (endsWith(name, ".olc"))
        return kMeasurementCardRecordSize;
    return 0;
}

std::optional<Bytes> recordBytes(const Bytes& file, std::size_t recordSize, std::size_t number) {
    if (number == 0 || recordSize == 0)
        return std::nullopt;
    return slice(file, (number - 1) * recordSize, recordSize);
}

std::vector<RecordChange> changedRecords(const Bytes& before, const Bytes& after, std::size_t recordSize) {
    std::vector<RecordChange> changes;
    if (recordSize == 0) {
        if (before != after)
            changes.push_back({1, before, after});
        return changes;
    }
    const std::size_t longest = std::max(before.size(), after.size());
    for (std::size_t start = 0, n = 1; start < longest; start += recordSize, ++n) {
        std::optional<Bytes> old = slice(before, start, recordSize);
        std::optional<Bytes> now = slice(after, start, recordSize);
        if (old != now)
            changes.push_back({n, std::move(old), std::move(now)});
    }
    return changes;
}

std::optional<Bytes> restoredBefore(const Bytes& current, std::size_t sizeBefore,
                                    const std::vector<RecordChange>& records, std::size_t recordSize) {
    std::size_t reached = current.size();
    for (const RecordChange& record : records) {
        if (!record.before)
            continue;
        if (record.number == 0 || (recordSize == 0 && record.number != 1) ||
            (recordSize != 0 && record.number - 1 > sizeBefore / recordSize))
            return std::nullopt;
        const std::size_t start = recordSize == 0 ? 0 : (record.number - 1) * recordSize;
        if (record.before->size() > sizeBefore - start)
            return std::nullopt;
        reached = std::max(reached, start + record.before->size());
    }
    if (sizeBefore > reached)
        return std::nullopt;
    Bytes image = current;
    image.resize(sizeBefore, 0);
    for (const RecordChange& record : records)
        if (record.before)
            std::copy(record.before->begin(), record.before->end(),
                      image.begin() + static_cast<std::ptrdiff_t>(
                                          recordSize == 0 ? 0 : (record.number - 1) * recordSize));
    return image;
}

std::optional<std::string> fileChecksum(const std::optional<Bytes>& bytes) {
    if (!bytes)
        return std::nullopt;
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : *bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::to_string(bytes->size()) + ":" + hex;
}

} // namespace korvel
