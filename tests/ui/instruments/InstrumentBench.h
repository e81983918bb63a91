#pragma once

#include "platform/ScriptedDialogs.h"
#include "ui/common/AppContext.h"
#include "ui/station/CurrentStation.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

namespace korvel::testing {

// What an instrument screen is tested on: a scratch drive in the Turkish locale, a settings store
// of its own with the port (the simulator's pseudo-terminal) stored under `application`, scripted
// boxes, and the current station 01-001 with its directory made.
struct InstrumentBench {
    explicit InstrumentBench(const std::string& port, const QString& application = SettingsStore::kKorvel)
        : settings(dir.path() + "/settings") {
        context.paths = Paths(std::filesystem::path(dir.path().toStdString()) / "drive");
        context.locale = Locale::turkish();
        context.settings = &settings;
        settings.setComPort(QString::fromStdString(port), application);
        hub.state.stationDir = context.paths.dataRoot() / "Ankara" / "01" / "01-001";
        hub.state.record.stationNumber = "01-001  ";
        std::filesystem::create_directories(hub.state.stationDir);
    }

    // The text of the box or label of that name on `screen`; "<none>" when it has neither.
    static QString controlText(const QWidget& screen, const char* name) {
        if (auto* edit = screen.findChild<QLineEdit*>(name))
            return edit->text();
        if (auto* label = screen.findChild<QLabel*>(name))
            return label->text();
        return QStringLiteral("<none>");
    }

    QTemporaryDir dir;
    SettingsStore settings;
    AppContext context;
    MemoryStationHub hub;
    ScriptedDialogs dialogs;
    DialogProviderScope scope{dialogs};
};

} // namespace korvel::testing
