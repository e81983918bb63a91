#include "ui/totals/MonthlyTotalsScreen.h"

#include "core/KeyFilters.h"
#include "flow/YearFromTotals.h"
#include "platform/Dialogs.h"
#include "ui/common/AppContext.h"
#include "ui/common/Export.h"
#include "ui/common/GridView.h"
#include "ui/common/KeyOutcomeFilter.h"
#include "ui/common/NamedLabel.h"

#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

QLineEdit* namedBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

QPushButton* namedButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

MonthlyTotalsScreen::MonthlyTotalsScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(std::make_unique<AppContext>(context)), hub_(hub),
      yearBox_(namedBox(QStringLiteral("Text1"), this)),
      grid_(new GridView(QStringLiteral("MSFlexGrid1"), this)), today_(&QDate::currentDate) {
    setObjectName(QStringLiteral("debiden"));
    addExportMenu(this, &context_->locale);
    setWindowTitle(kCaption);
    yearBox_->setMaxLength(8);
    grid_->setKeyFilter(keyOutcomeFilter(monthlyTotalsKey));
    grid_->setTable(monthlyTotalsTable());
    grid_->setMinimumHeight(80);

    auto* layout = new QVBoxLayout(this);
    auto* yearRow = new QHBoxLayout;
    yearRow->addWidget(namedLabel(QStringLiteral("Label1"), QStringLiteral("Oluşturulacak su yılı"), this));
    yearRow->addWidget(yearBox_);
    yearRow->addStretch();
    layout->addLayout(yearRow);
    layout->addWidget(namedLabel(
        QStringLiteral("Label2"),
        QStringLiteral("DİKKAT ! Değerler aylık toplam hacim olarak girilecektir. (milyon metre küp)"),
        this));
    layout->addWidget(grid_);

    // Boxes for the annual extremes, which the save does not use.
    auto* extremes = new QGridLayout;
    extremes->addWidget(
        namedLabel(QStringLiteral("Label5"),
                   QStringLiteral("Saat                    Tarih                  Akım(mil.m3)"), this),
        0, 1, 1, 3);
    extremes->addWidget(namedLabel(QStringLiteral("Label3"), QStringLiteral("Yıllık maxsimum akım"), this), 1,
                        0);
    extremes->addWidget(namedLabel(QStringLiteral("Label4"), QStringLiteral("Yıllık minimum akım"), this), 2,
                        0);
    for (int i = 0; i < 6; ++i)
        extremes->addWidget(namedBox(QStringLiteral("Text%1").arg(i + 2), this), 1 + i / 3, 1 + i % 3);
    layout->addLayout(extremes);

    auto* buttons = new QHBoxLayout;
    QPushButton* save = namedButton(QStringLiteral("Command1"), QStringLiteral("Kaydet"), this);
    QPushButton* next = namedButton(QStringLiteral("Command2"), QStringLiteral("Yeni su yılı"), this);
    QPushButton* exit = namedButton(QStringLiteral("Command3"), QStringLiteral("Çıkış"), this);
    buttons->addWidget(save);
    buttons->addWidget(next);
    buttons->addStretch();
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &MonthlyTotalsScreen::buildYearFromMonthlyTotals);
    connect(next, &QPushButton::clicked, this, &MonthlyTotalsScreen::newWaterYear);
    connect(exit, &QPushButton::clicked, this, &MonthlyTotalsScreen::closeScreen);
    resize(1000, 320);
}

MonthlyTotalsScreen::~MonthlyTotalsScreen() = default;

void MonthlyTotalsScreen::buildYearFromMonthlyTotals() {
    const CurrentStation& station = hub_.current();
    if (station.stationDir.empty()) {
        showMessage(this, QStringLiteral("Lütfen istasyon secimin yapınız"));
        return;
    }
    std::array<std::string, 12> totals;
    for (int c = 0; c < 12; ++c)
        totals[static_cast<std::size_t>(c)] = grid_->cell(1, c);
    const auto build = [&](MeasuredDays measuredDays) {
        return korvel::buildYearFromMonthlyTotals(station.stationDir, station.record.stationNumber,
                                                  yearBox_->text().toStdString(), totals, context_->locale,
                                                  measuredDays);
    };
    MonthlyTotalsOutcome outcome;
    try {
        outcome = build(MeasuredDays::Keep);
        // Measured days are replaced only when the user says so.
        if (outcome.measuredDays > 0) {
            if (!askYesNo(this, QString::fromStdString(outcome.message)))
                return;
            outcome = build(MeasuredDays::Replace);
        }
    } catch (const std::exception& e) {
        showMessage(this,
                    QStringLiteral("Su yılı dosyası yazılamadı: %1").arg(QString::fromStdString(e.what())));
        return;
    }
    if (outcome.written)
        hub_.refreshFileLists();
    showMessage(this, QString::fromStdString(outcome.message));
    if (outcome.written)
        emit yearWritten(QString::fromStdString(outcome.file.string()));
}

void MonthlyTotalsScreen::newWaterYear() {
    const QDate today = today_();
    yearBox_->setText(QString::fromStdString(nextWaterYearText(
        yearBox_->text().toStdString(), OleDate::fromDate(today.year(), today.month(), today.day()))));
    grid_->setTable(monthlyTotalsTable());
}

void MonthlyTotalsScreen::closeScreen() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace korvel
