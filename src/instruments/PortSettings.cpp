#include "instruments/PortSettings.h"

#include "core/Numbers.h"

#include <cstdlib>

namespace korvel {

int portNumberOf(std::string_view portText) {
    if (portText.size() < 4)
        return 0;
    return static_cast<int>(numericValue(portText.substr(3, 1)));
}

bool isDevicePath(std::string_view portText) {
    return portText.find('/') != std::string_view::npos || portText.find('\\') != std::string_view::npos;
}

std::optional<std::string> environmentPortDevice(int port) {
    const std::string name = "KORVEL_COM" + std::to_string(port);
    const char* value = std::getenv(name.c_str());
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}

std::string portDevice(std::string_view portText, const PortDeviceOverride& override) {
    if (isDevicePath(portText))
        return std::string(portText);
    const int n = portNumberOf(portText);
    if (n <= 0)
        return {};
#ifdef _WIN32
    return "COM" + std::to_string(n);
#else
    if (override)
        if (auto device = override(n))
            return *device;
    return "/dev/ttyS" + std::to_string(n - 1);
#endif
}

std::optional<std::string> probePort(SerialLink& link, std::string_view storedPort) {
    link.setLineSettings(kInstrumentLine);
    if (!storedPort.empty())
        link.setPort(storedPort);
    if (!link.open())
        return std::string(kPortUnsuitable);
    link.close();
    return std::nullopt;
}

} // namespace korvel
