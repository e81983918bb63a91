// libFuzzer target for what the loggers leave: the level logger's memory image and its two side
// files (also as the older program left them), and the rain logger's image. Whatever the bytes,
// every day a decoder gives has a real date, and the side files a level image gives read back
// into the very days it decoded.
#include "FuzzCheck.h"
#include "instruments/LevelConversion.h"
#include "instruments/RainLogger.h"
#include "instruments/ReceivedReadings.h"

#include <algorithm>

using namespace korvel;
using korvel::fuzz::check;

namespace {

void decodeLevelImage(const Bytes& image) {
    const DecodedLevelDump decoded = decodeLevelDump(image, "01-001");
    for (const DayRecord& day : decoded.days)
        check(fuzz::isStorableDate(day.date));
    if (!decoded.found)
        return;
    const std::vector<DayRecord> again =
        decodeReceivedReadings(decoded.readingsFile, decoded.textsFile, decoded.readingsFileName);
    for (const DayRecord& day : again)
        check(fuzz::isStorableDate(day.date));
}

// Two bytes give the size of the texts file, which comes first; the readings file follows.
void decodeSidePair(const Bytes& bytes) {
    if (bytes.size() < 2)
        return;
    const std::size_t textsSize = std::min<std::size_t>(bytes[0] + 256 * bytes[1], bytes.size() - 2);
    const auto textsEnd = bytes.begin() + 2 + static_cast<std::ptrdiff_t>(textsSize);
    const Bytes texts(bytes.begin() + 2, textsEnd);
    const Bytes readings(textsEnd, bytes.end());
    parseStationTexts(texts);
    for (const DayRecord& day : decodeReceivedReadings(readings, texts, "ABC5-10 .-4"))
        check(fuzz::isStorableDate(day.date));
}

void decodeRainImage(const Bytes& image) {
    const DecodedRainDump decoded = decodeRainDump(image);
    for (const DownloadedRainDay& day : decoded.days) {
        check(fuzz::isStorableDate(day.day));
        for (const auto& [minute, tips] : day.tipCounts)
            check(minute >= 0 && minute < 1440 && tips >= 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input input = fuzz::splitInput(data, size);
    switch (input.selector % 3) {
    case 0:
        decodeLevelImage(input.bytes);
        break;
    case 1:
        decodeSidePair(input.bytes);
        break;
    default:
        decodeRainImage(input.bytes);
        break;
    }
    return 0;
}
