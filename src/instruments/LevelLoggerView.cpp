#include "instruments/LevelLoggerView.h"

#include "core/Cp1254.h"
#include "instruments/LevelDump.h"
#include "instruments/LevelLoggerCommands.h"

namespace korvel {

using namespace levellogger;

std::optional<LevelText> levelText(const Bytes& reply, int levelUnitCode) {
    const ByteReader in(reply);
    auto digits = [&in](std::initializer_list<std::size_t> positions) {
        std::string text;
        for (const std::size_t p : positions)
            text += std::to_string(in.u8(p));
        return text;
    };
    if (levelUnitCode == 1)
        return LevelText{digits({4, 3, 2, 1}), " mm"};
    if (levelUnitCode == 10)
        return LevelText{digits({5, 4, 3, 2}), " cm"};
    return std::nullopt;
}

OleDate loggerDate(int day, int month, int year) {
    int fullYear = loggerYear(year);
    const int monthIndex = month - 1;
    fullYear += monthIndex >= 0 ? monthIndex / 12 : -((11 - monthIndex) / 12);
    const int normalMonth = ((monthIndex % 12) + 12) % 12 + 1;
    return OleDate::fromDate(fullYear, normalMonth, 1).plusDays(day - 1);
}

int remainingDays(int usedBytes, int intervalMinutes) {
    const int block = dayBlockSize(intervalMinutes);
    return (static_cast<int>(kRingSize) - usedBytes) / block;
}

std::string batteryGauge(int remaining) {
    std::string gauge;
    const double step = static_cast<double>(kBatteryLife) / 24;
    for (double i = remaining; i <= kBatteryLife; i += step)
        gauge += "I";
    return gauge;
}

bool showCommonReply(Sheet& fields, std::uint8_t readByte, const Bytes& reply, const Locale& locale) {
    const ByteReader in(reply);
    auto text8 = [&in] {
        std::string bytes;
        for (std::size_t i = 1; i <= kTextLength; ++i)
            bytes.push_back(static_cast<char>(in.u8(i)));
        return cp1254ToUtf8(bytes);
    };
    switch (readByte) {
    case kTime:
        fields.setText("Text2", locale.longTime(OleDate::fromTime(in.u8(2), in.u8(1), 0)));
        return true;
    case kDate:
        fields.setText("Text3", locale.shortDate(loggerDate(in.u8(1), in.u8(2), in.u8(3))));
        return true;
    case kStationName:
        fields.setText("Text5", text8());
        return true;
    case kStationNumber:
        fields.setText("Text6", text8());
        return true;
    case kRiverName:
        fields.setText("Text7", text8());
        return true;
    case kBattery: {
        const int remaining = kBatteryLife - (in.u8(5) * 256 + in.u8(4));
        fields.setText("Label8", std::string(kBatteryLifeText) + std::to_string(remaining) +
                                     std::string(kBatteryDaysText));
        fields.setText("Text10", batteryGauge(remaining));
        return true;
    }
    default:
        return false;
    }
}

void LevelLoggerView::showReply(std::uint8_t readByte, const Bytes& reply, const Locale& locale) {
    if (showCommonReply(fields, readByte, reply, locale))
        return;
    const ByteReader in(reply);
    switch (readByte) {
    case kLevel:
        if (const auto level = levelText(reply, levelUnitCode)) {
            fields.setText("Text1", level->digits);
            fields.setText("Text8", level->unit);
        }
        break;
    case kInterval:
        intervalMinutes = intervalMinutesOfCode(in.u8(1));
        fields.setText("Text4", std::to_string(intervalMinutes));
        break;
    case kMemoryUsed:
        if (intervalMinutes > 0) {
            const int used = in.u8(1) * 256 + in.u8(2);
            fields.setText("Label9", std::string(kRemainingDaysText) +
                                         std::to_string(remainingDays(used, intervalMinutes)));
        }
        break;
    case kUnitCode:
        levelUnitCode = in.u8(1);
        break;
    default:
        break;
    }
}

} // namespace korvel
