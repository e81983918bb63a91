#include "core/KeyFilters.h"
#include "store/StationLists.h"
#include "ui/common/BoxKeyFilter.h"
#include "ui/station/DirectoryList.h"
#include "ui/station/StationMapView.h"
#include "ui/station/StationScreen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

// The controls of the station screen and their layout.

namespace korvel {

namespace fs = std::filesystem;

namespace {

const QString kFlowFileHint = QStringLiteral("Çift tıklandığında akım tablosunun hesaplarına geçer");
const QString kHqFileHint = QStringLiteral("Çift tıklandığında HQ tablosu bölümüne geçer");
const QString kPasswordMaskStyle = QStringLiteral("QLineEdit { lineedit-password-character: 42; }");

QLineEdit* makeBox(const QString& name, int maxLength, const QString& hint = QString()) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    if (!hint.isEmpty())
        box->setToolTip(hint);
    return box;
}

QListWidget* makeList(const QString& name, const QString& hint = QString()) {
    auto* list = new QListWidget;
    list->setObjectName(name);
    list->setToolTip(hint);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QLabel* heading(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

int fieldWidth(std::size_t characters) {
    return static_cast<int>(characters);
}

} // namespace

void StationScreen::buildControls() {
    directories_ = new DirectoryList(context_.paths.driveRoot());
    directories_->setObjectName(stationControls::kDirectoryTree);
    connect(directories_, &DirectoryList::directoryChosen, this,
            [this](const QString& path) { changeDirectory(fs::path(path.toStdString())); });

    auto* left = new QVBoxLayout;
    left->addWidget(buildRecordBoxes());
    left->addWidget(heading(QStringLiteral("Klasörler")));
    left->addWidget(directories_, 1);
    directories_->setMinimumHeight(150);

    map_ = new StationMapView;
    map_->setObjectName(stationControls::kMap);
    connect(map_, &StationMapView::clicked, this, &StationScreen::selectStationAt);
    connect(map_, &StationMapView::mouseMovedTo, this, &StationScreen::showPosition);

    longitudeLabel_ = new QLabel;
    longitudeLabel_->setObjectName(stationControls::kLongitudeLabel);
    longitudeLabel_->setMinimumWidth(170);
    latitudeLabel_ = new QLabel;
    latitudeLabel_->setObjectName(stationControls::kLatitudeLabel);
    latitudeLabel_->setMinimumWidth(150);
    markButton_ = new QPushButton(QStringLiteral("İstasyonları işaretle"));
    markButton_->setObjectName(stationControls::kMarkStations);
    connect(markButton_, &QPushButton::clicked, this, &StationScreen::markStations);
    auto* exportButton = new QPushButton(QStringLiteral("Dışa aktar"));
    exportButton->setObjectName(stationControls::kExportSeries);
    connect(exportButton, &QPushButton::clicked, this, &StationScreen::exportSeries);

    auto* underMap = new QHBoxLayout;
    underMap->addWidget(longitudeLabel_);
    underMap->addWidget(latitudeLabel_);
    underMap->addStretch(1);
    underMap->addWidget(exportButton);
    underMap->addWidget(markButton_);

    auto* right = new QVBoxLayout;
    right->addWidget(map_, 0, Qt::AlignLeft | Qt::AlignTop);
    right->addLayout(underMap);
    right->addWidget(buildFileLists(), 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 0);
    layout->addLayout(right, 1);
}

QWidget* StationScreen::buildRecordBoxes() {
    using R = StationRecord;
    namespace c = stationControls;
    stationNumber_ =
        makeBox(c::kStationNumber, fieldWidth(R::stationNumberWidth),
                QStringLiteral("00-000 'Havza numarası iki hane - istasyon numarası en az üç hane'"));
    riverName_ = makeBox(c::kRiverName, fieldWidth(R::riverNameWidth));
    stationName_ = makeBox(c::kStationName, fieldWidth(R::stationNameWidth));
    basinName_ = makeBox(c::kBasinName, fieldWidth(R::basinNameWidth));
    openingDate_ = makeBox(c::kOpeningDate, fieldWidth(R::openingDateWidth), QStringLiteral("date"));
    elevation_ = makeBox(c::kElevation, 0);
    drainageArea_ = makeBox(c::kDrainageArea, 0, QStringLiteral("ondalıklı rakam için ',' kullanın"));
    thiessenArea_ = makeBox(c::kThiessenArea, 0);
    coordinates_ = makeBox(c::kCoordinates, fieldWidth(R::coordinatesWidth),
                           QStringLiteral("enlem boylam '00.00.00K00.00.00D' gibi giriniz"));
    modemHqFile_ = makeBox(c::kModemHqFile, fieldWidth(R::modemHqFileWidth),
                           QStringLiteral("HQ tablosundan istediğinizi işaretleyip çift klikleyiniz"));
    phoneNumber_ =
        makeBox(c::kPhoneNumber, fieldWidth(R::phoneNumberWidth), QStringLiteral("dış hat numarası"));
    dialPrefix_ = makeBox(c::kDialPrefix, fieldWidth(R::dialPrefixWidth),
                          QStringLiteral("bir dış hatta erişmek için dahili numara"));
    phoneNumber_->setStyleSheet(kPasswordMaskStyle);
    dialPrefix_->setMaximumWidth(60);
    note_ = new QPlainTextEdit;
    note_->setObjectName(c::kNote);
    note_->setTabChangesFocus(true);
    note_->setFixedHeight(80);
    connect(note_, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = note_->toPlainText();
        if (static_cast<std::size_t>(text.size()) > R::noteWidth) {
            const QSignalBlocker blocker(note_);
            note_->setPlainText(text.left(static_cast<qsizetype>(R::noteWidth)));
            note_->moveCursor(QTextCursor::End);
        }
    });
    modemHqFile_->installEventFilter(this);

    region_ = new QComboBox;
    region_->setObjectName(c::kRegion);
    region_->setEditable(true);
    region_->setInsertPolicy(QComboBox::NoInsert);
    region_->lineEdit()->setMaxLength(fieldWidth(R::regionNameWidth));
    connect(region_, &QComboBox::activated, this, &StationScreen::regionChosen);

    for (QObject* box : {static_cast<QObject*>(stationNumber_), static_cast<QObject*>(riverName_),
                         static_cast<QObject*>(stationName_), static_cast<QObject*>(basinName_),
                         static_cast<QObject*>(openingDate_), static_cast<QObject*>(elevation_),
                         static_cast<QObject*>(drainageArea_), static_cast<QObject*>(thiessenArea_),
                         static_cast<QObject*>(coordinates_), static_cast<QObject*>(note_)})
        BoxKeyFilter::install(box, stationBoxKey);
    BoxKeyFilter::install(phoneNumber_, stationDialBoxKey);
    BoxKeyFilter::install(dialPrefix_, stationDialBoxKey);

    passwordButton_ = new QPushButton(QStringLiteral("Şifre"));
    passwordButton_->setObjectName(c::kPassword);
    passwordButton_->hide();
    connect(passwordButton_, &QPushButton::clicked, this, &StationScreen::askPassword);

    auto* areas = new QHBoxLayout;
    areas->addWidget(drainageArea_);
    areas->addWidget(thiessenArea_);

    auto* box = new QGroupBox(QStringLiteral("İstasyon bilgileri"));
    auto* grid = new QGridLayout(box);
    int row = 0;
    const auto addRow = [&](const QString& label, QWidget* field) {
        grid->addWidget(new QLabel(label), row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    addRow(QStringLiteral("İstasyon No"), stationNumber_);
    addRow(QStringLiteral("Bölge No - Adı "), region_);
    addRow(QStringLiteral("Suyun adi"), riverName_);
    addRow(QStringLiteral("İstasyonun adi"), stationName_);
    addRow(QStringLiteral("Havza adı"), basinName_);
    addRow(QStringLiteral("Açılış tarihi"), openingDate_);
    addRow(QStringLiteral("Kot (m.)"), elevation_);
    grid->addWidget(new QLabel(QStringLiteral("Yağış alanı (km2)")), row, 0);
    grid->addLayout(areas, row++, 1);
    addRow(QStringLiteral("Koordinat"), coordinates_);
    addRow(QStringLiteral("Modem İçin HQ dosyası"), modemHqFile_);

    auto* modem = new QGroupBox(QStringLiteral("MODEM"));
    auto* modemRow = new QHBoxLayout(modem);
    modemRow->addWidget(new QLabel(QStringLiteral("Telefon no")));
    modemRow->addWidget(dialPrefix_);
    modemRow->addWidget(phoneNumber_, 1);
    modemRow->addWidget(passwordButton_);
    grid->addWidget(modem, row++, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Not:(İstasyonun tarifi ve düşünceler.)")), row++, 0, 1, 2);
    grid->addWidget(note_, row++, 0, 1, 2);
    box->setFixedWidth(340);
    return box;
}

QWidget* StationScreen::buildFileLists() {
    namespace c = stationControls;
    flowFiles_ = makeList(c::kFlowFiles, kFlowFileHint);
    hqFiles_ = makeList(c::kHqFiles, kHqFileHint);
    rainFiles_ = makeList(c::kRainFiles);
    flowSelection_ = makeList(c::kFlowSelection);
    rainSelection_ = makeList(c::kRainSelection);
    flowSelection_->setFixedHeight(flowSelection_->fontMetrics().height() + 10);
    rainSelection_->setFixedHeight(3 * (rainSelection_->fontMetrics().height() + 2) + 8);

    connect(flowFiles_, &QListWidget::currentRowChanged, this, &StationScreen::flowFileClicked);
    connect(hqFiles_, &QListWidget::currentRowChanged, this, &StationScreen::hqFileClicked);
    connect(rainFiles_, &QListWidget::currentRowChanged, this, &StationScreen::rainFileClicked);
    connect(flowFiles_, &QListWidget::itemDoubleClicked, this, [this] { emit flowFileOpened(); });
    connect(hqFiles_, &QListWidget::itemDoubleClicked, this, [this] { emit hqFileOpened(); });
    connect(rainFiles_, &QListWidget::itemDoubleClicked, this, [this] { emit rainFileOpened(); });
    connect(flowSelection_, &QListWidget::itemDoubleClicked, this, &StationScreen::clearFlowSelection);
    connect(rainSelection_, &QListWidget::itemDoubleClicked, this, &StationScreen::clearRainSelection);
    connect(rainSelection_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            state_.rainSelectionCurrent = row;
    });

    month_ = new QComboBox;
    month_->setObjectName(c::kMonth);
    connect(month_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            state_.monthIndex = index;
    });

    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(heading(QStringLiteral("Akım dosyaları")), 0, 0);
    grid->addWidget(heading(QStringLiteral("HQ dosyaları")), 0, 1);
    grid->addWidget(heading(QStringLiteral("Yağış dosyaları")), 0, 2);
    grid->addWidget(flowFiles_, 1, 0);
    grid->addWidget(hqFiles_, 1, 1);
    grid->addWidget(rainFiles_, 1, 2);
    grid->addWidget(heading(QStringLiteral("Seçilen Akım dosyası")), 2, 0, 1, 2);
    grid->addWidget(heading(QStringLiteral("Ay")), 2, 2);
    grid->addWidget(flowSelection_, 3, 0, 1, 2, Qt::AlignTop);
    grid->addWidget(month_, 3, 2, Qt::AlignTop);
    grid->addWidget(heading(QStringLiteral("Seçilen yağış dosyaları")), 4, 0, 1, 3);
    grid->addWidget(rainSelection_, 5, 0, 1, 3);
    grid->setRowStretch(1, 1);
    for (QListWidget* list : {flowFiles_, hqFiles_, rainFiles_})
        list->setMinimumHeight(110);
    return panel;
}

} // namespace korvel
