#include "instruments/LevelLoggerSettings.h"

#include "core/Cp1254.h"
#include "core/Numbers.h"
#include "core/OleDate.h"
#include "instruments/LevelDump.h"
#include "instruments/LevelLoggerCommands.h"

#include <algorithm>

namespace korvel {

using namespace levellogger;

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Two decimal digits at the given offset of the text.
std::optional<int> twoDigits(std::string_view text, std::size_t offset) {
    if (text.size() < offset + 2 || !isDigit(text[offset]) || !isDigit(text[offset + 1]))
        return std::nullopt;
    return (text[offset] - '0') * 10 + (text[offset + 1] - '0');
}

SettingCommand setting(std::uint8_t readByte, Bytes data) {
    return {writeByteOf(readByte), readByte, std::move(data), *replyLength(readByte)};
}

} // namespace

std::optional<SettingCommand> levelSetting(std::string_view answer, int levelUnitCode) {
    std::string s = levelUnitCode == 1 ? "0" : "";
    s += answer;
    s += "00000";
    Bytes digits;
    for (std::size_t i = kLevelDigits; i >= 1; --i) {
        if (!isDigit(s[i - 1]))
            return std::nullopt;
        digits.push_back(static_cast<std::uint8_t>(s[i - 1] - '0'));
    }
    return setting(kLevel, std::move(digits));
}

std::optional<SettingCommand> timeSetting(std::string_view answer) {
    const auto hour = twoDigits(answer, 0);
    const auto minute = twoDigits(answer, 3);
    if (!hour || !minute || *hour > 23 || *minute > 59)
        return std::nullopt;
    return setting(kTime, {static_cast<std::uint8_t>(*minute), static_cast<std::uint8_t>(*hour)});
}

std::optional<SettingCommand> dateSetting(std::string_view answer) {
    const auto day = twoDigits(answer, 0);
    const auto month = twoDigits(answer, 3);
    const auto year = twoDigits(answer, 8);
    if (!day || !month || !year || !blockDate(*day, *month, *year))
        return std::nullopt;
    return setting(kDate, {static_cast<std::uint8_t>(*day), static_cast<std::uint8_t>(*month),
                           static_cast<std::uint8_t>(*year)});
}

IntervalSetting intervalSetting(std::string_view answer) {
    if (!isNumericText(answer))
        return {};
    const double value = numericValue(answer);
    if (!(value >= 0 && value <= kIntervals.back()))
        return {IntervalAnswer::NotListed, {}};
    const auto listed = std::find(kIntervals.begin(), kIntervals.end(), static_cast<int>(value));
    if (value != static_cast<int>(value) || listed == kIntervals.end())
        return {IntervalAnswer::NotListed, {}};
    const int minutes = *listed;
    const auto code = static_cast<std::uint8_t>(minutes == 1 ? 0 : roundHalfEven(minutes / 5.0));
    return {IntervalAnswer::Accepted, setting(kInterval, {code})};
}

SettingCommand textSetting(std::uint8_t readByte, std::string_view answer) {
    const std::string bytes = utf8ToCp1254(answer) + std::string(kTextLength, ' ');
    return setting(readByte, Bytes(bytes.begin(), bytes.end()));
}

int toggledUnitCode(int levelUnitCode) {
    return levelUnitCode != 1 ? 1 : 10;
}

SettingCommand unitToggle(int levelUnitCode) {
    return {kUnitToggle,
            kLevel,
            {static_cast<std::uint8_t>(toggledUnitCode(levelUnitCode))},
            *replyLength(kLevel)};
}

} // namespace korvel
