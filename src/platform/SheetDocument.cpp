#include "platform/SheetDocument.h"

#include "core/FileIO.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string_view>

namespace korvel {

using namespace report;

namespace {

constexpr double kEpsilon = 1e-6;
const QColor kHeadingShade(230, 230, 230);

std::string textLine(const Sheet& sheet, const std::pair<std::string, std::string>& text) {
    return sheet.labelledText(text.first);
}

bool isPrintedText(const std::pair<std::string, std::string>& text) {
    return !text.second.empty();
}

// Grids are often made longer than their content (a card of a thousand lines, a table with
// room to type into); the empty rows at the end are left off the paper.
int printedRows(const Table& table) {
    for (int r = table.rows(); r > 0; --r)
        for (int c = 0; c < table.columns(); ++c)
            if (!table.cell(r - 1, c).empty())
                return std::max(r, table.fixedRows());
    return table.fixedRows();
}

bool isPrintedTable(const Table& table) {
    return printedRows(table) > 0 && table.columns() > 0;
}

bool isHeadingCell(const Table& table, int row, int column) {
    return row < table.fixedRows() || column < table.fixedColumns();
}

std::vector<double> columnWidthsOf(const Table& table, const TextWidth& width) {
    std::vector<double> widths(static_cast<std::size_t>(table.columns()), 0.0);
    for (int c = 0; c < table.columns(); ++c) {
        // A column the screen hides (width 0) is left out of the printout as well.
        if (table.columnWidth(c) <= 0)
            continue;
        double widest = 0.0;
        for (int r = 0; r < printedRows(table); ++r)
            widest = std::max(widest, width(table.cell(r, c), r < table.fixedRows()));
        widths[static_cast<std::size_t>(c)] = std::max(kMinimumColumn, widest + 2 * kCellPadding);
    }
    return widths;
}

double sum(const std::vector<double>& values) {
    double total = 0.0;
    for (double v : values)
        total += v;
    return total;
}

// Heading rows repeated above every slice of a grid, unless they would leave no room for a
// body row on a page; then the grid simply runs on.
int headingRowsOf(const Table& table, double pageHeight) {
    const int heading = table.fixedRows();
    if (heading >= printedRows(table) || (heading + 1) * kRowHeight > pageHeight + kEpsilon)
        return 0;
    return heading;
}

QSizeF naturalSize(const Sheet& sheet, const TextWidth& width, const SheetPlan& plan) {
    double w = 0.0;
    double h = 0.0;
    if (!sheet.caption.empty()) {
        w = width(sheet.caption, true) * kCaptionSize / kCellSize;
        h += kCaptionHeight;
    }
    bool anyText = false;
    for (const auto& text : sheet.texts()) {
        if (!isPrintedText(text))
            continue;
        w = std::max(w, width(textLine(sheet, text), false));
        h += kLineHeight;
        anyText = true;
    }
    if (anyText)
        h += kBlockGap;
    for (std::size_t i = 0; i < sheet.tables().size(); ++i) {
        const Table& table = sheet.tables()[i].second;
        if (!isPrintedTable(table))
            continue;
        w = std::max(w, sum(plan.columnWidths[i]));
        h += printedRows(table) * kRowHeight + kBlockGap;
    }
    return {w, h};
}

// Places the blocks one below the other, starting a new page when the next one does not fit.
class PageFiller {
public:
    explicit PageFiller(double pageHeight) : pageHeight_(pageHeight) { pages_.emplace_back(); }

    void place(ReportBlock block, double height) {
        if (!hasRoom(height) && y_ > 0)
            newPage();
        block.top = y_;
        pages_.back().blocks.push_back(block);
        y_ += height;
    }

    void placeTable(const Table& table, int index) {
        const int heading = headingRowsOf(table, pageHeight_);
        const double headingHeight = heading * kRowHeight;
        const int rows = printedRows(table);
        int row = heading;
        do {
            if (!hasRoom(headingHeight + kRowHeight) && y_ > 0)
                newPage();
            const double room = pageHeight_ - y_ - headingHeight + kEpsilon;
            const int fitting = std::max(1, static_cast<int>(std::floor(room / kRowHeight)));
            const int count = std::min(fitting, rows - row);
            ReportBlock block{ReportBlock::Kind::Rows, index, row, row + count, heading, y_};
            pages_.back().blocks.push_back(block);
            y_ += headingHeight + count * kRowHeight;
            row += count;
        } while (row < rows);
        gap();
    }

    void gap() { y_ += kBlockGap; }

    std::vector<ReportPage> pages() && { return std::move(pages_); }

private:
    bool hasRoom(double height) const { return y_ + height <= pageHeight_ + kEpsilon; }
    void newPage() {
        pages_.emplace_back();
        y_ = 0.0;
    }

