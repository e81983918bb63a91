#include "ui/journal/AppJournal.h"

#include "platform/Dialogs.h"

#include <QStringList>

namespace korvel {

AppJournal::AppJournal(std::function<QString()> screenName, QWidget* dialogParent)
    : writer_(
          [screenName = std::move(screenName)] {
              const QString screen = screenName ? screenName() : QString();
              return ("korvel2000" + (screen.isEmpty() ? QString() : QStringLiteral(": ") + screen))
                  .toStdString();
          },
          [dialogParent](const std::filesystem::path&, const std::string& reason) {
              return askYesNo(
                  dialogParent,
                  QStringLiteral("Değişiklik günlüğü yazılamıyor:\n%1\n\nDeğişiklik günlüğe yazılmadan, "
                                 "geri alınamayacak biçimde yapılsın mı?")
                      .arg(QString::fromStdString(reason)));
          }),
      installed_(&writer_) {}

void settleStationJournal(QWidget* parent, const std::filesystem::path& stationDir) {
    QStringList lines;
    try {
        for (const std::string& line : recoverInterruptedChanges(stationDir))
            lines.append(QString::fromStdString(line));
    } catch (const std::exception& e) {
        lines.append(QString::fromStdString(e.what()));
    }
    if (!lines.isEmpty())
        showMessage(parent, QStringLiteral("Yarıda kalmış değişiklikler:\n") + lines.join(QLatin1Char('\n')));
}

} // namespace korvel
