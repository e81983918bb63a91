#pragma once

#include "instruments/SerialLink.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The stored port choice: application "korvel2000" (the rain logger screen: "suvak2000"),
// section "com", keys "port" ("Com3") and "hiz" ("19200"). A key never written is empty.
struct PortSettings {
    std::string port;
    std::string speed;
};

// The port number of a port text: the numeric value of its 4th character ("Com4" gives 4,
// "Com12" gives 1, "Com" gives 0).
int portNumberOf(std::string_view portText);

// A device path ("/dev/ttyUSB0", "\\.\COM10") rather than a port text.
bool isDevicePath(std::string_view portText);

// Where port n leads when it is not named by a device path: the override of the environment
// (KORVEL_COM<n>) or the settings store (korvel2000/com/device<n>), else nothing.
using PortDeviceOverride = std::function<std::optional<std::string>(int port)>;

// The device a port text opens: a device path as it stands; "Com" and a digit n as COMn on
// Windows, elsewhere the override of port n or /dev/ttyS<n-1>. Port 0 has no device (empty).
std::string portDevice(std::string_view portText, const PortDeviceOverride& override = {});

// The KORVEL_COM<n> environment variable, when set and not empty.
std::optional<std::string> environmentPortDevice(int port);

// "Secili comm port uygun deyil": the selected port cannot be opened.
inline constexpr std::string_view kPortUnsuitable = "Secili comm port uygun deyil";

// The check an instrument screen makes of its port when it is activated: line "19200,n,8,1",
// the stored port (when one is stored), then open and close at once. Gives the message to show
// when the port cannot be opened.
std::optional<std::string> probePort(SerialLink& link, std::string_view storedPort);

} // namespace korvel
