#include "platform/SettingsStore.h"

#include <QDir>
#include <QSettings>
#include <memory>

namespace korvel {

namespace {

const QString kStationSection = QStringLiteral("dosya");
const QString kStationKey = QStringLiteral("path");
const QString kComSection = QStringLiteral("com");
const QString kPortKey = QStringLiteral("port");
const QString kSpeedKey = QStringLiteral("hiz");

const QString kWindowSection = QStringLiteral("pencere");
const QString kMainWindowKey = QStringLiteral("anapencere");

QString keyPath(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

std::unique_ptr<QSettings> open(const QString& directory, const QString& application) {
    if (directory.isEmpty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application);
    return std::make_unique<QSettings>(QDir(directory).filePath(application + QStringLiteral(".ini")),
                                       QSettings::IniFormat);
}

} // namespace

SettingsStore::SettingsStore(QString directory) : directory_(std::move(directory)) {}

QString SettingsStore::value(const QString& application, const QString& section, const QString& key,
                             const QString& fallback) const {
    const auto settings = open(directory_, application);
    return settings->value(keyPath(section, key), fallback).toString();
}

void SettingsStore::setValue(const QString& application, const QString& section, const QString& key,
                             const QString& text) {
    const auto settings = open(directory_, application);
    settings->setValue(keyPath(section, key), text);
    settings->sync();
}

QString SettingsStore::lastStationPath() const {
    return value(kKorvel, kStationSection, kStationKey);
}

void SettingsStore::setLastStationPath(const QString& path) {
    setValue(kKorvel, kStationSection, kStationKey, path);
}

QString SettingsStore::mainWindowPlacement() const {
    return value(kKorvel, kWindowSection, kMainWindowKey);
}

void SettingsStore::setMainWindowPlacement(const QString& placement) {
    setValue(kKorvel, kWindowSection, kMainWindowKey, placement);
}

QString SettingsStore::comPort(const QString& application) const {
    return value(application, kComSection, kPortKey);
}

void SettingsStore::setComPort(const QString& port, const QString& application) {
    setValue(application, kComSection, kPortKey, port);
}

QString SettingsStore::comSpeed(const QString& application) const {
    return value(application, kComSection, kSpeedKey);
}

void SettingsStore::setComSpeed(const QString& speed, const QString& application) {
    setValue(application, kComSection, kSpeedKey, speed);
}

QString SettingsStore::comDevice(int port) const {
    return value(kKorvel, kComSection, QStringLiteral("device%1").arg(port));
}

QString SettingsStore::location(const QString& application) const {
    return open(directory_, application)->fileName();
}

} // namespace korvel
