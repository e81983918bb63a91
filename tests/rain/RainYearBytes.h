#pragma once

#include "core/ByteIO.h"
#include "store/RainYearFile.h"

#include <vector>

namespace korvel::testing {

// The records laid end to end, as a rainfall-year file holds them.
inline Bytes rainYearBytes(const std::vector<RainDayRecord>& records) {
    Bytes bytes;
    for (const RainDayRecord& record : records) {
        const Bytes one = serializeRainDayRecord(record);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    return bytes;
}

} // namespace korvel::testing
