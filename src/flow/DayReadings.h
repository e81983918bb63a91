#pragma once

#include "core/ByteIO.h"
#include "core/Locale.h"
#include "core/OleDate.h"
#include "store/WaterYearFile.h"

#include <optional>
#include <string>
#include <vector>

namespace korvel {

// A day's instantaneous logger readings as the monthly table lists them: "08:10:00....123"
// per reading and the caption "<date> anlık ölcümler".
struct DayReadings {
    struct Reading {
        int minute = 0; // minutes after midnight
        double value = 0.0;
    };
    std::string caption;
    std::vector<std::string> entries;
    std::vector<Reading> readings; // the figures of the entries, one for one
};

// The readings of `day` in a day-readings file (its bytes): interval I minutes at byte 1, the
// scale code at byte 2 (1: divisor 1, 10: divisor 0.1, else 2), day blocks from byte 14 of
// three date bytes (day, month, two-digit year) and 1440 / I readings of two bytes, high byte
// first, read as unsigned. Each value is divided and rounded half to even. Nothing when the
// interval is 0 or no block carries the day; a block cut short by the end of the file lists
// the readings it has.
std::optional<DayReadings> showDayReadings(const Bytes& file, OleDate day, const Locale& locale);

// The name of the day-readings file of the first record among 1..365 dated `day`: its
// rawDataFile up to the first NUL, trailing spaces removed; nothing when blank or not found.
std::optional<std::string> dayReadingsFileName(const std::vector<DayRecord>& records, OleDate day);

} // namespace korvel
