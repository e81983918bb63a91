#pragma once

#include "core/Locale.h"
#include "core/Paths.h"
#include "platform/SettingsStore.h"

namespace korvel {

// What every screen is built with: the drive root, the locale of numbers and dates, and
// the settings store. Dialogs go through platform/Dialogs.h.
struct AppContext {
    Paths paths{Paths::defaultDriveRoot()};
    Locale locale;
    SettingsStore* settings = nullptr;
};

} // namespace korvel
