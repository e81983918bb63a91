#include "ui/instruments/StationNumberPrompt.h"

#include "instruments/LevelConversion.h"
#include "platform/Dialogs.h"

namespace korvel {

std::optional<std::string> confirmStationNumber(QWidget* parent, const std::string& loggerNumber,
                                                const std::string& defaultNumber) {
    const QString prompt =
        QString::fromUtf8(kConfirmStationPrompt.data(), qsizetype(kConfirmStationPrompt.size()));
    const QString title =
        QString::fromUtf8(kConfirmStationTitle.data(), qsizetype(kConfirmStationTitle.size())) +
        QString::fromStdString(loggerNumber);
    const auto answer = askText(parent, prompt, QString::fromStdString(defaultNumber), title);
    if (!answer || answer->isEmpty())
        return std::nullopt;
    return answer->toStdString();
}

} // namespace korvel
