// libFuzzer target for the change journal's records: the stored (deflated) record bytes, which
// a damaged journal can hold anything in, and the record comparison undo relies on. Stored bytes
// either unpack or are refused as damage, without reserving more than deflate could give;
// packing unpacks to the same bytes; and the file before a change is always restored from the
// file after it and the changed records.
#include "FuzzCheck.h"
#include "journal/ChangeJournal.h"
#include "journal/RecordDiff.h"
#include "journal/RecordPacking.h"

using namespace korvel;
using korvel::fuzz::check;

namespace {

void storedRecord(const Bytes& stored) {
    try {
        const auto bytes = unpackedRecord(stored);
        check(bytes.has_value() && unpackedRecord(packedRecord(bytes)) == bytes);
    } catch (const JournalError&) {
    }
}

void packing(const Bytes& bytes) {
    check(unpackedRecord(packedRecord(bytes)) == bytes);
}

// The input is the file before, then after; the cut and the record size come from the selector
// and the first byte.
void changeRestored(const fuzz::Input& input) {
    if (input.bytes.empty())
        return;
    constexpr std::size_t kRecordSizes[] = {0, 1, 7, 128, 170};
    const std::size_t recordSize = kRecordSizes[(input.selector >> 2) % 5];
    const std::size_t cut = input.bytes[0] * (input.bytes.size() / 256 + 1) % input.bytes.size();
    const Bytes before(input.bytes.begin() + 1,
                       input.bytes.begin() + 1 + std::min(cut, input.bytes.size() - 1));
    const Bytes after(input.bytes.begin() + 1 + static_cast<std::ptrdiff_t>(before.size()),
                      input.bytes.end());
    const auto changes = changedRecords(before, after, recordSize);
    for (const RecordChange& change : changes)
        check(change.number >= 1 && (change.before || change.after) && change.before != change.after);
    check(restoredBefore(after, before.size(), changes, recordSize) == before);
    if (before == after)
        check(changes.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input input = fuzz::splitInput(data, size);
    switch (input.selector % 3) {
    case 0:
        storedRecord(input.bytes);
        break;
    case 1:
        packing(input.bytes);
        break;
    default:
        changeRestored(input);
        break;
    }
    return 0;
}
