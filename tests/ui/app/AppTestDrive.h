#pragma once

#include "DemoDrive.h"
#include "platform/SettingsStore.h"
#include "ui/common/AppContext.h"

#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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

    // Leaves only the demo's water years 2003 and 2004, for tests that walk the file lists of a
    // station by position.
    void keepRecentYearsOnly() const {
        std::vector<std::filesystem::path> older;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dataRoot())) {
            const std::string name = entry.path().filename().string();
            const std::string extension = entry.path().extension().string();
            if ((extension == ".ard" || extension == ".yrd") && name.substr(0, 4) < "2003")
                older.push_back(entry.path());
        }
        for (const auto& file : older)
            std::filesystem::remove(file);
    }
    SettingsStore& settings() const { return *settings_; }

private:
    QTemporaryDir driveDir_;
    QTemporaryDir settingsDir_;
    std::unique_ptr<SettingsStore> settings_;
    AppContext context_;
};

} // namespace korvel::test
