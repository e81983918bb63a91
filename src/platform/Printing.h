#pragma once

#include <QList>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <functional>

class QGraphicsView;
class QPrinter;
class QWidget;

namespace korvel {

// The printer every print command uses. The printer set-up dialog changes it, so later prints
// go where the user chose. When KORVEL_PRINT_PDF names a file, it starts as a PDF printer
// writing that file.
QPrinter& applicationPrinter();

// How a window image of `imageInches` is laid on a page whose printable area is `portraitInches`
// when upright: the orientation that shows the image larger, and the scale (at most 1, so an
// image that fits is printed at its screen size; a larger one shrinks to fit, keeping its aspect).
struct PageFit {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double scale = 1.0;
};
PageFit fitOnPage(QSizeF imageInches, QSizeF portraitInches);

// What a print command says when nothing could be printed.
inline const QString kPrintFailedMessage = QStringLiteral("Yazdırılamadı: yazıcı hazır değil.");
// Shows kPrintFailedMessage over `parent` unless the print command printed.
void reportUnprinted(QWidget* parent, bool printed);

// Prints the window image of `window` as it is shown on the screen, on one page.
// Returns false when nothing could be printed (no window, no printer, unwritable file).
bool printWindow(QWidget* window, QPrinter& printer);
bool printWindow(QWidget* window);

// Prints what the view shows (a chart) on one landscape page as vector graphics: lines and
// text stay sharp and the text selectable in a PDF. The drawing keeps the view's proportions.
bool printGraphicsView(QGraphicsView* view, QPrinter& printer);

// The print commands that leave controls out of the printout: the controls are hidden, the
// window is printed, and those that were visible are shown again.
bool printWindowWithout(QWidget* window, const QList<QWidget*>& hidden, QPrinter& printer);
bool printWindowWithout(QWidget* window, const QList<QWidget*>& hidden);

// Prints through `print` into a PDF file. The pages go to a temporary file beside it that is
// renamed over it at the end, so a failed print leaves the old file (or none), never half a PDF.
bool printToPdf(const QString& fileName, const std::function<bool(QPrinter&)>& print);

// Prints the window image into a PDF file.
bool printWindowToPdf(QWidget* window, const QString& fileName);

// The system printer dialog in set-up mode: chooses the printer and its page settings
// without printing. Returns true when the user accepted.
bool showPrinterSetup(QWidget* parent, QPrinter& printer);
bool showPrinterSetup(QWidget* parent);

} // namespace korvel
