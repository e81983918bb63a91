#include "platform/NetworkBookDocument.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Paths.h"
#include "flow/StationHeader.h"
#include "platform/AnnualChartPainter.h"
#include "platform/PdfOutline.h"
#include "platform/SheetDocument.h"

#include <QFile>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>
#include <map>
#include <stdexcept>

namespace korvel {

namespace fs = std::filesystem;

namespace {

constexpr double kHeaderBand = 20.0;
constexpr double kFooterBand = 26.0;
constexpr double kLineHeight = 13.0;
constexpr double kTextSize = 9.0;
constexpr const char* kContentsTitle = "İçindekiler";
constexpr const char* kMissingTitle = "Eksik veriler";

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

QFont bookFont(double points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(points));
    font.setBold(bold);
    return font;
}

// A line of the contents: its depth (region, basin, station) and the page it points to (from 1).
struct ContentsLine {
    int level = 0;
    std::string text;
    int page = 0;
};

// What the first pass finds: the pages of each section (0 when it prints nothing) and the
// stations the book leaves out.
struct BookLayout {
    std::vector<int> sectionPages;
    std::vector<MissingStation> missing;
    int contentsPages = 1;
    int missingPages = 1;
    int totalPages = 0;
};

int flowFileCount(const fs::path& stationDir) {
    return static_cast<int>(listFiles(stationDir, "*.ard").size());
}

std::string stationTitle(const BookStation& station) {
    std::string title = station.number;
    for (const std::string& part : {trimmed(station.record.riverName), trimmed(station.record.stationName)})
        if (!part.empty())
            title += " - " + part;
    return title;
}

class BookWriter {
public:
    BookWriter(const NetworkBookPlan& plan, const Locale& locale, QIODevice& device)
        : plan_(plan), locale_(locale), writer_(&device) {
        writer_.setResolution(72);
        writer_.setPageSize(QPageSize(QPageSize::A4));
        writer_.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        writer_.setTitle(qt("Hidrolojik yıllık " + std::to_string(plan.year)));
        writer_.setCreator(QStringLiteral("KORVEL2000"));
        QPageLayout upright = writer_.pageLayout();
        upright.setOrientation(QPageLayout::Portrait);
        portrait_ = upright.paintRect(QPageLayout::Point).size();
        // Room for the header and the footer whichever way a sheet turns its pages.
        sheetArea_ = QSizeF(portrait_.width() - kHeaderBand - kFooterBand,
                            portrait_.height() - kHeaderBand - kFooterBand);
    }

    // First pass: lays every section out and counts the pages.
    BookLayout layout(const BookProgress& progress, int total, bool& cancelled) {
        BookLayout layout;
        layout.missing = plan_.missing;
        const TextWidth width = reportTextWidth(writer_);
        for (std::size_t i = 0; i < plan_.sections.size(); ++i) {
            const BookSection& section = plan_.sections[i];
            const BookSectionContent content =
                buildBookSection(section, flowFileCount(section.station.dir), locale_);
            int pages = 0;
            if (content.missingReason) {
                layout.missing.push_back({section.station.region, section.station.basin,
                                          section.station.number, trimmed(section.station.record.stationName),
                                          *content.missingReason});
            } else {
                for (const Sheet& sheet : content.sheets)
                    pages += static_cast<int>(planSheet(sheet, width, sheetArea_).pages.size());
                if (content.flow)
                    ++pages;
            }
            layout.sectionPages.push_back(pages);
            if (progress && !progress(static_cast<int>(i) + 1, total)) {
                cancelled = true;
                return layout;
            }
        }
        const int perPage = linesPerPage();
        layout.contentsPages =
            std::max(1, static_cast<int>((contentsLines(layout, 0).size() + perPage - 1) / perPage));
        layout.missingPages = std::max(1, static_cast<int>((layout.missing.size() + perPage) / perPage));
        layout.totalPages = 1 + layout.contentsPages + layout.missingPages;
        for (int pages : layout.sectionPages)
            layout.totalPages += pages;
        return layout;
    }

    // Second pass: renders the pages; returns the outline entries.
    std::vector<OutlineEntry> render(const BookLayout& layout, const BookProgress& progress, int total,
                                     bool& cancelled) {
        total_ = layout.totalPages;
        std::vector<OutlineEntry> outline;
        paintCover();
        const int firstSectionPage = 2 + layout.contentsPages;
        const auto lines = contentsLines(layout, firstSectionPage);
        paintContents(lines, layout.contentsPages);
        outline.push_back({kContentsTitle, 1, 0});
        for (const ContentsLine& line : lines)
            outline.push_back({line.text, line.page - 1, line.level});

        for (std::size_t i = 0; i < plan_.sections.size(); ++i) {
            if (layout.sectionPages[i] > 0)
                paintSection(plan_.sections[i]);
            if (progress && !progress(static_cast<int>(plan_.sections.size() + i) + 1, total)) {
                cancelled = true;
                return outline;
            }
        }
        outline.push_back({kMissingTitle, page_, 0});
        paintMissing(layout.missing);
        if (!painter_.end())
            throw std::runtime_error("cannot finish the document");
        return outline;
    }

private:
    int linesPerPage() const {
        return std::max(1,
                        static_cast<int>((portrait_.height() - kHeaderBand - kFooterBand) / kLineHeight) - 2);
    }

