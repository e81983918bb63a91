#pragma once

#include "ui/station/CurrentStation.h"

#include <QDate>
#include <QString>
#include <filesystem>
#include <optional>

class QWidget;

namespace korvel {

inline const QString kWaterYearPrompt = QStringLiteral("Lütfen oluşturulacak su yılını giriniz");
inline const QString kRainYearPrompt = QStringLiteral("Yeni su yılını gririniz");
inline const QString kNoStationMessage = QStringLiteral("Lütfen istasyon secimin yapınız");

// The year the water-year prompt proposes: the year of the station's last water-year file
// plus one, or the current year when the station has none.
QString proposedWaterYear(const std::filesystem::path& stationDir, const QDate& today);

// "Yeni su yılı ekle": asks for the water year and creates its file in the current station's
// directory, then lists the station's files again. An answer that is not a year, a cancelled
// prompt and a file that exists already end the command silently. Returns the new file.
std::optional<std::filesystem::path> addWaterYear(QWidget* parent, StationHub& station,
                                                  const QDate& today = QDate::currentDate());

// "Yeni Su Yılı Ekle": asks for the end year of the water year and creates the rainfall-year
// file of the current station; a refused answer or an existing file is reported. Returns the
// new file.
std::optional<std::filesystem::path> addRainYear(QWidget* parent, StationHub& station);

} // namespace korvel
