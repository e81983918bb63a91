#pragma once

#include "core/Locale.h"

class QCoreApplication;

namespace korvel {

// Gives Qt's own texts (the buttons of message boxes, the file, print and preview dialogs) in
// Turkish when the program's locale is Turkish, from the translations Qt installs with the
// system. Returns whether a translation was installed; without one Qt keeps its English texts.
bool installQtTranslations(QCoreApplication& application, const Locale& locale);

} // namespace korvel