    // The contents: a line per region, basin and station with a printed section, at the page
    // where it starts, then the closing section.
    std::vector<ContentsLine> contentsLines(const BookLayout& layout, int firstSectionPage) const {
        std::vector<ContentsLine> lines;
        int page = firstSectionPage;
        std::string region, basin, station;
        for (std::size_t i = 0; i < plan_.sections.size(); ++i) {
            const BookStation& s = plan_.sections[i].station;
            if (layout.sectionPages[i] > 0) {
                if (s.region != region) {
                    region = s.region;
                    basin.clear();
                    lines.push_back({0, "Bölge: " + region, page});
                }
                if (s.basin != basin) {
                    basin = s.basin;
                    lines.push_back({1, "Havza: " + basin, page});
                }
                if (s.dir.string() != station) {
                    station = s.dir.string();
                    lines.push_back({2, stationTitle(s), page});
                }
            }
            page += layout.sectionPages[i];
        }
        lines.push_back({0, kMissingTitle, page});
        return lines;
    }

    void startPage(QPageLayout::Orientation orientation, const std::string& header,
                   const std::string& footnote) {
        writer_.setPageOrientation(orientation);
        if (page_ == 0) {
            if (!painter_.begin(&writer_))
                throw std::runtime_error("cannot start the document");
        } else {
            writer_.newPage();
        }
        ++page_;
        const QSizeF size =
            orientation == QPageLayout::Portrait ? portrait_ : QSizeF(portrait_.height(), portrait_.width());
        painter_.resetTransform();
        painter_.setPen(QPen(Qt::black, 0.5));
        painter_.setFont(bookFont(kTextSize, true));
        if (!header.empty()) {
            painter_.drawText(QRectF(0, 0, size.width(), kHeaderBand - 6), Qt::AlignLeft | Qt::AlignVCenter,
                              qt(header));
            painter_.drawLine(QPointF(0, kHeaderBand - 4), QPointF(size.width(), kHeaderBand - 4));
        }
        painter_.setFont(bookFont(kTextSize));
        const QRectF footer(0, size.height() - kFooterBand + 6, size.width(), kFooterBand - 6);
        if (!footnote.empty())
            painter_.drawText(footer, Qt::AlignLeft | Qt::AlignTop, qt(footnote));
        painter_.drawText(footer, Qt::AlignRight | Qt::AlignBottom,
                          qt(std::to_string(page_) + " / " + std::to_string(total_)));
        painter_.translate(0, kHeaderBand);
        body_ = QSizeF(size.width(), size.height() - kHeaderBand - kFooterBand);
    }

    void paintCover() {
        startPage(QPageLayout::Portrait, "", "");
        const std::string institute =
            plan_.sections.empty() ? std::string() : instituteHeading(plan_.sections.front().station.record);
        const std::vector<std::pair<std::string, double>> lines = {
            {institute, 14.0},
            {"HİDROLOJİK YILLIK", 22.0},
            {plan_.title, 14.0},
            {std::to_string(plan_.year) + " su yılı (1 Ekim " + std::to_string(plan_.year - 1) +
                 " - 30 Eylül " + std::to_string(plan_.year) + ")",
             12.0}};
        double y = body_.height() / 3;
        for (const auto& [text, size] : lines) {
            painter_.setFont(bookFont(size, true));
            painter_.drawText(QRectF(0, y, body_.width(), size * 2), Qt::AlignHCenter | Qt::AlignVCenter,
                              qt(text));
            y += size * 2.5;
        }
    }

    void paintContents(const std::vector<ContentsLine>& lines, int pages) {
        const int perPage = linesPerPage();
        for (int p = 0; p < pages; ++p) {
            startPage(QPageLayout::Portrait, kContentsTitle, "");
            double y = 0;
            for (int i = p * perPage; i < std::min<int>((p + 1) * perPage, static_cast<int>(lines.size()));
                 ++i) {
                const ContentsLine& line = lines[static_cast<std::size_t>(i)];
                painter_.setFont(bookFont(kTextSize, line.level < 2));
                const QRectF row(line.level * 14.0, y, body_.width() - line.level * 14.0, kLineHeight);
                painter_.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, qt(line.text));
                painter_.drawText(row, Qt::AlignRight | Qt::AlignVCenter, QString::number(line.page));
                y += kLineHeight;
            }
        }
    }

