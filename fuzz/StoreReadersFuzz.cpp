// libFuzzer target for the file readers: whatever the bytes, a reader never crashes, and a
// record of full size written back gives the very same bytes.
#include "core/Cp1254.h"
#include "store/HqTable.h"
#include "store/MeasurementCard.h"
#include "store/RainYearFile.h"
#include "store/StationMap.h"
#include "store/StationRecord.h"
#include "store/WaterYearFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

template <typename Parse, typename Serialize>
void roundTrip(const korvel::Bytes& bytes, std::size_t size, Parse parse, Serialize serialize) {
    if (bytes.size() < size)
        return;
    const korvel::Bytes record(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    check(serialize(parse(record)) == record);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const korvel::Bytes bytes(data + 1, data + size);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    using namespace korvel;
    switch (data[0] % 8) {
    case 0:
        parseStationRecord(text, "Ankara");
        serializeStationRecord(parseStationRecord(text));
        break;
    case 1:
        parseMapPoints(bytes);
        break;
    case 2:
        parseWaterYearFile(bytes);
        roundTrip(
            bytes, DayRecord::kSize, [](const Bytes& b) { return parseDayRecord(b); }, serializeDayRecord);
        break;
    case 3:
        roundTrip(bytes, HqTable::kSize, parseHqTable, serializeHqTable);
        break;
    case 4:
        parseRainYearFile(bytes);
        roundTrip(
            bytes, kRainDayRecordSize, [](const Bytes& b) { return parseRainDayRecord(b); },
            serializeRainDayRecord);
        break;
    case 5:
        parseMeasurementCardFile(bytes);
        roundTrip(
            bytes, kMeasurementCardRecordSize, [](const Bytes& b) { return parseMeasurementCard(b); },
            serializeMeasurementCard);
        break;
    case 6:
        try {
            convertSuvakMeasurementLine(text);
        } catch (const MeasurementLineError&) {
        }
        break;
    default:
        check(utf8ToCp1254(cp1254ToUtf8(text)) == text);
        break;
    }
    return 0;
}
