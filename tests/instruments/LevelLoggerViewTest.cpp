#include "instruments/LevelLoggerView.h"

#include "ScriptedLogger.h"
#include "instruments/LevelLoggerSettings.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

LevelLoggerView viewWithUnit(int unit) {
    LevelLoggerView view;
    view.showReply(0x0B, bytesOf({0x0B, unit}), Locale::turkish());
    return view;
}

} // namespace

TEST(LoggerReplies, LevelDigitsFollowTheUnitCode) {
    const Bytes reply = bytesOf({0x99, 5, 4, 3, 2, 1});
    LevelLoggerView mm = viewWithUnit(1);
    EXPECT_EQ(mm.levelUnitCode, 1);
    mm.showReply(0x01, reply, Locale::turkish());
    EXPECT_EQ(mm.fields.text("Text1"), "2345");
    EXPECT_EQ(mm.fields.text("Text8"), " mm");

    LevelLoggerView cm = viewWithUnit(10);
    cm.showReply(0x01, reply, Locale::turkish());
    EXPECT_EQ(cm.fields.text("Text1"), "1234");
    EXPECT_EQ(cm.fields.text("Text8"), " cm");

    // Another unit code leaves the fields as they were.
    LevelLoggerView other = viewWithUnit(3);
    other.fields.setText("Text1", "0000");
    other.showReply(0x01, reply, Locale::turkish());
    EXPECT_EQ(other.fields.text("Text1"), "0000");
    EXPECT_FALSE(other.fields.hasText("Text8"));
}