    void paintSection(const BookSection& section) {
        const BookSectionContent content =
            buildBookSection(section, flowFileCount(section.station.dir), locale_);
        const std::string header = bookPageHeader(section, plan_.year);
        const std::string footnote = gapFootnote(content.gaps);
        const TextWidth width = reportTextWidth(writer_);
        for (const Sheet& sheet : content.sheets) {
            const SheetPlan plan = planSheet(sheet, width, sheetArea_);
            for (const ReportPage& page : plan.pages) {
                startPage(plan.fit.orientation, header, footnote);
                paintSheetPage(painter_, writer_, sheet, plan, page);
            }
        }
        if (content.flow) {
            startPage(QPageLayout::Landscape, header, footnote);
            paintAnnualChart(painter_, QRectF(0, 0, body_.width(), body_.height()), *content.flow, locale_);
        }
    }

    void paintMissing(const std::vector<MissingStation>& missing) {
        const int perPage = linesPerPage();
        const std::array<double, 5> columns{0.0, 0.16, 0.32, 0.44, 0.66};
        const std::array<const char*, 5> headings{"Bölge", "Havza", "İstasyon", "Adı", "Neden"};
        std::size_t next = 0;
        do {
            startPage(QPageLayout::Portrait, kMissingTitle, "");
            painter_.setFont(bookFont(kTextSize, true));
            for (std::size_t c = 0; c < columns.size(); ++c)
                painter_.drawText(QRectF(columns[c] * body_.width(), 0, body_.width(), kLineHeight),
                                  Qt::AlignLeft | Qt::AlignVCenter, qt(headings[c]));
            painter_.setFont(bookFont(kTextSize));
            if (missing.empty())
                painter_.drawText(QRectF(0, kLineHeight, body_.width(), kLineHeight),
                                  Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Eksik veri yok."));
            double y = kLineHeight;
            for (int row = 0; row < perPage - 1 && next < missing.size(); ++row, ++next, y += kLineHeight) {
                const MissingStation& m = missing[next];
                const std::array<std::string, 5> cells{m.region, m.basin, m.number, m.name, m.reason};
                for (std::size_t c = 0; c < cells.size(); ++c) {
                    const double left = columns[c] * body_.width();
                    const double right =
                        c + 1 < columns.size() ? columns[c + 1] * body_.width() - 4 : body_.width();
                    painter_.drawText(QRectF(left, y, right - left, kLineHeight),
                                      Qt::AlignLeft | Qt::AlignVCenter, qt(cells[c]));
                }
            }
        } while (next < missing.size());
    }

    const NetworkBookPlan& plan_;
    const Locale& locale_;
    QPdfWriter writer_;
    QPainter painter_;
    QSizeF portrait_;
    QSizeF sheetArea_;
    QSizeF body_;
    int page_ = 0;
    int total_ = 0;
};

void removeQuietly(const fs::path& file) {
    std::error_code ec;
    fs::remove(file, ec);
}

} // namespace

NetworkBookSummary writeNetworkBookPdf(const NetworkBookPlan& plan, const fs::path& file,
                                       const Locale& locale, const BookProgress& progress) {
    NetworkBookSummary summary;
    const fs::path pages = fs::path(file).concat(".sayfalar.tmp");
    const fs::path outlined = fs::path(file).concat(".tmp");
    const int total = 2 * static_cast<int>(plan.sections.size());
    try {
        QFile device(qt(pages.string()));
        if (!device.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw FileError("cannot write " + pages.string());
        std::vector<OutlineEntry> outline;
        {
            BookWriter writer(plan, locale, device);
            const BookLayout layout = writer.layout(progress, total, summary.cancelled);
            if (!summary.cancelled)
                outline = writer.render(layout, progress, total, summary.cancelled);
            summary.missing = layout.missing;
            summary.pages = layout.totalPages;
            for (int count : layout.sectionPages)
                summary.printedSections += count > 0 ? 1 : 0;
        }
        device.close();
        if (summary.cancelled) {
            removeQuietly(pages);
            return summary;
        }
        writePdfWithOutline(pages, outlined, outline);
        removeQuietly(pages);
        std::error_code ec;
        fs::rename(outlined, file, ec);
        if (ec)
            throw FileError("cannot write " + file.string() + ": " + ec.message());
    } catch (...) {
        removeQuietly(pages);
        removeQuietly(outlined);
        throw;
    }
    return summary;
}

} // namespace korvel
