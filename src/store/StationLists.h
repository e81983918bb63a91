#pragma once

#include "core/Cp1254.h"
#include "core/Numbers.h"

#include <array>
#include <string_view>

namespace korvel {

// The region drop-down of the station screen, in order, each name with one trailing space.
inline constexpr std::array<std::string_view, 11> kRegionList = {
    "Atatürk ", "Ankara ",    "Ankara T.G ", "Eskişehir ", "Konya ", "Samsun ",
    "Erzurum ", "ŞanlıUrfa ", "Menemen ",    "Tarsus ",    "Tokat "};

// The month drop-down: the months of the water year in water-year order.
inline constexpr std::array<std::string_view, 12> kMonthList = {
    "10.ay  Ekim",  "11.ay  Kasım", "12.ay  Aralık",  "01.ay  Ocak",   "02.ay  Şubat",   "03.ay  Mart",
    "04.ay  Nisan", "05.ay  Mayıs", "06.ay  Haziran", "07.ay  Temmuz", "08.ay  Agustos", "09.ay  Eylül"};

// The month number of a month list item: the numeric value of its first two characters.
inline int monthNumberOfItem(std::string_view text) {
    return static_cast<int>(roundHalfEven(numericValue(utf8Left(text, 2))));
}

} // namespace korvel
