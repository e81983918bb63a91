#include "app/AppOptions.h"
#include "app/MainWindow.h"
#include "platform/SettingsStore.h"
#include "ui/common/AppContext.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvel2000"));

    const korvel::AppOptions options =
        korvel::parseAppOptions(QApplication::arguments(), korvel::AppEnvironment::fromProcess());
    QTextStream err(stderr);
    if (options.help) {
        QTextStream(stdout) << korvel::kUsage;
        return 0;
    }
    if (!options.error.isEmpty()) {
        err << "korvel2000: " << options.error << "\n" << korvel::kUsage;
        return 1;
    }

    korvel::SettingsStore settings;
    korvel::AppContext context{korvel::Paths(options.drive), options.locale, &settings};
    korvel::MainWindow window(context);
    window.start();
    window.show();
    return QApplication::exec();
}
