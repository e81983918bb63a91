#include "ui/card/MeasurementCardScreen.h"

#include "core/FileIO.h"
#include "platform/ScriptedDialogs.h"
#include "store/MeasurementCard.h"
#include "common/ScratchDirectory.h"
#include "ui/common/AppContext.h"
#include "ui/common/GridView.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <memory>

using namespace korvel;

namespace {

AppContext context(const std::filesystem::path& drive) {
    AppContext c;
    c.paths = Paths(drive);
    c.locale = Locale::turkish();
    return c;
}

// Each character as the keyboard delivers it, Turkish letters included.
void type(GridView* grid, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(grid, &press);
    }
}

void enter(GridView* grid) {
    QTest::keyClick(grid, Qt::Key_Return);
}

} // namespace

class MeasurementCardScreenTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        scratch_ = std::make_unique<testing::ScratchDirectory>();
        hub_.state.stationDir = scratch_->path();
        hub_.state.record.stationNumber = "01-001  ";
        dialogs_.clear();
    }
    void cleanup() { scratch_.reset(); }

    void newCardIsKeyedAndSavedThroughTheDeferredCommand() {
        const DialogProviderScope scope(dialogs_);
        MeasurementCardScreen screen(context(scratch_->path()), hub_);
        screen.show();
        QCOMPARE(screen.objectName(), QString("OLCOKAYITKARTI"));
        QCOMPARE(screen.windowTitle(), QString::fromUtf8("Ölçü kayıt kartı"));
        auto* grid = screen.findChild<GridView*>("MSFlexGrid1");
        QVERIFY(grid != nullptr);
        QCOMPARE(grid->table().rows(), 1000);
        QCOMPARE(grid->cell(0, 7), std::string("Ölçüm şekli)"));
        QCOMPARE(grid->cell(1, 0), std::string());

        grid->setCurrentCell(1, 0);
        const QStringList cells = {"15.03.2004", "Ayşe Demir", "12,5", "3.25",  "0.8", "212",
                                   "2640,5",     "Muline",     "İyi",  "kesit", "4",   "-3"};
        for (const QString& cell : cells) {
            type(grid, cell);
            enter(grid);
        }
        // Enter in column 11 went back to column 0 of the same row.
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), 0);
        QCOMPARE(grid->cell(1, 2), std::string("12.5"));
        QCOMPARE(grid->cell(1, 6), std::string("2640.5"));

        QAction* save = screen.windowMenu()->findChild<QAction*>("olcukkaydetn");
        QVERIFY(save != nullptr);
        QCOMPARE(save->text(), QString::fromUtf8("Ölçü kayıt kartını kaydet"));
        save->trigger();
        QVERIFY(screen.savePending());
        const auto card = scratch_->path() / "01-001.olc";
        QVERIFY(!std::filesystem::exists(card));
        QTRY_VERIFY(!screen.savePending());
        const auto records = parseMeasurementCardFile(*readFileBytes(card));
        QCOMPARE(records.size(), std::size_t(1));
        QCOMPARE(records[0].measurementDate, OleDate::fromDate(2004, 3, 15));
        QCOMPARE(records[0].sectionWidth, 12.5F);
        QCOMPARE(records[0].measuredDischarge, 2640.5F);
        QCOMPARE(records[0].shiftMm, std::int16_t(-3));
        QVERIFY(dialogs_.messages().isEmpty());
    }

    void cellThatDoesNotConvertIsNamedAndTheRowStillSaved() {
        const DialogProviderScope scope(dialogs_);
        MeasurementCard first;
        first.measurementDate = OleDate::fromDate(2003, 5, 4);
        first.measuredBy = "Ahmet";
        writeMeasurementRow(scratch_->path() / "01-001.olc", 1, first);
        writeMeasurementRow(scratch_->path() / "01-001.olc", 2, first);

        MeasurementCardScreen screen(context(scratch_->path()), hub_);
        auto* grid = screen.findChild<GridView*>("MSFlexGrid1");
        QCOMPARE(grid->cell(1, 1).substr(0, 5), std::string("Ahmet"));
        QCOMPARE(grid->cell(2, 0), std::string("04.05.2003"));
        grid->setCurrentCell(5, 0);
        type(grid, "31.02.2004");
        enter(grid);
        type(grid, "Veli");
        screen.save();
        QTRY_VERIFY(!screen.savePending());
        QCOMPARE(dialogs_.messages().size(), qsizetype(1));
        QVERIFY(dialogs_.messages().front().startsWith(QString::fromUtf8("Satır 5: Tarih, Genişlik(m)")));
        const Bytes bytes = *readFileBytes(scratch_->path() / "01-001.olc");
        QCOMPARE(bytes.size(), std::size_t(5 * 170));
        QVERIFY(std::all_of(bytes.begin() + 2 * 170, bytes.begin() + 4 * 170,
                            [](std::uint8_t b) { return b == 0; }));
        const auto records = parseMeasurementCardFile(bytes);
        QVERIFY(records[4].measurementDate.isEmpty());
        QCOMPARE(records[4].measuredBy.substr(0, 4), std::string("Veli"));
    }

    void withoutStationNothingIsWritten() {
        const DialogProviderScope scope(dialogs_);
        hub_.state.stationDir.clear();
        MeasurementCardScreen screen(context(scratch_->path()), hub_);
        screen.findChild<GridView*>("MSFlexGrid1")->setCurrentCell(1, 0);
        screen.saveMeasurementRow();
        QCOMPARE(dialogs_.messages(), QStringList{QString::fromUtf8("Lütfen istasyon secimin yapınız")});
        QVERIFY(std::filesystem::is_empty(scratch_->path()));
    }

    void rowGoesToTheCardThatWasLoaded() {
        const DialogProviderScope scope(dialogs_);
        MeasurementCardScreen screen(context(scratch_->path()), hub_);
        const auto other = scratch_->path() / "other";
        std::filesystem::create_directories(other);
        hub_.state.stationDir = other; // the station screen moved on meanwhile
        auto* grid = screen.findChild<GridView*>("MSFlexGrid1");
        grid->setCurrentCell(1, 0);
        type(grid, "01.06.2004");
        screen.saveMeasurementRow();
        QVERIFY(std::filesystem::exists(scratch_->path() / "01-001.olc"));
        QVERIFY(std::filesystem::is_empty(other));
    }

    void closeCommandClosesTheWindow() {
        MeasurementCardScreen screen(context(scratch_->path()), hub_);
        screen.show();
        QAction* close = screen.windowMenu()->findChild<QAction*>("olcukakapat");
        QCOMPARE(close->text(), QString::fromUtf8("Ölçü kayıt kartını kapat"));
        QCOMPARE(screen.windowMenu()->title(), QString::fromUtf8("Ölçü kayıt kartı"));
        close->trigger();
        QVERIFY(!screen.isVisible());
    }

private:
    std::unique_ptr<testing::ScratchDirectory> scratch_;
    MemoryStationHub hub_;
    ScriptedDialogs dialogs_;
};

QTEST_MAIN(MeasurementCardScreenTest)
#include "MeasurementCardScreenTest.moc"
