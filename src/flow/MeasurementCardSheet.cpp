#include "flow/MeasurementCardSheet.h"

#include "core/Numbers.h"

#include <algorithm>
#include <string>

namespace korvel {

namespace {

struct CardColumn {
    const char* heading;
    int width; // twips; 0 keeps the grid's default
};

constexpr CardColumn kColumns[] = {
    {" Tarih", 0},
    {"    Ölçüyü yapan", 2000},
    {"Genişlik(m)", 0},
    {"Kesit alan(m2)", 1100},
    {"Ort. hız(m/sn)", 1100},
    {"Eşel seviyesi(mm)", 1300},
    {"Akım(l/sn)", 1200},
    {"Ölçüm şekli)", 1200},
    {"Ölçünün değeri", 1200},
    {"      Açıklama", 2000},
    {"Hata (%)", 800},
    {"Şift(mm)", 800},
};

std::string number(float value) {
    return generalNumber32(value, '.');
}

} // namespace

std::string cardFieldText(std::string_view field) {
    std::string text(field);
    std::replace(text.begin(), text.end(), '\0', ' ');
    return text;
}

std::string measurementCardHeading(int column) {
    return column >= 0 && column < 12 ? kColumns[column].heading : "";
}

Table measurementCardTable(const std::vector<MeasurementCard>& records, const Locale& locale) {
    Table table(kMeasurementCardRows, 12, 1, 0);
    for (int c = 0; c < 12; ++c) {
        table.setCell(0, c, kColumns[c].heading);
        if (kColumns[c].width > 0)
            table.setColumnWidth(c, kColumns[c].width);
    }
    const int shown = std::min<int>(static_cast<int>(records.size()), kMeasurementCardRows - 1);
    for (int r = 1; r <= shown; ++r) {
        const MeasurementCard& card = records[static_cast<std::size_t>(r - 1)];
        table.setCell(r, 0, locale.shortDate(card.measurementDate));
        table.setCell(r, 1, cardFieldText(card.measuredBy));
        table.setCell(r, 2, number(card.sectionWidth));
        table.setCell(r, 3, number(card.sectionArea));
        table.setCell(r, 4, number(card.meanVelocity));
        table.setCell(r, 5, std::to_string(card.gaugeLevel));
        table.setCell(r, 6, number(card.measuredDischarge));
        table.setCell(r, 7, cardFieldText(card.measurementMethod));
        table.setCell(r, 8, cardFieldText(card.measurementGrade));
        table.setCell(r, 9, cardFieldText(card.remark));
        table.setCell(r, 10, std::to_string(card.errorPercent));
        table.setCell(r, 11, std::to_string(card.shiftMm));
    }
    return table;
}

Sheet measurementCardSheet(const std::vector<MeasurementCard>& records, const Locale& locale) {
    Sheet sheet;
    sheet.caption = "Ölçü kayıt kartı";
    sheet.setTable("MSFlexGrid1", measurementCardTable(records, locale));
    return sheet;
}

} // namespace korvel
