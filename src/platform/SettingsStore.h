#pragma once

#include <QString>

namespace korvel {

// The per-user settings store: application, section and key lead to one text value.
// The program uses the native per-user store, one settings set per application name;
// given a directory, the store keeps one INI file per application there instead.
class SettingsStore {
public:
    static inline const QString kKorvel = QStringLiteral("korvel2000");
    static inline const QString kRainLogger = QStringLiteral("suvak2000");

    SettingsStore() = default;
    explicit SettingsStore(QString directory);

    // A key never written reads as `fallback` (the empty text unless given).
    QString value(const QString& application, const QString& section, const QString& key,
                  const QString& fallback = QString()) const;
    void setValue(const QString& application, const QString& section, const QString& key,
                  const QString& text);

    // "korvel2000"/"dosya"/"path": the station directory chosen last.
    QString lastStationPath() const;
    void setLastStationPath(const QString& path);

    // "<application>"/"com"/"port" and "hiz": the port name ("Com3") and the line speed ("19200").
    QString comPort(const QString& application = kKorvel) const;
    void setComPort(const QString& port, const QString& application = kKorvel);
    QString comSpeed(const QString& application = kKorvel) const;
    void setComSpeed(const QString& speed, const QString& application = kKorvel);

    // "korvel2000"/"pencere"/"anapencere": the main window's size and position as the window
    // system saved them (base64), empty until the window was first closed.
    QString mainWindowPlacement() const;
    void setMainWindowPlacement(const QString& placement);

    // "korvel2000"/"com"/"device<n>": the device that stands for port n where ports have no Com names.
    QString comDevice(int port) const;

    // Where the given application's values live (a file path or a native store location).
    QString location(const QString& application) const;

private:
    QString directory_;
};

} // namespace korvel
