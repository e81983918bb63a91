#include "platform/SheetDocument.h"

#include "common/PdfText.h"
#include "core/FileIO.h"

#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

using namespace korvel;
using korvel::testing::collapseSpaces;
using korvel::testing::pdfPageCount;
using korvel::testing::pdfText;

namespace {

// A4 less 12 mm margins, in points.
const QSizeF kPortrait(527.24, 773.86);

// Five points a character, bold or not: widths that are easy to reckon with.
double fixedWidth(const std::string& text, bool) {
    return 5.0 * static_cast<double>(text.size());
}

// A grid of `rows` x `columns` with one heading row and column, numbers in the body.
Table numberGrid(int rows, int columns) {
    Table table(rows, columns, 1, 1);
    for (int c = 1; c < columns; ++c)
        table.setCell(0, c, "Sütun " + std::to_string(c));
    for (int r = 1; r < rows; ++r) {
        table.setCell(r, 0, "Gün " + std::to_string(r));
        for (int c = 1; c < columns; ++c)
            table.setCell(r, c, std::to_string(r * 100 + c) + ",25");
    }
    return table;
}

Sheet sheetWith(Table table, std::string caption = "Yıllık akım tablosu") {
    Sheet sheet;
    sheet.caption = std::move(caption);
    sheet.setTable("MSFlexGrid1", std::move(table));
    return sheet;
}

std::string lineWith(const std::string& text, const std::string& needle) {
    const auto at = text.find(needle);
    if (at == std::string::npos)
        return {};
    const auto start = text.rfind('\n', at);
    const auto begin = start == std::string::npos ? 0 : start + 1;
    return text.substr(begin, text.find('\n', at) - begin);
}

std::vector<const ReportBlock*> rowBlocks(const SheetPlan& plan) {
    std::vector<const ReportBlock*> blocks;
    for (const ReportPage& page : plan.pages)
        for (const ReportBlock& block : page.blocks)
            if (block.kind == ReportBlock::Kind::Rows)
                blocks.push_back(&block);
    return blocks;
}

} // namespace

class SheetDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void numbersAreTheCellsRightAligned() {
        for (const char* number : {"12", "1.234,56", "-0,5", " 7 ", "+3.5", "01.10.2003"})
            QVERIFY2(isNumberCell(number), number);
        for (const char* text : {"", "   ", "-", ",", "Ekim", "12 m3/s", "1E+15", "12:30"})
            QVERIFY2(!isNumberCell(text), text);
    }

    void smallSheetIsOneUprightPageAtFullSize() {
        Sheet sheet = sheetWith(numberGrid(4, 3));
        sheet.setText("Text1", "01-001");
        sheet.setText("Label2", ""); // empty texts are left out
        const SheetPlan plan = planSheet(sheet, fixedWidth, kPortrait);

        QCOMPARE(plan.fit.orientation, QPageLayout::Portrait);
        QCOMPARE(plan.fit.scale, 1.0);
        QCOMPARE(plan.pages.size(), std::size_t(1));
        const auto& blocks = plan.pages[0].blocks;
        QCOMPARE(blocks.size(), std::size_t(3));
        QCOMPARE(blocks[0].kind, ReportBlock::Kind::Caption);
        QCOMPARE(blocks[1].kind, ReportBlock::Kind::Text);
        QCOMPARE(blocks[1].top, report::kCaptionHeight);
        QCOMPARE(blocks[2].kind, ReportBlock::Kind::Rows);
        QCOMPARE(blocks[2].top, report::kCaptionHeight + report::kLineHeight + report::kBlockGap);
        QCOMPARE(blocks[2].headingRows, 1);
        QCOMPARE(blocks[2].firstRow, 1);
        QCOMPARE(blocks[2].endRow, 4);
        // "Gün 3" is 6 bytes of UTF-8, "Sütun 1" 8 and "301,25" six: each column as wide as its
        // widest cell.
        QCOMPARE(plan.columnWidths[0][0], 5.0 * 6 + 2 * report::kCellPadding);
        QCOMPARE(plan.columnWidths[0][1], 5.0 * 8 + 2 * report::kCellPadding);
    }

    void hiddenColumnsAndEmptyColumnsKeepTheirWidths() {
        Table table = numberGrid(3, 4);
        table.setColumnWidth(2, 0);
        for (int r = 0; r < 3; ++r)
            table.setCell(r, 3, "");
        const SheetPlan plan = planSheet(sheetWith(table), fixedWidth, kPortrait);
        QCOMPARE(plan.columnWidths[0][2], 0.0);
        QCOMPARE(plan.columnWidths[0][3], report::kMinimumColumn);
    }

    void emptyRowsAtTheEndOfAGridAreLeftOff() {
        Table table = numberGrid(6, 3);
        table.resize(1000, 3);
        table.setCell(8, 2, "5"); // an empty row between stays
        Table empty(50, 4, 0, 0);
        Sheet sheet = sheetWith(table);
        sheet.setTable("MSFlexGrid2", empty);
        const auto blocks = rowBlocks(planSheet(sheet, fixedWidth, kPortrait));
        QCOMPARE(blocks.size(), std::size_t(1));
        QCOMPARE(blocks[0]->endRow, 9);
    }

    void wideSheetTurnsSidewaysAndShrinksToFit() {
        // 30 columns of about 50 points: 1500 points, wider than the paper either way.
        const SheetPlan plan = planSheet(sheetWith(numberGrid(10, 30)), fixedWidth, kPortrait);
        QCOMPARE(plan.fit.orientation, QPageLayout::Landscape);
        QVERIFY(plan.natural.width() > kPortrait.height());
        QCOMPARE(plan.fit.scale, kPortrait.height() / plan.natural.width());
        QCOMPARE(plan.pages.size(), std::size_t(1));
    }

    void slightlyLongSheetShrinksOntoOnePage() {
        // 70 rows are 840 points, a little more than the upright page.
        const SheetPlan plan = planSheet(sheetWith(numberGrid(70, 3)), fixedWidth, kPortrait);
        QCOMPARE(plan.pages.size(), std::size_t(1));
        QVERIFY(plan.fit.scale < 1.0);
        QVERIFY(plan.fit.scale >= report::kOnePageScale);
    }

    void longGridRunsOnWithItsHeadingOnEveryPage() {
        const int rows = 200;
        Sheet sheet = sheetWith(numberGrid(rows, 4));
        sheet.setTable("MSFlexGrid2", numberGrid(5, 2));
        const SheetPlan plan = planSheet(sheet, fixedWidth, kPortrait);

        QCOMPARE(plan.fit.orientation, QPageLayout::Portrait);
        QCOMPARE(plan.fit.scale, 1.0);
        QVERIFY(plan.pages.size() >= 3);
        const auto blocks = rowBlocks(plan);
        // The first grid's slices follow on without gap or overlap, one a page.
        int next = 1;
        std::size_t b = 0;
        for (; b < blocks.size() && blocks[b]->index == 0; ++b) {
            QCOMPARE(blocks[b]->headingRows, 1);
            QCOMPARE(blocks[b]->firstRow, next);
            QVERIFY(blocks[b]->endRow > blocks[b]->firstRow);
            const double bottom =
                blocks[b]->top + (1 + blocks[b]->endRow - blocks[b]->firstRow) * report::kRowHeight;
            QVERIFY(bottom <= kPortrait.height() + 1e-6);
            next = blocks[b]->endRow;
        }
        QCOMPARE(next, rows);
        QCOMPARE(b, plan.pages.size());
        // The second grid follows on the last page.
        QCOMPARE(blocks.size(), b + 1);
        QCOMPARE(blocks[b]->index, 1);
        QCOMPARE(plan.pages.back().blocks.size(), std::size_t(2));
    }

    void pdfHoldsTheTextsAndCellsWithTurkishLetters() {
        QVERIFY2(korvel::testing::havePdftotext(), korvel::testing::kNoPdftotext);
        Table grid = numberGrid(5, 4);
        grid.setCell(4, 3, "iki\r\nsatır");
        Sheet sheet = sheetWith(grid, "Ağaçlı İstasyonu ğ ş ı İ Ş Ğ");
        sheet.setText("Label7", "Şubat ortalaması");
        sheet.setText("Text3", "1.234,56");
        sheet.setLabel("Text3", "Yağış alanı:");
        const std::filesystem::path file = dir_.filePath("report.pdf").toStdString();
        writeSheetsPdf({sheet}, file);

        const std::string text = pdfText(file);
        QCOMPARE(pdfPageCount(text), 1);
        const std::string flat = collapseSpaces(text);
        // Texts are printed after their screen labels, never after their control names.
        for (const char* expected : {"Ağaçlı İstasyonu ğ ş ı İ Ş Ğ", "Şubat ortalaması",
                                     "Yağış alanı: 1.234,56", "Sütun 3", "Gün 4", "401,25", "103,25"})
            QVERIFY2(flat.find(expected) != std::string::npos, expected);
        QVERIFY(flat.find("Label7") == std::string::npos && flat.find("Text3") == std::string::npos);
        // The cells of a row stay on one line.
        const std::string row = lineWith(text, "Gün 2");
        QVERIFY2(row.find("201,25") != std::string::npos && row.find("203,25") != std::string::npos,
                 row.c_str());
        // A line break inside a cell keeps the cell on its row's line.
        const std::string broken = lineWith(text, "iki");
        QVERIFY2(broken.find("Gün 4") != std::string::npos && broken.find("satır") != std::string::npos,
                 broken.c_str());
    }

    void longAndWideSheetsMakeSeveralPagesInOneFile() {
        QVERIFY2(korvel::testing::havePdftotext(), korvel::testing::kNoPdftotext);
        const std::filesystem::path file = dir_.filePath("several.pdf").toStdString();
        writeSheetsPdf(
            {sheetWith(numberGrid(150, 3), "Uzun tablo"), sheetWith(numberGrid(8, 30), "Geniş tablo")}, file);

        const std::string text = pdfText(file);
        const int pages = pdfPageCount(text);
        QVERIFY(pages >= 3);
        // Every page of the long grid starts with its heading row.
        for (int page = 2; page < pages; ++page) {
            const std::string flat = collapseSpaces(pdfText(file, page, page));
            QVERIFY2(flat.rfind("Sütun 1 Sütun 2", 0) == 0, flat.substr(0, 40).c_str());
        }
        const std::string whole = collapseSpaces(text);
        QVERIFY(whole.find("Gün 149") != std::string::npos && whole.find("14902,25") != std::string::npos);
        // The wide one is printed sideways, all 29 columns of its last row included.
        const std::string last = collapseSpaces(pdfText(file, pages, pages));
        QVERIFY(last.find("Geniş tablo") != std::string::npos);
        QVERIFY(last.find("701,25") != std::string::npos && last.find("729,25") != std::string::npos);
        const QByteArray bytes = QByteArray::fromStdString(std::string(
            reinterpret_cast<const char*>(readFileBytes(file)->data()), readFileBytes(file)->size()));
        QVERIFY(bytes.contains("/MediaBox [0 0 595") && bytes.contains("/MediaBox [0 0 842"));
    }

    void unwritableFileLeavesNothingBehind() {
        const std::filesystem::path blocker = dir_.filePath("not-a-directory").toStdString();
        writeFileAtomic(blocker, std::string_view("x"));
        const std::filesystem::path file = blocker / "report.pdf";
        QVERIFY_THROWS_EXCEPTION(FileError, writeSheetsPdf({sheetWith(numberGrid(3, 3))}, file));
        QVERIFY(!std::filesystem::exists(file));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 writeSheetsPdf({}, dir_.filePath("none.pdf").toStdString()));
        QVERIFY(!std::filesystem::exists(dir_.filePath("none.pdf").toStdString()));
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(SheetDocumentTest)
#include "SheetDocumentTest.moc"
