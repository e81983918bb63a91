#include "ui/journal/RecordView.h"

#include "store/WaterYearFile.h"

namespace korvel {

namespace {

QString timeText(OleDate time) {
    const TimeOfDay t = time.time();
    return QStringLiteral("%1:%2")
        .arg(t.hour, 2, 10, QLatin1Char('0'))
        .arg(t.minute, 2, 10, QLatin1Char('0'));
}

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

QStringList dayCells(const Bytes& bytes, const Locale& locale) {
    const DayRecord day = parseDayRecord(bytes);
    const bool discharge = sourceIsDischarge(day.source);
    QString tag = QString::fromLatin1(day.source.c_str()).trimmed();
    const QString mean = discharge ? QStringLiteral("Q %1 m³/s").arg(text(locale.numberText32(day.meanValue)))
                                   : QStringLiteral("H %1 mm").arg(text(locale.numberText32(day.meanValue)));
    return {text(day.date.dateText()),
            QString::number(day.maxLevel),
            timeText(day.maxTime),
            QString::number(day.minLevel),
            timeText(day.minTime),
            mean,
            tag};
}

QStringList byteCells(const Bytes& bytes) {
    constexpr std::size_t kShown = 24;
    QString hex;
    for (std::size_t i = 0; i < bytes.size() && i < kShown; ++i)
        hex += QStringLiteral("%1 ").arg(bytes[i], 2, 16, QLatin1Char('0'));
    if (bytes.size() > kShown)
        hex += QStringLiteral("…");
    return {QStringLiteral("%1 bayt").arg(bytes.size()), hex.trimmed()};
}

} // namespace

QStringList recordViewHeadings() {
    return {QStringLiteral("Kayıt"), QString(),
            QStringLiteral("Tarih"), QStringLiteral("Hmax (mm)"),
            QStringLiteral("Saat"),  QStringLiteral("Hmin (mm)"),
            QStringLiteral("Saat"),  QStringLiteral("Ortalama"),
            QStringLiteral("Kaynak")};
}

std::vector<QStringList> recordViewRows(const JournalEntry& entry, const std::vector<RecordChange>& records,
                                        const Locale& locale) {
    const bool days = entry.recordSize == DayRecord::kSize;
    std::vector<QStringList> rows;
    for (const RecordChange& record : records) {
        for (const bool before : {true, false}) {
            const std::optional<Bytes>& bytes = before ? record.before : record.after;
            QStringList row{QString::number(record.number),
                            before ? QStringLiteral("önce") : QStringLiteral("sonra")};
            if (!bytes || bytes->empty())
                row.append(QStringLiteral("(yok)"));
            else
                row.append(days ? dayCells(*bytes, locale) : byteCells(*bytes));
            rows.push_back(row);
        }
    }
    return rows;
}

} // namespace korvel