    double pageHeight_;
    double y_ = 0.0;
    std::vector<ReportPage> pages_;
};

} // namespace

bool isNumberCell(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return false;
    const auto last = text.find_last_not_of(' ');
    std::string_view body(text.data() + first, last - first + 1);
    if (body.front() == '-' || body.front() == '+')
        body.remove_prefix(1);
    bool digit = false;
    for (char ch : body) {
        if (ch >= '0' && ch <= '9')
            digit = true;
        else if (ch != '.' && ch != ',')
            return false;
    }
    return digit;
}

SheetPlan planSheet(const Sheet& sheet, const TextWidth& width, QSizeF portraitPoints) {
    SheetPlan plan;
    for (const auto& [name, table] : sheet.tables())
        plan.columnWidths.push_back(columnWidthsOf(table, width));
    alignSheetColumns(sheet, plan.columnWidths);
    plan.natural = naturalSize(sheet, width, plan);

    plan.fit = fitOnPage(plan.natural, portraitPoints);
    if (plan.fit.scale < kOnePageScale) {
        // Too long for one page: fit the width only and let the grids run on.
        plan.fit = fitOnPage(QSizeF(plan.natural.width(), 1.0), portraitPoints);
    }
    const QSizeF page =
        plan.fit.orientation == QPageLayout::Portrait ? portraitPoints : portraitPoints.transposed();
    PageFiller filler(page.height() / plan.fit.scale);

    if (!sheet.caption.empty())
        filler.place({ReportBlock::Kind::Caption}, kCaptionHeight);
    bool anyText = false;
    for (std::size_t i = 0; i < sheet.texts().size(); ++i) {
        if (!isPrintedText(sheet.texts()[i]))
            continue;
        filler.place({ReportBlock::Kind::Text, static_cast<int>(i)}, kLineHeight);
        anyText = true;
    }
    if (anyText)
        filler.gap();
    for (std::size_t i = 0; i < sheet.tables().size(); ++i) {
        const Table& table = sheet.tables()[i].second;
        if (isPrintedTable(table))
            filler.placeTable(table, static_cast<int>(i));
    }
    plan.pages = std::move(filler).pages();
    return plan;
}

namespace {

// Every text is drawn on one line: a line break or tab inside a cell becomes a space, so that
// it cannot spill into the row below.
QString qt(const std::string& text) {
    QString line = QString::fromStdString(text);
    for (QChar& ch : line)
        if (ch == u'\n' || ch == u'\r' || ch == u'\t')
            ch = u' ';
    return line;
}

// Sizes are given in the painter's units, which are points on every device (see ReportPainter).
QFont reportFont(double points, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(points));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Paints the planned pages of sheets on a PDF writer or a printer. The painter is scaled so that
// one unit is one point whatever the device's resolution; the fonts are sized in those units.
class ReportPainter {
public:
    explicit ReportPainter(QPagedPaintDevice& writer) : ReportPainter(writer, ownPainter_) {}
    // Paints with a painter the caller has begun on the device.
    ReportPainter(QPagedPaintDevice& writer, QPainter& painter)
        : writer_(writer), painter_(painter), cell_(reportFont(kCellSize, false)),
          heading_(reportFont(kCellSize, true)), caption_(reportFont(kCaptionSize, true)) {}

    TextWidth textWidth() const {
        return [this](const std::string& text, bool bold) {
            return QFontMetricsF(bold ? heading_ : cell_, &writer_).horizontalAdvance(qt(text));
        };
    }

    void paint(const std::vector<Sheet>& sheets) {
        QPageLayout upright = writer_.pageLayout();
        upright.setOrientation(QPageLayout::Portrait);
        const QSizeF portrait = upright.paintRect(QPageLayout::Point).size();
        bool firstPage = true;
        for (const Sheet& sheet : sheets) {
            const SheetPlan plan = planSheet(sheet, textWidth(), portrait);
            writer_.setPageOrientation(plan.fit.orientation);
            for (const ReportPage& page : plan.pages) {
                if (firstPage) {
                    if (!painter_.begin(&writer_))
                        throw std::runtime_error("cannot start the document");
                    firstPage = false;
                } else {
                    writer_.newPage();
                }
                painter_.save();
                painter_.scale(writer_.logicalDpiX() / 72.0, writer_.logicalDpiY() / 72.0);
                paintPage(sheet, plan, page);
                painter_.restore();
            }
        }
        if (firstPage || !painter_.end())
            throw std::runtime_error("cannot finish the document");
    }

