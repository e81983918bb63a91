#pragma once

#include "core/ByteIO.h"

#include <optional>

namespace korvel {

// Record bytes as the journal keeps them: deflated (zlib), behind their length as four
// little-endian bytes. Nothing stays nothing (a file that did not reach the record).
std::optional<Bytes> packedRecord(const std::optional<Bytes>& bytes);

// The bytes back. Throws JournalError when the stored bytes are not such a record, among them a
// length that deflate could not have reached from bytes of their size.
std::optional<Bytes> unpackedRecord(const std::optional<Bytes>& stored);

} // namespace korvel
