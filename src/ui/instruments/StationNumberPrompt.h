#pragma once

#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace korvel {

// The confirmation of the station number before logger readings are written into a station's
// water years: the prompt "Su   Yıllığa    kayıt   için ...", the window title "Limnigraftaki
// istasyon numarası  " followed by the number the logger (or the texts file) holds, and the
// current station's number as the default answer. Nothing when the answer is empty or cancelled.
std::optional<std::string> confirmStationNumber(QWidget* parent, const std::string& loggerNumber,
                                                const std::string& defaultNumber);

} // namespace korvel
