#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace korvel {

bool installQtTranslations(QCoreApplication& application, const Locale& locale) {
    if (!(locale == Locale::turkish()))
        return false;
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    QLocale::setDefault(turkish);
    // "qt" is the catalogue that pulls in qtbase and the other modules' texts.
    auto* translator = new QTranslator(&application);
    if (!translator->load(turkish, QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace korvel
