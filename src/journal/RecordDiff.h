#pragma once

#include "core/ByteIO.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// One record of a file as a change found it: its bytes before and after (nothing where the
// file did not reach that record, or did not exist).
struct RecordChange {
    std::size_t number = 0; // from 1
    std::optional<Bytes> before;
    std::optional<Bytes> after;
};

// The record size by which the journal compares a file's old and new bytes: the day record of
// water-year and rainfall-year files, the card row of measurement cards; 0 (the whole file as
// one record) for every other file.
std::size_t journalRecordSize(std::string_view fileName);

// Record `number` (from 1) of a file's bytes, records of recordSize bytes, as far as the file
// reaches; nothing when the file ends before it.
std::optional<Bytes> recordBytes(const Bytes& file, std::size_t recordSize, std::size_t number);

// The records that differ between the two states of a file; a missing state reads as an
// empty file. With recordSize 0 the whole file is one record.
std::vector<RecordChange> changedRecords(const Bytes& before, const Bytes& after, std::size_t recordSize);

// The file as it was before the change: the records' before bytes put back into the current
// bytes, cut or extended to the earlier size. Nothing when the records do not fit a file of that
// size (a damaged journal): a record numbered 0, or one reaching past the earlier end, or an
// earlier size that neither the current bytes nor the records reach.
std::optional<Bytes> restoredBefore(const Bytes& current, std::size_t sizeBefore,
                                    const std::vector<RecordChange>& records, std::size_t recordSize);

// The checksum of a whole file: its size and the 64-bit FNV-1a hash of its bytes, as text
// ("<size>:<16 hex digits>"); nothing for an absent file.
std::optional<std::string> fileChecksum(const std::optional<Bytes>& bytes);

} // namespace korvel
