#pragma once

#include "ui/common/AppContext.h"
#include "ui/instruments/LinkWorker.h"

#include <QString>

namespace korvel {

// The serial link of an instrument screen: QSerialPort at "19200,n,8,1" on the port stored under
// `application`/"com"/"port" (nothing stored: Com1), the device of a "Com" port found through
// KORVEL_COM<n> or the settings key "korvel2000"/"com"/"device<n>". The stored port is read each
// time a link is made, so a change on the port settings screen counts from the next command.
LinkWorker::LinkFactory storedPortLink(const AppContext& context,
                                       const QString& application = SettingsStore::kKorvel);
// The steady clock of the machine.
LinkWorker::ClockFactory steadyClock();

} // namespace korvel
