#pragma once

#include "DemoDrive.h"
#include "core/FileIO.h"
#include "ui/common/AppContext.h"
#include "ui/common/GridView.h"
#include "ui/station/CurrentStation.h"

#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <memory>

namespace korvel::test {

// A demo drive in a temporary directory with station 01-001 chosen on a station hub, its
// water year 2004 selected, as the station screen would leave it.
struct DemoStation {
    QTemporaryDir drive;
    AppContext context;
    MemoryStationHub hub;
    std::filesystem::path dir;

    DemoStation() {
        const std::filesystem::path root = drive.path().toStdString();
        demo::writeDemoDrive(root);
        context.paths = Paths(root);
        context.locale = Locale::turkish();
        dir = context.paths.dataRoot() / "Ankara" / "01" / "01-001";
        hub.setStationDirectory(dir);
        hub.selectFlowFile("2004_01-001.ard");
        hub.selectHqFile("02_01-001.HQ");
    }

    std::filesystem::path flowFile() const { return dir / "2004_01-001.ard"; }
    Bytes bytesOf(const std::filesystem::path& file) const { return *readFileBytes(file); }

    // A PDF printer writing into the drive directory.
    std::unique_ptr<QPrinter> pdfPrinter(const QString& name) const {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(drive.filePath(name));
        return printer;
    }
};

inline GridView* gridOf(QWidget* screen, const char* name) {
    return screen->findChild<GridView*>(name);
}

// Types text into the grid's current cell after selecting it, as the user does.
inline void typeInto(GridView* grid, int row, int column, const QString& keys, int backspaces = 0) {
    grid->setCurrentCell(row, column);
    for (int i = 0; i < backspaces; ++i)
        QTest::keyClick(grid, Qt::Key_Backspace);
    QTest::keyClicks(grid, keys);
}

// Presses the mouse on one cell and releases it on another.
inline void dragCells(GridView* grid, int fromRow, int fromColumn, int toRow, int toColumn) {
    grid->scrollTo(grid->model()->index(fromRow, fromColumn));
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(fromRow, fromColumn).center());
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(toRow, toColumn).center());
}

inline void doubleClickCell(GridView* grid, int row, int column) {
    const QPoint at = grid->cellRect(row, column).center();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// With KORVEL_SCREENSHOTS set to a directory, the screen's image is saved there.
inline void saveScreenshot(QWidget* screen, const QString& name) {
    const QString dir = qEnvironmentVariable("KORVEL_SCREENSHOTS");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    screen->grab().save(dir + "/" + name + ".png");
}

inline bool isPdf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(4) == "%PDF" && f.size() > 1000;
}

} // namespace korvel::test
