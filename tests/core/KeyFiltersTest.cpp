#include "core/KeyFilters.h"

#include <gtest/gtest.h>
#include <string>

using namespace korvel;
using Move = KeyOutcome::Move;

namespace {

KeyOutcome edited(std::string text, Move move = Move::None) {
    return KeyOutcome{std::move(text), false, move, true};
}
KeyOutcome beeped(std::string text) {
    return KeyOutcome{std::move(text), true, Move::None, true};
}
KeyOutcome untouched(std::string text) {
    return KeyOutcome{std::move(text), false, Move::None, false};
}

// Types the keys one after another into a cell, as a user would.
template <typename Rule> std::string typed(Rule rule, std::u32string_view keys, std::string cell = "") {
    for (char32_t key : keys)
        cell = rule(cell, key).text;
    return cell;
}

} // namespace

TEST(KeyFilters, LevelSheetReadings) {
    const CellPosition reading{5, 1};
    EXPECT_EQ(levelSheetKey("12", U'3', reading), edited("123"));
    EXPECT_EQ(levelSheetKey("0", U'7', reading), edited("7"));
    EXPECT_EQ(levelSheetKey("1", U':', {5, 2}), edited("1:"));
    // A fifth character beeps and leaves the cell unchanged.
    EXPECT_EQ(levelSheetKey("1234", U'5', reading), beeped("1234"));
    EXPECT_EQ(levelSheetKey("123", kKeyBackspace, reading), edited("12"));
    EXPECT_EQ(levelSheetKey("", kKeyBackspace, reading), edited(""));
    EXPECT_EQ(levelSheetKey("12", U',', reading), untouched("12"));
    EXPECT_EQ(levelSheetKey("12", U'.', reading), untouched("12"));
    EXPECT_EQ(levelSheetKey("12", U'a', reading), untouched("12"));
    EXPECT_EQ(levelSheetKey("0", kKeyEnter, {32, 2}), edited("0", Move::NextRow));
    EXPECT_EQ(levelSheetKey("5", kKeyEnter, {33, 1}), edited("5"));
    // The date and mean columns take no keys.
    EXPECT_EQ(levelSheetKey("118", U'1', {5, 3}), untouched("118"));
    EXPECT_EQ(levelSheetKey("01.10.2003", kKeyBackspace, {5, 0}), untouched("01.10.2003"));
    EXPECT_EQ(typed([](auto c, auto k) { return levelSheetKey(c, k, {2, 1}); }, U"012345"), "1234");
}

TEST(KeyFilters, HqTableAndPeriodGrids) {
    // Typing 12.5 enters 12,5.
    EXPECT_EQ(typed([](auto c, auto k) { return hqTableKey(c, k, {4, 3}); }, U"12.5"), "12,5");
    EXPECT_EQ(hqTableKey("0", U'4', {4, 3}), edited("4"));
    EXPECT_EQ(hqTableKey("0", U',', {4, 3}), edited(","));
    EXPECT_EQ(hqTableKey("12345,67", U'8', {4, 3}), beeped("12345,67"));
    EXPECT_EQ(hqTableKey("12,5", kKeyBackspace, {4, 3}), edited("12,"));
    EXPECT_EQ(hqTableKey("12", U'/', {4, 3}), untouched("12"));
    EXPECT_EQ(hqTableKey("12", U'x', {4, 3}), untouched("12"));
    EXPECT_EQ(hqTableKey("12", kKeyEnter, {98, 3}), edited("12", Move::NextRow));
    EXPECT_EQ(hqTableKey("12", kKeyEnter, {99, 3}), edited("12"));

    // A leading "0" is replaced by the next character, as a cell holding "0" is emptied first.
    EXPECT_EQ(typed([](auto c, auto k) { return hqTableKey(c, k, {4, 3}); }, U"0.5"), ",5");
    EXPECT_EQ(typed([](auto c, auto k) { return hqPeriodKey(c, k, {1, 0}); }, U"01/10/2003"), "1/10/2003");
    EXPECT_EQ(typed([](auto c, auto k) { return hqPeriodKey(c, k, {1, 0}); }, U"15.10.2003"), "15,10,2003");
    EXPECT_EQ(hqPeriodKey("01/10/2003", U'1', {1, 1}), beeped("01/10/2003"));
    EXPECT_EQ(hqPeriodKey("01/10/200", U'3', {1, 1}), edited("01/10/2003"));
    EXPECT_EQ(hqPeriodKey("", kKeyEnter, {14, 0}), edited("", Move::NextRow));
    // The period grid ends at row 15; Enter stays there.
    EXPECT_EQ(hqPeriodKey("", kKeyEnter, {15, 0}), edited(""));
}

