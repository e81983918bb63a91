#pragma once

#include "common/ScratchDirectory.h"
#include "platform/ScriptedDialogs.h"
#include "store/StationRecord.h"
#include "ui/common/AppContext.h"
#include "ui/station/CurrentStation.h"
#include "ui/transfer/FileSystemLists.h"

#include <QTest>
#include <filesystem>

namespace korvel::testing {

// A scratch drive for the transfer screens: the directory of station 01-001 made, the drive's paths
// on the context and scripted boxes. open() makes the station current once its files are in place.
struct TransferDrive {
    ScratchDirectory root;
    std::filesystem::path station = root / "korvel2000" / "Ankara" / "01" / "01-001";
    AppContext context;
    MemoryStationHub hub;
    ScriptedDialogs dialogs;
    DialogProviderScope scope{dialogs};

    TransferDrive() {
        std::filesystem::create_directories(station);
        context.paths = Paths(root.path());
    }
    void open() { hub.setStationDirectory(station); }
    // A station record holding only the number "01-001  ".
    void saveStationNumber() const {
        StationRecord record;
        record.stationNumber = "01-001  ";
        saveStationRecordFile(station, record);
    }
};

// The control of that name on the screen; the test stops when there is none.
template <typename T> T* child(QWidget& screen, const char* name) {
    T* widget = screen.findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr)
        qFatal("no control %s", name);
    return widget;
}

// Clicks the list's item of that name.
inline void clickFile(FileList* list, const QString& name) {
    const auto items = list->findItems(name, Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.front()).center());
}

} // namespace korvel::testing
