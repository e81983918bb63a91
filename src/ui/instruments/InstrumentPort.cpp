#include "ui/instruments/InstrumentPort.h"

#include "platform/PortDevices.h"
#include "platform/QtSerialLink.h"

namespace korvel {

LinkWorker::LinkFactory storedPortLink(const AppContext& context, const QString& application) {
    SettingsStore* settings = context.settings;
    return [settings, application]() -> std::unique_ptr<SerialLink> {
        auto link = std::make_unique<QtSerialLink>(portDeviceOverride(settings));
        link->setLineSettings(kInstrumentLine);
        const QString port = settings ? settings->comPort(application) : QString();
        if (!port.isEmpty())
            link->setPort(port.toStdString());
        return link;
    };
}

LinkWorker::ClockFactory steadyClock() {
    return [] { return std::make_unique<SteadyClock>(); };
}

} // namespace korvel