TEST(LoggerReplies, ADigitAboveNineShowsAsItsNumber) {
    LevelLoggerView view = viewWithUnit(1);
    view.showReply(0x01, bytesOf({1, 0, 12, 0, 1, 0}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Text1"), "10120");
}

TEST(LoggerReplies, TimeAndDateInTheLocaleForms) {
    LevelLoggerView view;
    view.showReply(0x02, bytesOf({2, 5, 14}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Text2"), "14:05:00");
    view.showReply(0x03, bytesOf({3, 15, 3, 26}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Text3"), "15.03.2026");
    view.showReply(0x03, bytesOf({3, 1, 12, 30}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Text3"), "01.12.1930");
    view.showReply(0x03, bytesOf({3, 31, 12, 29}), Locale::american());
    EXPECT_EQ(view.fields.text("Text3"), "12/31/2029");
    view.showReply(0x02, bytesOf({2, 5, 14}), Locale::american());
    EXPECT_EQ(view.fields.text("Text2"), "2:05:00 PM");
}

TEST(LoggerReplies, ImpossibleDatesRollOverAsDatePartsDo) {
    EXPECT_EQ(loggerDate(31, 2, 4).dateText(), "02.03.2004");
    EXPECT_EQ(loggerDate(0, 1, 4).dateText(), "31.12.2003");
    EXPECT_EQ(loggerDate(1, 13, 99).dateText(), "01.01.2000");
    EXPECT_EQ(loggerDate(1, 0, 4).dateText(), "01.12.2003");
}

TEST(LoggerReplies, IntervalCodeZeroIsOneMinute) {
    LevelLoggerView view;
    view.showReply(0x04, bytesOf({4, 0}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Text4"), "1");
    EXPECT_EQ(view.intervalMinutes, 1);
    view.showReply(0x04, bytesOf({4, 6}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Text4"), "30");
    view.showReply(0x04, bytesOf({4, 144}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Text4"), "720");
}

TEST(LoggerReplies, RemainingDaysCountDayBlocksInTheFreeRing) {
    LevelLoggerView view;
    view.showReply(0x04, bytesOf({4, 3}), Locale::turkish());
    view.showReply(0x06, bytesOf({6, 0, 0}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Label9"), "Limnigraf Kaydedilebilecek kalan gün sayısı 160");
    view.showReply(0x06, bytesOf({6, 0x7E, 0xD4}), Locale::turkish()); // 32468 used
    EXPECT_EQ(view.fields.text("Label9"), "Limnigraf Kaydedilebilecek kalan gün sayısı 0");
    EXPECT_EQ(remainingDays(0, 1), 32512 / 2891);
    EXPECT_EQ(remainingDays(0, 720), 32512 / 15);
}

TEST(LoggerReplies, BatteryLifeAndGauge) {
    LevelLoggerView view;
    view.showReply(0x0A, bytesOf({10, 0, 0, 0, 0, 0}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Label8"), "  PİL ÖMRÜ  1600..Gün");
    EXPECT_EQ(view.fields.text("Text10"), "I");
    // 1000 uses: byte 4 low, byte 5 high.
    view.showReply(0x0A, bytesOf({10, 0, 0, 0, 0xE8, 0x03}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Label8"), "  PİL ÖMRÜ  600..Gün");
    EXPECT_EQ(view.fields.text("Text10"), std::string(15, 'I')); // 600, 666.7, ... up to 1600
    EXPECT_EQ(batteryGauge(0), std::string(24, 'I'));
    EXPECT_EQ(batteryGauge(1601), "");
}

TEST(LoggerReplies, TextsAreEightCp1254Characters) {
    LevelLoggerView view;
    view.showReply(0x07, bytesOf({7, 0xC7, 'A', 'Y', 0xDD, 'R', ' ', ' ', ' '}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Text5"), "ÇAYİR   ");
    view.showReply(0x08, bytesOf({8, '0', '1', '-', '0', '0', '1', ' ', ' '}), Locale::turkish());
    EXPECT_EQ(view.fields.text("Text6"), "01-001  ");
    view.showReply(0x09, bytesOf({9, 'S', 'U'}), Locale::turkish()); // short: zeros after
    EXPECT_EQ(view.fields.text("Text7"), std::string("SU") + std::string(6, '\0'));
}

TEST(LoggerSettings, LevelAnswerIsSentLowDigitFirst) {
    EXPECT_EQ(levelSetting("0123", 1)->data, bytesOf({3, 2, 1, 0, 0}));
    EXPECT_EQ(levelSetting("0123", 10)->data, bytesOf({0, 3, 2, 1, 0}));
    EXPECT_EQ(levelSetting("", 1)->data, bytesOf({0, 0, 0, 0, 0}));
    EXPECT_EQ(levelSetting("", 10)->data, bytesOf({0, 0, 0, 0, 0}));
    EXPECT_EQ(levelSetting("98765", 10)->data, bytesOf({5, 6, 7, 8, 9})); // only five characters count
    EXPECT_EQ(levelSetting("12", 1)->data, bytesOf({0, 0, 2, 1, 0}));
    const auto command = levelSetting("0123", 1);
    EXPECT_EQ(command->writeByte, 0x11);
    EXPECT_EQ(command->readByte, 0x01);
    EXPECT_EQ(command->replyLength, 6u);
}

TEST(LoggerSettings, LevelAnswerWithANonDigitIsRefused) {
    EXPECT_FALSE(levelSetting("12a4", 1));
    EXPECT_FALSE(levelSetting("1,5", 10));
    EXPECT_FALSE(levelSetting("ş", 1));
    // A non-digit beyond the characters sent does not matter.
    EXPECT_TRUE(levelSetting("1234x", 1));
}

TEST(LoggerSettings, TimeIsSentMinuteFirst) {
    const auto command = timeSetting("14:05");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->writeByte, 0x12);
    EXPECT_EQ(command->data, bytesOf({5, 14}));
    EXPECT_EQ(timeSetting("09:30:15")->data, bytesOf({30, 9}));
    EXPECT_FALSE(timeSetting(""));
    EXPECT_FALSE(timeSetting("9:30"));
    EXPECT_FALSE(timeSetting("saat"));
    EXPECT_FALSE(timeSetting("25:00"));
}

TEST(LoggerSettings, DateSendsDayMonthAndYearInCentury) {
    EXPECT_EQ(dateSetting("01/01/2000")->data, bytesOf({1, 1, 0}));
    EXPECT_EQ(dateSetting("15.03.2026")->data, bytesOf({15, 3, 26}));
    EXPECT_EQ(dateSetting("15.03.2026")->writeByte, 0x13);
    EXPECT_FALSE(dateSetting(""));
    EXPECT_FALSE(dateSetting("15.3.2026"));
    EXPECT_FALSE(dateSetting("31.02.2026"));
}

TEST(LoggerSettings, IntervalsOfTheList) {
    const std::pair<const char*, int> table[] = {{"1", 0},    {"2", 0},    {"5", 1},    {"10", 2},
                                                 {"15", 3},   {"30", 6},   {"60", 12},  {"120", 24},
                                                 {"240", 48}, {"360", 72}, {"720", 144}};
    for (const auto& [answer, code] : table) {
        const IntervalSetting s = intervalSetting(answer);
        ASSERT_EQ(s.answer, IntervalAnswer::Accepted) << answer;
        EXPECT_EQ(s.command.data, bytesOf({code})) << answer;
        EXPECT_EQ(s.command.writeByte, 0x14);
    }
    EXPECT_EQ(intervalSetting("7").answer, IntervalAnswer::NotListed);
    EXPECT_EQ(intervalSetting("15.5").answer, IntervalAnswer::NotListed);
    EXPECT_EQ(intervalSetting("1e9").answer, IntervalAnswer::NotListed);
    EXPECT_EQ(intervalSetting("").answer, IntervalAnswer::Unusable);
    EXPECT_EQ(intervalSetting("on").answer, IntervalAnswer::Unusable);
}

TEST(LoggerSettings, TextsAreFollowedByEightSpaces) {
    const SettingCommand name = textSetting(0x07, "ABC");
    EXPECT_EQ(name.writeByte, 0x17);
    EXPECT_EQ(name.data.size(), 11u);
    EXPECT_EQ(name.data, bytesOf({'A', 'B', 'C', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '}));
    EXPECT_EQ(name.replyLength, 9u);
    EXPECT_EQ(textSetting(0x09, "Çay").data,
              bytesOf({0xC7, 'a', 'y', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '}));
    EXPECT_EQ(textSetting(0x08, "").data, Bytes(8, ' '));
}

TEST(LoggerSettings, UnitToggle) {
    EXPECT_EQ(toggledUnitCode(0), 1);
    EXPECT_EQ(toggledUnitCode(1), 10);
    EXPECT_EQ(toggledUnitCode(10), 1);
    const SettingCommand toggle = unitToggle(10);
    EXPECT_EQ(toggle.writeByte, 0x1B);
    EXPECT_EQ(toggle.readByte, 0x01);
    EXPECT_EQ(toggle.data, bytesOf({1}));
    EXPECT_EQ(toggle.replyLength, 6u);
}
