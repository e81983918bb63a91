// libFuzzer target for the zip reader: whatever the bytes, an archive is refused with its error or
// gives its one file, never more than the size limit.
#include "FuzzCheck.h"
#include "transfer/ZipArchive.h"

using namespace korvel;
using korvel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::uint64_t kLimit = 1 << 20;
    const Bytes archive(data, data + size);
    try {
        const Bytes file = readSingleFileArchive(archive, "2004_01-001.ard", kLimit);
        check(file.size() <= kLimit);
    } catch (const ArchiveError&) {
    }
    return 0;
}
