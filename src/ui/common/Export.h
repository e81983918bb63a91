#pragma once

#include "core/Locale.h"
#include "core/Sheet.h"
#include "core/Table.h"

#include <QList>
#include <QString>
#include <filesystem>
#include <utility>

class QPrinter;
class QWidget;

namespace korvel {

// A window whose print command leaves some of its controls out of the printout prints itself
// here, so that the preview and the PDF show what the print command prints.
class PrintedWindow {
public:
    virtual bool printOn(QPrinter& printer) = 0;

protected:
    ~PrintedWindow() = default;
};

// A table screen that prints, previews, saves as PDF and exports as CSV its report: the sheet it
// shows with every edit made on the screen, rendered as text and ruled tables rather than as the
// window image.
class ReportWindow {
public:
    virtual Sheet reportSheet() const = 0;

protected:
    ~ReportWindow() = default;
};

// What the window's print command puts on the page: the report of a ReportWindow, printOn() of
// a PrintedWindow, otherwise the window image.
bool printAsShown(QWidget* window, QPrinter& printer);

// The print commands' companions: a print preview of the window image, the window image saved
// as a PDF file, and the window's grids saved as CSV files.

// "Baskı önizleme": a preview of what the print command sends to the printer, from which the
// user can print. Opens without a nested event loop and returns the dialog.
QWidget* previewWindow(QWidget* window, QWidget* parent);

// "PDF olarak kaydet": asks for the file name, then writes the window image there. False when
// cancelled or not written.
bool saveWindowAsPdf(QWidget* window, QWidget* parent);

// The grids of a window by their control names, in the order they were made.
QList<std::pair<QString, Table>> windowGrids(QWidget* window);

// Writes each grid to `<base>.csv` (one grid) or `<base>_<grid name>.csv` (several). Returns the
// files written; a file that could not be written is left out.
QList<QString> saveGridsAsCsv(const QList<std::pair<QString, Table>>& grids,
                              const std::filesystem::path& base, const Locale& locale);

// Writes a report as CSV: its grids as saveGridsAsCsv does, and its texts (label; value) into
// `<base>_texts.csv`. Returns the files written.
QList<QString> saveSheetAsCsv(const Sheet& sheet, const std::filesystem::path& base, const Locale& locale);

// "CSV olarak kaydet": asks for the file name, then saveSheetAsCsv of a ReportWindow's report, or
// saveGridsAsCsv of another window's grids.
bool saveWindowGridsAsCsv(QWidget* window, QWidget* parent, const Locale& locale);

// For windows that no menu prints: "Yazdır", "Baskı önizleme", "PDF olarak kaydet" and, with a
// locale (a window with grids), "CSV olarak kaydet" as the window's own context menu.
void addExportMenu(QWidget* window, const Locale* locale = nullptr);

} // namespace korvel
