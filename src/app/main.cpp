#include "app/AppOptions.h"
#include "app/MainWindow.h"
#include "platform/QtTranslations.h"
#include "platform/SettingsStore.h"
#include "ui/common/AppContext.h"
#include "ui/journal/AppJournal.h"

#include <QApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTextStream>
#include <cstdlib>

namespace {

// On X11/Wayland systems Qt stops the program with its own message when there is no screen;
// say plainly what is missing instead.
bool hasDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return true;
    }
    return false;
#else
    return true;
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int k = 0; k < argc; ++k)
        arguments.append(QString::fromLocal8Bit(argv[k]));
    const korvel::AppOptions options =
        korvel::parseAppOptions(arguments, korvel::AppEnvironment::fromProcess());
    if (options.help) {
        QTextStream(stdout) << korvel::kUsage;
        return 0;
    }
    QTextStream err(stderr);
    if (!options.error.isEmpty()) {
        err << "korvel2000: " << options.error << "\n" << korvel::kUsage;
        return 1;
    }
    if (!hasDisplay()) {
        err << "korvel2000: ekran bulunamadı (DISPLAY boş). Programı bir masaüstü oturumunda başlatın; "
               "pencere göstermeden denemek için QT_QPA_PLATFORM=offscreen kullanın.\n";
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvel2000"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/korvel2000.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("korvel2000"));
    korvel::installQtTranslations(application, options.locale);
    korvel::SettingsStore settings;
    korvel::AppContext context{korvel::Paths(options.drive), options.locale, &settings};
    korvel::MainWindow window(context);
    // Changes are journaled under the title of the screen that makes them.
    const korvel::AppJournal journal(
        [&window] {
            if (const QWidget* modal = QApplication::activeModalWidget())
                return modal->windowTitle();
            const QMdiSubWindow* active = window.mdiArea()->activeSubWindow();
            return active != nullptr ? active->windowTitle() : QString();
        },
        &window);
    window.start();
    window.show();
    return QApplication::exec();
}
