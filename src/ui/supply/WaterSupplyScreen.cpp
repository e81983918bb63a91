#include "ui/supply/WaterSupplyScreen.h"

#include "core/Cp1254.h"
#include "core/Paths.h"
#include "flow/WaterSupply.h"
#include "platform/Printing.h"
#include "platform/SheetDocument.h"
#include "ui/common/AppContext.h"
#include "ui/common/GridView.h"
#include "ui/common/SheetView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

// The labels the sheet fills, by name, in the order they stand above the grid.
constexpr const char* kHeaderLabels[] = {"institute",   "stationNumber", "region",    "river",
                                         "stationName", "area",          "elevation", "coordinates"};

} // namespace

WaterSupplyScreen::WaterSupplyScreen(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(std::make_unique<AppContext>(context)), station_(hub.current()),
      table_(std::make_unique<WaterSupplyTable>(context.locale)), files_(new QListWidget(this)),
      computeAll_(new QPushButton(QStringLiteral("Bütün yılları hesabla"), this)),
      grid_(new GridView(QStringLiteral("MSFlexGrid3"), this)), menu_(new QMenu(kCaption, this)) {
    setObjectName(QStringLiteral("sutemini"));
    setWindowTitle(kCaption);
    files_->setObjectName(QStringLiteral("File1"));
    files_->setMaximumWidth(180);
    computeAll_->setObjectName(QStringLiteral("Command1"));
    grid_->setCopyMenu(QStringLiteral("kesmenSutemini"), QStringLiteral("kesmeSutemini"));

    auto* header = new QGridLayout;
    auto* title = new QLabel(this);
    title->setObjectName(QStringLiteral("title"));
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    title->setFont(big);
    header->addWidget(title, 0, 0, 1, 2);
    int place = 0;
    for (const char* name : kHeaderLabels) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        header->addWidget(label, 1 + place / 2, place % 2);
        ++place;
    }
    auto* units = new QLabel(this);
    units->setObjectName(QStringLiteral("units"));
    header->addWidget(units, 1 + (place + 1) / 2, 0);

    auto* side = new QVBoxLayout;
    side->addWidget(files_);
    side->addWidget(computeAll_);
    auto* main = new QVBoxLayout;
    main->addLayout(header);
    main->addWidget(grid_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addLayout(main, 1);

    menu_->setObjectName(QStringLiteral("suteminimenu"));
    QAction* printAction = menu_->addAction(QStringLiteral("Su temini tablosunu yazdır"));
    printAction->setObjectName(QStringLiteral("sutemintablosuyazn"));
    connect(printAction, &QAction::triggered, this, [this] { reportUnprinted(this, print()); });
    QAction* closeAction = menu_->addAction(QStringLiteral("Su temini tablosunu kapat"));
    closeAction->setObjectName(QStringLiteral("suteminikapatn"));
    connect(closeAction, &QAction::triggered, this, &WaterSupplyScreen::closeScreen);

    connect(files_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { addYear(item->text()); });
    connect(computeAll_, &QPushButton::clicked, this, &WaterSupplyScreen::addAllYears);

    for (const std::string& name : listFiles(station_.stationDir, "*.ard"))
        files_->addItem(QString::fromStdString(name));
    showTable();
    resize(1250, 820);
}

WaterSupplyScreen::~WaterSupplyScreen() = default;

void WaterSupplyScreen::showTable() {
    sheet_ = waterSupplySheet(*table_, station_.record, context_->locale);
    showSheet(this, sheet_);
}

bool WaterSupplyScreen::addYear(const QString& flowFileName) {
    const std::string name = flowFileName.toStdString();
    if (table_->rowCount() == kSupplyYearRows || table_->listsYear(utf8Left(name, 4)))
        return false;
    const std::filesystem::path& stationDir = station_.stationDir;
    const auto result =
        table_->addYear(name, readWaterYearFile(stationDir / name), loadHqTableSet(stationDir));
    if (result != WaterSupplyTable::AddResult::Added)
        return false;
    showTable();
    return true;
}

void WaterSupplyScreen::addAllYears() {
    for (int i = 0; i < files_->count(); ++i) {
        files_->setCurrentRow(i);
        addYear(files_->item(i)->text());
    }
}

Sheet WaterSupplyScreen::reportSheet() const {
    return readSheet(this, sheet_);
}

bool WaterSupplyScreen::print() {
    return print(applicationPrinter());
}

bool WaterSupplyScreen::print(QPrinter& printer) {
    return printSheets({reportSheet()}, printer);
}

void WaterSupplyScreen::closeScreen() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace korvel
