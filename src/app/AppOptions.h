#pragma once

#include "core/Locale.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

namespace korvel {

// What the command line and the environment choose: the drive root the fixed "c:\..." paths
// resolve against and the locale of numbers and dates.
struct AppOptions {
    std::filesystem::path drive;
    Locale locale;
    bool help = false;
    QString error; // a one-line reason when the arguments cannot be used
};

struct AppEnvironment {
    QString drive;  // KORVEL_DRIVE
    QString locale; // KORVEL_LOCALE
    QString lcAll;
    QString lcNumeric;
    QString lang;
    QString home;

    static AppEnvironment fromProcess();
};

inline const QString kUsage =
    QStringLiteral("Kullanım: korvel2000 [--drive KLASÖR] [--locale AD]\n"
                   "  --drive KLASÖR  \"c:\\\" yerine geçen klasör (KORVEL_DRIVE; yoksa ev klasörü)\n"
                   "  --locale AD     sayı ve tarih biçimi, örneğin tr_TR veya en_US (KORVEL_LOCALE)\n");

// Reads "--drive DIR", "--drive=DIR", "--locale NAME", "--locale=NAME" and "--help"; the
// first argument is the program. Options beat the environment. An unknown option, a missing
// value, a drive that is not a directory and an unknown locale name are errors.
AppOptions parseAppOptions(const QStringList& arguments, const AppEnvironment& environment);

} // namespace korvel
