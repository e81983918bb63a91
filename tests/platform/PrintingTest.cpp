#include "platform/Printing.h"

#include "platform/HiddenWhile.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using korvel::PageFit;

namespace {

struct PdfSummary {
    bool valid = false;
    int pages = 0;
    QSizeF mediaBox; // of the first page, in points
};

PdfSummary readPdf(const QString& fileName) {
    QFile file(fileName);
    PdfSummary summary;
    if (!file.open(QIODevice::ReadOnly))
        return summary;
    const QByteArray bytes = file.readAll();
    summary.valid = bytes.startsWith("%PDF");
    const QString text = QString::fromLatin1(bytes);
    summary.pages = static_cast<int>(text.count(QRegularExpression("/Type\\s*/Page(?![s])")));
    const QRegularExpressionMatch box =
        QRegularExpression("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)").match(text);
    if (box.hasMatch())
        summary.mediaBox = QSizeF(box.captured(1).toDouble(), box.captured(2).toDouble());
    return summary;
}

QByteArray fileBytes(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A window of the given size in pixels with one visible label.
std::unique_ptr<QWidget> makeWindow(int width, int height) {
    auto window = std::make_unique<QWidget>();
    window->resize(width, height);
    auto* layout = new QVBoxLayout(window.get());
    auto* label = new QLabel(QString::fromUtf8("Yıllık akım tablosu"), window.get());
    label->setObjectName("Label1");
    layout->addWidget(label);
    window->show();
    return window;
}

// Records the hide and show events of a widget.
class VisibilityLog : public QObject {
public:
    QStringList events;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide)
            events << "hide";
        if (event->type() == QEvent::Show)
            events << "show";
        return false;
    }
};

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(pdfDir_.isValid());
        qputenv("KORVEL_PRINT_PDF", pdfDir_.filePath("application.pdf").toUtf8());
    }

    void anImageThatFitsIsPrintedAtItsSizeUpright() {
        const PageFit fit = korvel::fitOnPage({6, 4}, {8, 10.5});
        QCOMPARE(fit.orientation, QPageLayout::Portrait);
        QCOMPARE(fit.scale, 1.0);
    }

    void aWideImageTurnsThePageWhenThatShowsItLarger() {
        const PageFit fit = korvel::fitOnPage({12, 6}, {8, 10.5});
        QCOMPARE(fit.orientation, QPageLayout::Landscape);
        QCOMPARE(fit.scale, 10.5 / 12);
    }

    void aTallImageShrinksUpright() {
        const PageFit fit = korvel::fitOnPage({5, 20}, {8, 10.5});
        QCOMPARE(fit.orientation, QPageLayout::Portrait);
        QCOMPARE(fit.scale, 10.5 / 20);
    }

    void aWindowPrintsToAOnePagePdf() {
        const auto window = makeWindow(400, 300);
        const QString file = pdfDir_.filePath("window.pdf");
        QVERIFY(korvel::printWindowToPdf(window.get(), file));
        const PdfSummary pdf = readPdf(file);
        QVERIFY(pdf.valid);
        QCOMPARE(pdf.pages, 1);
        QVERIFY(pdf.mediaBox.height() > pdf.mediaBox.width());
    }

    void aWideWindowPrintsOnALandscapePage() {
        const auto window = makeWindow(1400, 500);
        const QString file = pdfDir_.filePath("wide.pdf");
        QVERIFY(korvel::printWindowToPdf(window.get(), file));
        const PdfSummary pdf = readPdf(file);
        QCOMPARE(pdf.pages, 1);
        QVERIFY(pdf.mediaBox.width() > pdf.mediaBox.height());
    }

    void printingNothingOrToAnUnwritableFileFails() {
        QVERIFY(!korvel::printWindowToPdf(nullptr, pdfDir_.filePath("none.pdf")));
        const auto window = makeWindow(200, 100);
        QVERIFY(!korvel::printWindowToPdf(window.get(), pdfDir_.filePath("missing/dir/x.pdf")));
    }

    // A print that fails leaves the file that was there, and no temporary file beside it.
    void aFailedPrintKeepsTheOldPdf() {
        QDir dir(pdfDir_.filePath("keep"));
        QVERIFY(dir.mkpath("."));
        const QString file = dir.filePath("kept.pdf");
        const auto window = makeWindow(200, 100);
        QVERIFY(korvel::printWindowToPdf(window.get(), file));
        const QByteArray before = fileBytes(file);
        QVERIFY(!korvel::printToPdf(file, [](QPrinter& printer) {
            QPainter painter(&printer);
            painter.drawText(10, 10, QStringLiteral("yarım"));
            return false;
        }));
        QCOMPARE(fileBytes(file), before);
        QCOMPARE(dir.entryList(QDir::Files), QStringList{QStringLiteral("kept.pdf")});
    }

    void theApplicationPrinterFollowsThePdfVariable() {
        QPrinter& printer = korvel::applicationPrinter();
        QCOMPARE(&printer, &korvel::applicationPrinter());
        QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
        QCOMPARE(printer.outputFileName(), pdfDir_.filePath("application.pdf"));

        const auto window = makeWindow(300, 200);
        QVERIFY(korvel::printWindow(window.get()));
        QCOMPARE(readPdf(pdfDir_.filePath("application.pdf")).pages, 1);
    }

    void controlsLeftOutOfAPrintAreShownAgain() {
        const auto window = makeWindow(300, 200);
        auto* list = new QLabel("liste", window.get());
        auto* alreadyHidden = new QLabel("gizli", window.get());
        alreadyHidden->hide();
        list->show();
        VisibilityLog log;
        list->installEventFilter(&log);

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfDir_.filePath("without.pdf"));
        QVERIFY(korvel::printWindowWithout(window.get(), {list, alreadyHidden, nullptr}, printer));

        QCOMPARE(log.events, QStringList({"hide", "show"}));
        QVERIFY(list->isVisible());
        QVERIFY(alreadyHidden->isHidden());
        QCOMPARE(readPdf(pdfDir_.filePath("without.pdf")).pages, 1);
    }

    void hiddenWhileSurvivesADeletedWidget() {
        const auto window = makeWindow(100, 100);
        auto* grid = new QLabel("grid", window.get());
        grid->show();
        {
            const korvel::HiddenWhile hidden({grid});
            QVERIFY(grid->isHidden());
            delete grid;
        }
        QVERIFY(window->isVisible());
    }

private:
    QTemporaryDir pdfDir_;
};

QTEST_MAIN(PrintingTest)
#include "PrintingTest.moc"
