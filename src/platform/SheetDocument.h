#pragma once

#include "core/Sheet.h"
#include "platform/Printing.h"

#include <QSizeF>

class QPagedPaintDevice;
class QPainter;
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace korvel {

// A Sheet printed as a report: the caption as heading, the texts as lines (after their labels) and
// every grid as a ruled table with its heading rows. Sizes are in points (1/72 inch) at the
// report's natural size, before any scaling to the paper.
namespace report {
constexpr double kCaptionSize = 11.0;
constexpr double kCellSize = 8.0;
constexpr double kCaptionHeight = 18.0;
constexpr double kLineHeight = 11.0;
constexpr double kRowHeight = 12.0;
constexpr double kCellPadding = 3.0;
constexpr double kBlockGap = 8.0;
constexpr double kMinimumColumn = 12.0;
// A sheet that fits on one page at this scale or more is shrunk onto that page; a larger one
// keeps its width-fitting scale and runs on over further pages.
constexpr double kOnePageScale = 0.6;
} // namespace report

// The width of a text in points at the cell size, bold for heading cells and the caption
// (whose size the caller scales by kCaptionSize / kCellSize).
using TextWidth = std::function<double(const std::string& text, bool bold)>;

// One piece of a page: the caption, one text line, or the rows [firstRow, endRow) of a grid
// drawn at `top` below its first `headingRows` rows, which head every page the grid runs on.
struct ReportBlock {
    enum class Kind { Caption, Text, Rows };
    Kind kind = Kind::Caption;
    int index = 0; // of the text or the grid, in the order of the sheet
    int firstRow = 0;
    int endRow = 0;
    int headingRows = 0;
    double top = 0.0;
};

struct ReportPage {
    std::vector<ReportBlock> blocks;
};

// Where everything of one sheet goes: the orientation and scale of its pages, the width of
// every column of every grid (0 for a hidden column) and the pages in order.
struct SheetPlan {
    PageFit fit;
    QSizeF natural; // width and height of the whole report at scale 1
    std::vector<std::vector<double>> columnWidths;
    std::vector<ReportPage> pages;
};

// Numbers (digits with separators and a sign) are right-aligned in the grids.
bool isNumberCell(const std::string& text);

// Lays out a sheet on pages whose printable area is `portraitPoints` when upright.
SheetPlan planSheet(const Sheet& sheet, const TextWidth& width, QSizeF portraitPoints);

// Writes the sheets into one PDF file, each starting on a new page, in DejaVu Sans so that
// Turkish letters come out. The file is written whole through a temporary file, or not at all.
// Throws FileError when the file cannot be written and std::runtime_error when nothing could
// be rendered.
void writeSheetsPdf(const std::vector<Sheet>& sheets, const std::filesystem::path& file);

// Prints the sheets as the same report on a printer (or the printer of a preview): vector text
// that can be selected in a PDF, every page at the layout of writeSheetsPdf. False when nothing
// could be printed (no sheets, or the printer is not ready).
bool printSheets(const std::vector<Sheet>& sheets, QPrinter& printer);

// The same for a program without an application object: it creates a QGuiApplication for the
// time of the rendering, on the offscreen platform unless QT_QPA_PLATFORM names another.
void writeSheetsPdfHeadless(const std::vector<Sheet>& sheets, const std::filesystem::path& file);

// For documents that frame the pages of sheets with their own header and footer: the width of
// a text in the report's fonts on the device, and one planned page painted at the painter's
// origin (the painter's units being points, the plan's scale applied here).
TextWidth reportTextWidth(QPagedPaintDevice& device);
void paintSheetPage(QPainter& painter, QPagedPaintDevice& device, const Sheet& sheet, const SheetPlan& plan,
                    const ReportPage& page);

// Runs the work with a QGuiApplication, creating one (offscreen unless QT_QPA_PLATFORM names
// another platform) for the time of the work when the program has none.
void withGuiApplication(const std::function<void()>& work);

} // namespace korvel
