#pragma once

#include "core/ByteIO.h"
#include "instruments/KeptDownloads.h"
#include "instruments/LevelConversion.h"
#include "ui/common/AppContext.h"
#include "ui/station/CurrentStation.h"

class QLineEdit;
class QWidget;

namespace korvel {

// A downloaded memory image of the water-level logger on its way into the station's water years:
// written into "c:\korvel96\hamdata.96" (whole or not at all), "Sagım yapıldı" shown in
// `progress`, then converted as convertLevelImage does. A download cut off before `receivedEnd`
// reached the end of the image shows "Sağım eksik kaldı" instead, converts only the days that came
// whole, and says how many were written and how many did not come. True when day records were
// written.
bool storeAndConvertLevelImage(QWidget* screen, const AppContext& context, StationHub& hub,
                               const Bytes& image, QLineEdit* progress, std::size_t receivedEnd = kWholeImage,
                               KeptDownload* kept = nullptr);

// The conversion of an image into the current station's water years, once the user confirmed the
// station number ("KAYITLI TARIH BULUNAMADI" in `progress` when the image holds no day block).
// The station screen's file lists are refreshed. The conversion (the confirmed number, the files
// written, the outcome) is noted in the description of `kept` when given. True when day records
// were written.
bool convertLevelImage(QWidget* screen, const AppContext& context, StationHub& hub, const Bytes& image,
                       QLineEdit* progress, std::size_t receivedEnd = kWholeImage,
                       KeptDownload* kept = nullptr);

} // namespace korvel
