#include "platform/Printing.h"

#include "platform/Dialogs.h"
#include "platform/HiddenWhile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsView>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryFile>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <memory>

namespace korvel {

namespace {

// Keeps the application printer alive exactly as long as the application object.
class PrinterHolder : public QObject {
public:
    explicit PrinterHolder(QObject* parent) : QObject(parent), printer(QPrinter::HighResolution) {
        const QString pdf = qEnvironmentVariable("KORVEL_PRINT_PDF");
        if (!pdf.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        }
    }
    QPrinter printer;
};

double fitScale(QSizeF image, QSizeF page) {
    if (image.width() <= 0 || image.height() <= 0)
        return 1.0;
    return std::min({1.0, page.width() / image.width(), page.height() / image.height()});
}

} // namespace

QPrinter& applicationPrinter() {
    static PrinterHolder* holder = nullptr;
    if (holder == nullptr) {
        holder = new PrinterHolder(QCoreApplication::instance());
        QObject::connect(holder, &QObject::destroyed, [] { holder = nullptr; });
    }
    return holder->printer;
}

PageFit fitOnPage(QSizeF imageInches, QSizeF portraitInches) {
    const double upright = fitScale(imageInches, portraitInches);
    const double sideways = fitScale(imageInches, portraitInches.transposed());
    if (sideways > upright)
        return {QPageLayout::Landscape, sideways};
    return {QPageLayout::Portrait, upright};
}

bool printWindow(QWidget* window, QPrinter& printer) {
    if (window == nullptr)
        return false;
    const QPixmap image = window->grab();
    if (image.isNull())
        return false;

    const double dpiX = std::max(1, window->logicalDpiX());
    const double dpiY = std::max(1, window->logicalDpiY());
    const QSizeF size = image.deviceIndependentSize();
    const QSizeF imageInches(size.width() / dpiX, size.height() / dpiY);

    QPageLayout layout = printer.pageLayout();
    layout.setOrientation(QPageLayout::Portrait);
    const PageFit fit = fitOnPage(imageInches, layout.paintRect(QPageLayout::Inch).size());
    printer.setPageOrientation(fit.orientation);

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double resolution = printer.resolution();
    const QRectF target(0, 0, imageInches.width() * fit.scale * resolution,
                        imageInches.height() * fit.scale * resolution);
    painter.drawPixmap(target, image, QRectF(image.rect()));
    return painter.end();
}

bool printGraphicsView(QGraphicsView* view, QPrinter& printer) {
    if (view == nullptr || view->viewport()->width() <= 0 || view->viewport()->height() <= 0)
        return false;
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect source = view->viewport()->rect();
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(page.width() / source.width(), page.height() / source.height());
    const QRectF target(0, 0, source.width() * scale, source.height() * scale);
    view->render(&painter, target, source, Qt::KeepAspectRatio);
    return painter.end();
}

void reportUnprinted(QWidget* parent, bool printed) {
    if (!printed)
        showMessage(parent, kPrintFailedMessage);
}

bool printWindow(QWidget* window) {
    return printWindow(window, applicationPrinter());
}

bool printWindowWithout(QWidget* window, const QList<QWidget*>& hidden, QPrinter& printer) {
    const HiddenWhile hiddenControls(hidden);
    return printWindow(window, printer);
}

bool printWindowWithout(QWidget* window, const QList<QWidget*>& hidden) {
    return printWindowWithout(window, hidden, applicationPrinter());
}

bool printToPdf(const QString& fileName, const std::function<bool(QPrinter&)>& print) {
    QTemporaryFile part(fileName + QStringLiteral(".XXXXXX"));
    if (!part.open())
        return false;
    part.close();
    bool printed = false;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(part.fileName());
        printed = print(printer);
    } // the printer finishes the file when it goes
    if (!printed || QFileInfo(part.fileName()).size() == 0)
        return false;
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(part.fileName()).toStdString(),
                            QFile::encodeName(fileName).toStdString(), failed);
    if (failed)
        return false;
    part.setAutoRemove(false);
    return true;
}

bool printWindowToPdf(QWidget* window, const QString& fileName) {
    return printToPdf(fileName, [window](QPrinter& printer) { return printWindow(window, printer); });
}

bool showPrinterSetup(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    return dialog.exec() == QDialog::Accepted;
}

bool showPrinterSetup(QWidget* parent) {
    return showPrinterSetup(parent, applicationPrinter());
}

} // namespace korvel
