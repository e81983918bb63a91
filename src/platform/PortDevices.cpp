#include "platform/PortDevices.h"

#include "platform/SettingsStore.h"

namespace korvel {

PortDeviceOverride portDeviceOverride(const SettingsStore* settings) {
    return [settings](int port) -> std::optional<std::string> {
        if (auto device = environmentPortDevice(port))
            return device;
        if (settings != nullptr) {
            const QString device = settings->comDevice(port);
            if (!device.isEmpty())
                return device.toStdString();
        }
        return std::nullopt;
    };
}

} // namespace korvel
