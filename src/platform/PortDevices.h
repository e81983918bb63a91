#pragma once

#include "instruments/PortSettings.h"

namespace korvel {

class SettingsStore;

// Where port n leads on this machine: KORVEL_COM<n> when set, else the settings key
// "korvel2000"/"com"/"device<n>" when stored.
PortDeviceOverride portDeviceOverride(const SettingsStore* settings);

} // namespace korvel