    // One planned page at the painter's origin, the painter's units being points.
    void paintPage(const Sheet& sheet, const SheetPlan& plan, const ReportPage& page) {
        painter_.save();
        painter_.scale(plan.fit.scale, plan.fit.scale);
        for (const ReportBlock& block : page.blocks)
            paintBlock(sheet, plan, block);
        painter_.restore();
    }

private:
    void paintBlock(const Sheet& sheet, const SheetPlan& plan, const ReportBlock& block) {
        switch (block.kind) {
        case ReportBlock::Kind::Caption:
            painter_.setFont(caption_);
            painter_.drawText(QRectF(0, block.top, plan.natural.width() + 1, kCaptionHeight),
                              Qt::AlignLeft | Qt::AlignTop, qt(sheet.caption));
            break;
        case ReportBlock::Kind::Text:
            painter_.setFont(cell_);
            painter_.drawText(QRectF(0, block.top, plan.natural.width() + 1, kLineHeight),
                              Qt::AlignLeft | Qt::AlignVCenter,
                              qt(textLine(sheet, sheet.texts()[static_cast<std::size_t>(block.index)])));
            break;
        case ReportBlock::Kind::Rows: {
            const auto i = static_cast<std::size_t>(block.index);
            const Table& table = sheet.tables()[i].second;
            double y = block.top;
            for (int r = 0; r < block.headingRows; ++r, y += kRowHeight)
                paintRow(table, plan.columnWidths[i], r, y);
            for (int r = block.firstRow; r < block.endRow; ++r, y += kRowHeight)
                paintRow(table, plan.columnWidths[i], r, y);
            break;
        }
        }
    }

    void paintRow(const Table& table, const std::vector<double>& widths, int row, double y) {
        painter_.setPen(QPen(Qt::black, 0.5));
        double x = 0.0;
        for (int c = 0; c < table.columns(); ++c) {
            const double w = widths[static_cast<std::size_t>(c)];
            if (w <= 0.0)
                continue;
            const QRectF box(x, y, w, kRowHeight);
            const bool heading = isHeadingCell(table, row, c);
            if (heading)
                painter_.fillRect(box, kHeadingShade);
            painter_.drawRect(box);
            const std::string& text = table.cell(row, c);
            Qt::Alignment align = Qt::AlignLeft;
            if (row < table.fixedRows())
                align = Qt::AlignHCenter;
            else if (!heading && isNumberCell(text))
                align = Qt::AlignRight;
            painter_.setFont(row < table.fixedRows() ? heading_ : cell_);
            painter_.drawText(box.adjusted(kCellPadding, 0, -kCellPadding, 0), align | Qt::AlignVCenter,
                              qt(text));
            x += w;
        }
    }

    QPagedPaintDevice& writer_;
    QPainter ownPainter_;
    QPainter& painter_;
    QFont cell_;
    QFont heading_;
    QFont caption_;
};

// The tool answers in one line; Qt's notes on starting without a display (runtime directory,
// platform plugin) would only clutter it.
void onlySeriousMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

class QuietMessages {
public:
    QuietMessages() : previous_(qInstallMessageHandler(onlySeriousMessages)) {}
    ~QuietMessages() { qInstallMessageHandler(previous_); }
    QuietMessages(const QuietMessages&) = delete;
    QuietMessages& operator=(const QuietMessages&) = delete;

private:
    QtMessageHandler previous_;
};

} // namespace

void writeSheetsPdf(const std::vector<Sheet>& sheets, const std::filesystem::path& file) {
    if (sheets.empty())
        throw std::runtime_error("no report to write to " + file.string());
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        // One device unit is one point, so the fonts' point sizes and the layout agree.
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        writer.setTitle(qt(sheets.front().caption));
        writer.setCreator(QStringLiteral("KORVEL2000"));
        ReportPainter(writer).paint(sheets);
    }
    writeFileAtomic(file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool printSheets(const std::vector<Sheet>& sheets, QPrinter& printer) {
    if (sheets.empty())
        return false;
    try {
        ReportPainter(printer).paint(sheets);
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

TextWidth reportTextWidth(QPagedPaintDevice& device) {
    const QFont cell = reportFont(kCellSize, false);
    const QFont heading = reportFont(kCellSize, true);
    return [cell, heading, &device](const std::string& text, bool bold) {
        return QFontMetricsF(bold ? heading : cell, &device).horizontalAdvance(qt(text));
    };
}

void paintSheetPage(QPainter& painter, QPagedPaintDevice& device, const Sheet& sheet, const SheetPlan& plan,
                    const ReportPage& page) {
    ReportPainter(device, painter).paintPage(sheet, plan, page);
}

void withGuiApplication(const std::function<void()>& work) {
    if (QCoreApplication::instance() != nullptr) {
        work();
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QuietMessages quiet;
    static char programName[] = "korvel";
    char* argv[] = {programName, nullptr};
    int argc = 1;
    const QGuiApplication application(argc, argv);
    work();
}

void writeSheetsPdfHeadless(const std::vector<Sheet>& sheets, const std::filesystem::path& file) {
    withGuiApplication([&] { writeSheetsPdf(sheets, file); });
}

} // namespace korvel
