#include "app/AppOptions.h"

#include <QProcessEnvironment>
#include <system_error>

namespace korvel {

AppEnvironment AppEnvironment::fromProcess() {
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    return {env.value(QStringLiteral("KORVEL_DRIVE")), env.value(QStringLiteral("KORVEL_LOCALE")),
            env.value(QStringLiteral("LC_ALL")),       env.value(QStringLiteral("LC_NUMERIC")),
            env.value(QStringLiteral("LANG")),         env.value(QStringLiteral("HOME"))};
}

AppOptions parseAppOptions(const QStringList& arguments, const AppEnvironment& environment) {
    AppOptions options;
    QString drive = environment.drive;
    std::optional<QString> localeName;
    for (qsizetype k = 1; k < arguments.size(); ++k) {
        const QString& argument = arguments[k];
        const auto value = [&](const QString& option) -> std::optional<QString> {
            if (argument.startsWith(option + QLatin1Char('=')))
                return argument.mid(option.size() + 1);
            if (argument != option)
                return std::nullopt;
            if (k + 1 >= arguments.size()) {
                options.error = option + QStringLiteral(" için bir değer gerekli");
                return std::nullopt;
            }
            return arguments[++k];
        };
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            options.help = true;
        } else if (auto text = value(QStringLiteral("--drive"))) {
            drive = *text;
        } else if (auto name = value(QStringLiteral("--locale"))) {
            localeName = *name;
        } else if (options.error.isEmpty()) {
            options.error = QStringLiteral("Bilinmeyen seçenek: ") + argument;
        }
        if (!options.error.isEmpty())
            return options;
    }

    if (drive.isEmpty())
        drive = environment.home;
    options.drive =
        drive.isEmpty() ? std::filesystem::current_path() : std::filesystem::path(drive.toStdString());
    std::error_code ec;
    if (!std::filesystem::is_directory(options.drive, ec)) {
        options.error = QStringLiteral("Sürücü klasörü bulunamadı: ") + drive;
        return options;
    }

    if (localeName) {
        const auto locale = Locale::byName(localeName->toStdString());
        if (!locale) {
            options.error = QStringLiteral("Bilinmeyen yerel ayar: ") + *localeName;
            return options;
        }
        options.locale = *locale;
    } else {
        options.locale = Locale::select(environment.locale.toStdString(), environment.lcAll.toStdString(),
                                        environment.lcNumeric.toStdString(), environment.lang.toStdString());
    }
    return options;
}

} // namespace korvel
