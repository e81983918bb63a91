#include "flow/StationHeader.h"

#include "core/Cp1254.h"

namespace korvel {

std::string instituteHeading(const StationRecord& station) {
    return trimmed(station.regionName) + "  ARAŞTIRMA ENSTİTÜSÜ";
}

void addStationHeader(Sheet& sheet, const StationRecord& station, const Locale& locale) {
    sheet.setText("institute", instituteHeading(station));
    sheet.setText("stationNumber", "İstasyon No.......:   " + station.stationNumber);
    sheet.setText("region", "Bölge No-Adı....:   " + station.regionName);
    sheet.setText("river", "Suyun Adı.........:   " + station.riverName);
    sheet.setText("stationName", "İstasyonun Adı..:   " + station.stationName);
    sheet.setText("area", "Yağış Alanı.......:   " + locale.numberText32(station.drainageArea) + " km2");
    sheet.setText("elevation", "Kot...................:   " + locale.numberText32(station.elevation) + " m.");
    sheet.setText("coordinates", "Koordinat.........:   " + station.coordinates);
}

} // namespace korvel
