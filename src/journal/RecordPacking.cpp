#include "journal/RecordPacking.h"

#include "journal/ChangeJournal.h"

#include <cstdint>
#include <zlib.h>

namespace korvel {

namespace {

constexpr std::size_t kLengthBytes = 4;
// Deflate cannot shrink data by more than about 1032:1; a stored length beyond that is damage,
// and reserving it would take up to 4 GiB before inflate finds out.
constexpr std::uint64_t kLargestRatio = 1032;
constexpr std::uint64_t kRatioSlack = 64;

} // namespace

std::optional<Bytes> packedRecord(const std::optional<Bytes>& bytes) {
    if (!bytes)
        return std::nullopt;
    uLongf size = compressBound(static_cast<uLong>(bytes->size()));
    Bytes out(kLengthBytes + size);
    const auto length = static_cast<std::uint32_t>(bytes->size());
    for (std::size_t i = 0; i < kLengthBytes; ++i)
        out[i] = static_cast<std::uint8_t>(length >> (8 * i));
    if (compress2(out.data() + kLengthBytes, &size, bytes->data(), static_cast<uLong>(bytes->size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw JournalError("değişiklik günlüğü yazılamıyor: kayıt sıkıştırılamadı");
    out.resize(kLengthBytes + size);
    return out;
}

std::optional<Bytes> unpackedRecord(const std::optional<Bytes>& stored) {
    if (!stored)
        return std::nullopt;
    if (stored->size() < kLengthBytes)
        throw JournalError("değişiklik günlüğü bozuk: kısa kayıt");
    std::uint32_t length = 0;
    for (std::size_t i = 0; i < kLengthBytes; ++i)
        length |= static_cast<std::uint32_t>((*stored)[i]) << (8 * i);
    const std::uint64_t deflated = stored->size() - kLengthBytes;
    if (length > deflated * kLargestRatio + kRatioSlack)
        throw JournalError("değişiklik günlüğü bozuk: kayıt uzunluğu sıkıştırılmış boyuna uymuyor");
    Bytes out(length);
    uLongf size = length;
    if (uncompress(out.data(), &size, stored->data() + kLengthBytes, static_cast<uLong>(deflated)) != Z_OK ||
        size != length)
        throw JournalError("değişiklik günlüğü bozuk: kayıt açılamıyor");
    return out;
}

} // namespace korvel
