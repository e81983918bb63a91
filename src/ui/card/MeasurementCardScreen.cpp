#include "ui/card/MeasurementCardScreen.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/KeyFilters.h"
#include "core/Paths.h"
#include "flow/MeasurementCardSheet.h"
#include "flow/MeasurementRow.h"
#include "platform/Dialogs.h"
#include "ui/common/AppContext.h"
#include "ui/common/DeferredCommand.h"
#include "ui/common/Export.h"
#include "ui/common/GridView.h"
#include "ui/common/KeyOutcomeFilter.h"

#include <QMdiSubWindow>
#include <QMenu>
#include <QVBoxLayout>

namespace korvel {

MeasurementCardScreen::MeasurementCardScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(std::make_unique<AppContext>(context)), hub_(hub),
      grid_(new GridView(QStringLiteral("MSFlexGrid1"), this)),
      timer_(new DeferredCommand(this, QStringLiteral("Timer1"), [this] { saveMeasurementRow(); })),
      menu_(new QMenu(kCaption, this)) {
    setObjectName(QStringLiteral("OLCOKAYITKARTI"));
    addExportMenu(this, &context_->locale);
    setWindowTitle(kCaption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    grid_->setKeyFilter(keyOutcomeFilter(measurementCardKey));
    grid_->setCopyMenu(QStringLiteral("kesmenOlcu"), QStringLiteral("kesmeOlcu"));

    menu_->setObjectName(QStringLiteral("olcukayitkartimenu"));
    QAction* saveAction = menu_->addAction(QStringLiteral("Ölçü kayıt kartını kaydet"));
    saveAction->setObjectName(QStringLiteral("olcukkaydetn"));
    connect(saveAction, &QAction::triggered, this, &MeasurementCardScreen::save);
    QAction* closeAction = menu_->addAction(QStringLiteral("Ölçü kayıt kartını kapat"));
    closeAction->setObjectName(QStringLiteral("olcukakapat"));
    connect(closeAction, &QAction::triggered, this, &MeasurementCardScreen::closeCard);

    resize(1100, 500);
    loadMeasurementCard();
}

MeasurementCardScreen::~MeasurementCardScreen() = default;

void MeasurementCardScreen::loadMeasurementCard() {
    const CurrentStation& station = hub_.current();
    cardPath_ = station.stationDir.empty()
                    ? std::filesystem::path()
                    : resolveCaseInsensitive(station.stationDir /
                                             measurementCardFileName(station.record.stationNumber));
    readStamp_.remember(cardPath_);
    std::vector<MeasurementCard> records;
    if (!cardPath_.empty())
        if (const std::optional<Bytes> bytes = readFileBytes(cardPath_))
            records = parseMeasurementCardFile(*bytes);
    grid_->setTable(measurementCardTable(records, context_->locale));
    if (records.size() >= static_cast<std::size_t>(kMeasurementCardRows))
        showMessage(this,
                    QStringLiteral("Kartta %1 ölçü var; ilk %2 ölçü gösteriliyor, ötekiler dosyada korunur.")
                        .arg(records.size())
                        .arg(kMeasurementCardRows - 1));
}

void MeasurementCardScreen::save() {
    timer_->arm();
}

bool MeasurementCardScreen::savePending() const {
    return timer_->isArmed();
}

void MeasurementCardScreen::saveMeasurementRow() {
    const int row = grid_->currentRow();
    if (row < 1)
        return;
    const auto& path = cardPath_;
    if (path.empty()) {
        showMessage(this, QStringLiteral("Lütfen istasyon secimin yapınız"));
        return;
    }
    switch (readStamp_.confirmSave(this)) {
    case SaveChoice::reload:
        loadMeasurementCard();
        return;
    case SaveChoice::cancel:
        return;
    case SaveChoice::save:
        break;
    }
    MeasurementRowCells cells;
    for (int c = 0; c < kMeasurementCardColumns; ++c)
        cells[static_cast<std::size_t>(c)] = grid_->cell(row, c);
    try {
        const std::vector<int> unconverted = korvel::saveMeasurementRow(path, row, cells, context_->locale);
        readStamp_.remember(path);
        if (!unconverted.empty())
            showMessage(this, QString::fromStdString(unconvertedCellsMessage(row, unconverted)));
    } catch (const std::exception& e) {
        showMessage(
            this, QStringLiteral("Ölçü kayıt kartı kaydedilemedi: %1").arg(QString::fromStdString(e.what())));
        return;
    }
    emit rowSaved(row);
}

void MeasurementCardScreen::closeCard() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace korvel
