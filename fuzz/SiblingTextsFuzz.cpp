// libFuzzer target for the sibling program's texts: level months, HQ images, field lists and
// measurement lines. Whatever the bytes, a conversion either refuses with its error or gives
// values a file can store: finite discharges, real dates.
#include "FuzzCheck.h"
#include "core/Locale.h"
#include "store/MeasurementCard.h"
#include "transfer/SuvakFields.h"
#include "transfer/SuvakHq.h"
#include "transfer/SuvakLevels.h"

using namespace korvel;
using korvel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input input = fuzz::splitInput(data, size);
    switch (input.selector % 5) {
    case 0: {
        const SuvakLevelName name{2000 + input.selector % 30, 1 + input.selector / 5 % 12};
        try {
            for (const DayRecord& day : convertSuvakLevelMonth(name, input.bytes).days) {
                check(fuzz::isStorableDate(day.date));
                check(std::isfinite(day.meanValue));
            }
        } catch (const SuvakFormatError&) {
        }
        break;
    }
    case 1:
        try {
            const HqTable table = convertSuvakHq(input.bytes, Locale::turkish());
            for (float q : table.discharge)
                check(std::isfinite(q));
        } catch (const SuvakFormatError&) {
        }
        break;
    case 2:
        readFieldList(input.text);
        parseTimeDigits(input.text);
        break;
    case 3:
        try {
            if (const auto card = convertSuvakMeasurementLine(input.text)) {
                check(fuzz::isStorableDate(card->measurementDate));
                check(std::isfinite(card->measuredDischarge) && std::isfinite(card->sectionArea));
                const Bytes record = serializeMeasurementCard(*card);
                check(serializeMeasurementCard(parseMeasurementCard(record)) == record);
            }
        } catch (const MeasurementLineError&) {
        }
        break;
    default:
        parseSuvakLevelName(input.text);
        suvakHqTableNumber(input.text);
        break;
    }
    return 0;
}
