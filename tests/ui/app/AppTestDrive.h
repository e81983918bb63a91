#pragma once

#include "DemoDrive.h"
#include "platform/SettingsStore.h"
#include "ui/common/AppContext.h"

#include <QTemporaryDir>
#include <filesystem>
#include <memory>

namespace korvel::test {

// A temporary drive for the screens: empty, or holding the demo stations, with a settings
// store of its own.
class TestDrive {
public:
    explicit TestDrive(bool demo) {
        if (demo)
            demo::writeDemoDrive(drive());
        settings_ = std::make_unique<SettingsStore>(settingsDir_.path());
        context_.paths = Paths(drive());
        context_.settings = settings_.get();
    }

    std::filesystem::path drive() const { return std::filesystem::path(driveDir_.path().toStdString()); }
    std::filesystem::path dataRoot() const { return drive() / "korvel2000"; }
    std::filesystem::path station(const std::string& number) const {
        return dataRoot() / "Ankara" / "01" / number;
    }
    const AppContext& context() const { return context_; }
    SettingsStore& settings() const { return *settings_; }

private:
    QTemporaryDir driveDir_;
    QTemporaryDir settingsDir_;
    std::unique_ptr<SettingsStore> settings_;
    AppContext context_;
};

} // namespace korvel::test
