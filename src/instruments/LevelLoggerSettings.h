#pragma once

#include "core/ByteIO.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// "yanlış değer girişi": a level answer with a non-digit among the characters sent.
inline constexpr std::string_view kWrongValue = "yanlış değer girişi";

// One setting of the logger: the write byte, the read byte, the data and the length of the reply
// (the reply of the read byte).
struct SettingCommand {
    std::uint8_t writeByte = 0;
    std::uint8_t readByte = 0;
    Bytes data;
    std::size_t replyLength = 0;
};

// The prompts of the settings and their fields.
inline constexpr std::string_view kLevelPrompt = "yeni eşel seviyesini giriniz";
inline constexpr std::string_view kTimePrompt = "yeni limnigraf saatini giriniz '00:00' gibi";
inline constexpr std::string_view kDatePrompt = "yeni limnigraf tarihini giriniz '01/01/2000 gibi' ";
inline constexpr std::string_view kIntervalPrompt = "yeni kayıt aralığını giriniz";
inline constexpr std::string_view kIntervalDefault = "30";
inline constexpr std::string_view kStationNamePrompt = "yeni istasyon adını giriniz";
inline constexpr std::string_view kStationNumberPrompt = "yeni istasyon numarası giriniz";
inline constexpr std::string_view kRiverNamePrompt = "yeni su adı giriniz";

// The level answer as the five digit bytes d1..d5: with unit code 1 a "0" is put in front, then
// "00000" appended, and characters 5, 4, 3, 2, 1 sent. Nothing when one of them is not a digit.
std::optional<SettingCommand> levelSetting(std::string_view answer, int levelUnitCode);
// "hh:mm": characters 1-2 the hour, 4-5 the minute, sent minute first. Nothing when unreadable.
std::optional<SettingCommand> timeSetting(std::string_view answer);
// "dd/mm/yyyy" (or with "."): characters 1-2 day, 4-5 month, 9-10 the year in the century.
std::optional<SettingCommand> dateSetting(std::string_view answer);

// The recording intervals the logger takes, in minutes.
inline constexpr std::array<int, 11> kIntervals{1, 2, 5, 10, 15, 30, 60, 120, 240, 360, 720};
enum class IntervalAnswer { Accepted, NotListed, Unusable };
struct IntervalSetting {
    IntervalAnswer answer = IntervalAnswer::Unusable;
    SettingCommand command; // when accepted: one byte, minutes / 5 rounded half to even
};
IntervalSetting intervalSetting(std::string_view answer);

// Texts: the whole answer followed by eight spaces, as cp1254 bytes. `readByte` is 0x07 station
// name, 0x08 station number or 0x09 river name.
SettingCommand textSetting(std::uint8_t readByte, std::string_view answer);

// The unit toggle: the new code is 1 unless the current code is 1, then 10. The reply is the
// level reply, shown in the new unit.
int toggledUnitCode(int levelUnitCode);
SettingCommand unitToggle(int levelUnitCode);

} // namespace korvel