TEST(KeyFilters, MonthlyFlowTable) {
    const CellPosition level{3, 1};
    const CellPosition time{3, 2};
    EXPECT_EQ(monthlyFlowKey("00:00:00", U'8', time), edited("8"));
    EXPECT_EQ(monthlyFlowKey("0", U'1', {3, 5}), edited("1"));
    EXPECT_EQ(monthlyFlowKey("8:00:0", U'0', time), edited("8:00:00"));
    EXPECT_EQ(monthlyFlowKey("8:00:00", U'1', {3, 4}), beeped("8:00:00"));
    EXPECT_EQ(monthlyFlowKey("16:00:00", U'1', time), beeped("16:00:00"));
    EXPECT_EQ(monthlyFlowKey("12", U'3', level), edited("123"));
    EXPECT_EQ(monthlyFlowKey("123", U'4', {3, 3}), beeped("123"));
    EXPECT_EQ(monthlyFlowKey("12", U':', level), edited("12:"));
    EXPECT_EQ(monthlyFlowKey("123", kKeyBackspace, level), edited("12"));
    // Enter empties a zero cell, then moves down while the row is below 31.
    EXPECT_EQ(monthlyFlowKey("00:00:00", kKeyEnter, {30, 2}), edited("", Move::NextRow));
    EXPECT_EQ(monthlyFlowKey("120", kKeyEnter, {30, 1}), edited("120", Move::NextRow));
    EXPECT_EQ(monthlyFlowKey("120", kKeyEnter, {31, 1}), edited("120"));
    EXPECT_EQ(monthlyFlowKey("12", U',', level), untouched("12"));
    EXPECT_EQ(monthlyFlowKey("12", U'.', level), untouched("12"));
    for (int column : {0, 6, 7, 8, 9})
        EXPECT_EQ(monthlyFlowKey("0", U'5', {3, column}), untouched("0")) << column;
}

TEST(KeyFilters, YearbookExtremesBlock) {
    EXPECT_EQ(yearbookExtremesKey("0", U'1', {3, 1}), edited("1"));
    EXPECT_EQ(yearbookExtremesKey("0", U',', {3, 1}), edited(","));
    EXPECT_EQ(yearbookExtremesKey("12", U'.', {3, 1}), edited("12."));
    EXPECT_EQ(yearbookExtremesKey("12", U',', {3, 1}), edited("12,"));
    EXPECT_EQ(yearbookExtremesKey("15.11", U'.', {3, 2}), edited("15.11."));
    EXPECT_EQ(yearbookExtremesKey("123456789012", U'3', {4, 1}), edited("1234567890123"));
    EXPECT_EQ(yearbookExtremesKey("12", kKeyBackspace, {3, 1}), edited("1"));
    EXPECT_EQ(yearbookExtremesKey("0", kKeyEnter, {3, 1}), edited("", Move::NextRow));
    EXPECT_EQ(yearbookExtremesKey("5", kKeyEnter, {4, 1}), edited("5"));
    EXPECT_EQ(yearbookExtremesKey("5", U'a', {3, 1}), untouched("5"));
    EXPECT_EQ(yearbookExtremesKey("Anlık", U'1', {3, 0}), untouched("Anlık"));
}

