#pragma once

#include "core/ByteIO.h"
#include "core/Locale.h"
#include "core/Sheet.h"

#include <cstdint>
#include <string>

namespace korvel {

// The caption of the water-level logger screen.
inline constexpr std::string_view kLevelLoggerCaption = "K.4417 limnigraf ile iletişim & sağım & kayıt";
// The erase buttons' caption once the memory is erased.
inline constexpr std::string_view kMemoryErased = "Hafıza silindi";

// "Limnigraf Kaydedilebilecek kalan gün sayısı ", "  PİL ÖMRÜ  ", "..Gün".
inline constexpr std::string_view kRemainingDaysText = "Limnigraf Kaydedilebilecek kalan gün sayısı ";
inline constexpr std::string_view kBatteryLifeText = "  PİL ÖMRÜ  ";
inline constexpr std::string_view kBatteryDaysText = "..Gün";

// What the water-level logger screen shows of the logger, by control name (Text1 level digits,
// Text8 unit, Text2 time, Text3 date, Text4 interval, Text5-7 texts, Label9 remaining days,
// Label8 battery life, Text10 battery gauge), and the two values the screen keeps.
struct LevelLoggerView {
    Sheet fields;
    // 0 until the information command ran; 1 millimetres, 10 centimetres.
    int levelUnitCode = 0;
    // The reading interval shown in Text4, which the remaining days are counted with.
    int intervalMinutes = 0;

    // Shows the reply to a read byte as the information command does. A reply shorter than its
    // length shows as if padded with zeros.
    void showReply(std::uint8_t readByte, const Bytes& reply, const Locale& locale);
};

// The four level digits shown for a level reply (d1 .. d5 in bytes 1..5), and the unit text:
// unit code 1 shows d4 d3 d2 d1 and " mm", 10 shows d5 d4 d3 d2 and " cm"; other codes nothing.
struct LevelText {
    std::string digits;
    std::string unit;
};
std::optional<LevelText> levelText(const Bytes& reply, int levelUnitCode);

// The date the logger's day, month and two-digit year bytes make, as a date made of day, month
// and year parts rolls over (month 13 is January of the next year, day 0 the last of the month
// before).
OleDate loggerDate(int day, int month, int year);

// The replies both loggers give alike: the clock (Text2), the date (Text3), the texts (Text5 ..
// Text7) and the battery (Label8, Text10). False for another read byte.
bool showCommonReply(Sheet& fields, std::uint8_t readByte, const Bytes& reply, const Locale& locale);

// Remaining recording days: (32512 - used) divided by the day block size, as whole numbers.
int remainingDays(int usedBytes, int intervalMinutes);
// The battery gauge: one "I" for each step of 1600 / 24 from the remaining count up to 1600.
std::string batteryGauge(int remaining);

} // namespace korvel