TEST(KeyFilters, MeasurementCard) {
    // Typing 1, 2, comma, 5 in the width column shows 12.5.
    EXPECT_EQ(typed([](auto c, auto k) { return measurementCardKey(c, k, {1, 2}); }, U"12,5"), "12.5");
    EXPECT_EQ(typed(
                  [](auto c, auto k) {
                      return measurementCardKey(c, k, {1, 1});
                  },
                  U"Ayşe Öztürk"),
              "Ayşe Öztürk");
    EXPECT_EQ(measurementCardKey("00:00:00", U'1', {1, 0}), edited("1"));
    EXPECT_EQ(measurementCardKey("0", U'a', {1, 7}), edited("a"));
    EXPECT_EQ(measurementCardKey("0", kKeyBackspace, {1, 7}), edited(""));
    EXPECT_EQ(measurementCardKey("Ağrı", kKeyBackspace, {1, 9}), edited("Ağr"));
    EXPECT_EQ(measurementCardKey("12", kKeyEnter, {1, 3}), edited("12", Move::NextColumn));
    EXPECT_EQ(measurementCardKey("12", kKeyEnter, {1, 11}), edited("12", Move::FirstColumnSameRow));
    EXPECT_EQ(measurementCardKey("0", kKeyEnter, {1, 11}), edited("", Move::FirstColumnSameRow));
    // Control keys and characters the card cannot store are not entered.
    EXPECT_EQ(measurementCardKey("ab", 27, {1, 9}), untouched("ab"));
    EXPECT_EQ(measurementCardKey("ab", U'中', {1, 9}), untouched("ab"));
    EXPECT_EQ(measurementCardKey("ab", 0x8D, {1, 9}), untouched("ab"));
    EXPECT_EQ(measurementCardKey("ab", U'€', {1, 9}), edited("ab€"));
}

TEST(KeyFilters, WaterYearFromMonthlyTotals) {
    // A total typed with a dot is entered with a comma.
    EXPECT_EQ(typed([](auto c, auto k) { return monthlyTotalsKey(c, k, {1, 0}); }, U"2.678"), "2,678");
    EXPECT_EQ(monthlyTotalsKey("0", U'3', {1, 4}), edited("3"));
    EXPECT_EQ(monthlyTotalsKey("0", U',', {1, 4}), edited(","));
    EXPECT_EQ(monthlyTotalsKey("12345,67", U'8', {1, 4}), beeped("12345,67"));
    EXPECT_EQ(monthlyTotalsKey("2,6", kKeyBackspace, {1, 4}), edited("2,"));
    EXPECT_EQ(monthlyTotalsKey("0", kKeyEnter, {1, 10}), edited("", Move::NextColumn));
    EXPECT_EQ(monthlyTotalsKey("2", kKeyEnter, {1, 11}), edited("2"));
    EXPECT_EQ(monthlyTotalsKey("2", U'-', {1, 4}), untouched("2"));
}

TEST(KeyFilters, RainfallAndBasinGrids) {
    for (auto rule : {&dailyRainKey, &basinTableKey}) {
        EXPECT_EQ(typed(rule, U"0,3"), "0.3");
        EXPECT_EQ(typed(rule, U"1.5"), "1.5");
        EXPECT_EQ(rule("12", U':'), edited("12:"));
        EXPECT_EQ(rule("0", U'5'), edited("05"));
        EXPECT_EQ(rule("0,3", kKeyBackspace), edited("0,"));
        EXPECT_EQ(rule("", kKeyBackspace), edited(""));
        EXPECT_EQ(rule("12", kKeyEnter), untouched("12"));
        EXPECT_EQ(rule("12", U'x'), untouched("12"));
        EXPECT_EQ(rule("12", U'-'), untouched("12"));
    }
}

TEST(KeyFilters, BoxFilters) {
    EXPECT_EQ(stationBoxKey(U','), U'.');
    EXPECT_EQ(stationBoxKey(U'ş'), U'ş');
    EXPECT_EQ(stationBoxKey(kKeyBackspace), kKeyBackspace);

    EXPECT_EQ(stationDialBoxKey(U'7'), U'7');
    EXPECT_FALSE(stationDialBoxKey(kKeyBackspace));
    EXPECT_FALSE(stationDialBoxKey(U'-'));
    EXPECT_FALSE(stationDialBoxKey(U'+'));

    EXPECT_EQ(fillValueBoxKey(U'.'), U',');
    EXPECT_EQ(fillValueBoxKey(U','), U',');
    EXPECT_EQ(fillValueBoxKey(U'4'), U'4');
    EXPECT_EQ(fillValueBoxKey(U':'), U':');
    EXPECT_EQ(fillValueBoxKey(kKeyBackspace), kKeyBackspace);
    // Typing "x" enters "0".
    EXPECT_EQ(fillValueBoxKey(U'x'), U'0');
    EXPECT_EQ(fillValueBoxKey(kKeyEnter), U'0');
}
