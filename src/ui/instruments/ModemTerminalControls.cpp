#include "instruments/CommEvents.h"
#include "ui/instruments/ModemTerminalForm.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <tuple>

// The controls of the modem terminal and their layout.

namespace korvel {

namespace {

// The "comm" items and the port property each names.
struct CommItem {
    const char* objectName;
    const char* caption;
    const char* property;
};
constexpr CommItem kCommItems[] = {
    {"mnuInputLen", "&InputLen...", "InputLen"},       {"mnuRThreshold", "&RThreshold...", "RThreshold"},
    {"mnuSThreshold", "&SThreshold...", "SThreshold"}, {"mnuParRep", "P&arityReplace...", "ParityReplace"},
    {"mnuDTREnable", "&DTREnable", "DTREnable"},       {"mnuCDHolding", "&CDHolding...", "CDHolding"},
    {"mnuCTSHolding", "CTSH&olding...", "CTSHolding"}, {"mnuDSRHolding", "DSRHo&lding...", "DSRHolding"},
};

// The toolbar's buttons by key, their captions and icons.
struct ToolButton {
    const char* key;
    const char* caption;
};
constexpr ToolButton kToolButtons[] = {
    {"OpenLogFile", "Kayıt dosyasını aç"},
    {"CloseLogFile", "Kayıt dosyasını kapat"},
    {"DialPhoneNumber", "Telefon numarasını çevir"},
    {"HangUpPhone", "Telefonu kapat"},
    {"Properties", "Genel ayarlar"},
    {"TransmitTextFile", "Metin dosyası gönder"},
};

// A plug drawn in the colour of the connection state.
QPixmap connectionImage(const QColor& colour) {
    QPixmap image(24, 24);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(4, 4, 16, 16));
    return image;
}

} // namespace

void ModemTerminalForm::buildMenus(QVBoxLayout* layout) {
    auto* bar = new QMenuBar(this);
    auto item = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        actions_[action->objectName()] = action;
        return action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("Dosya"));
    file->setObjectName(QStringLiteral("mnuFile"));
    item(file, "mnuFileExit", QString::fromUtf8("Çıkış"), &ModemTerminalForm::mnuFileExit_Click);

    QMenu* commPort = bar->addMenu(QStringLiteral("&CommPort"));
    commPort->setObjectName(QStringLiteral("mnuPort"));
    item(commPort, "mnuOpen", QString::fromUtf8("Portu aç"), &ModemTerminalForm::mnuOpen_Click)
        ->setCheckable(true);
    item(commPort, "mnuProperties", QStringLiteral("Genel ayarlar"), &ModemTerminalForm::mnuProperties_Click);
    QMenu* comm = commPort->addMenu(QStringLiteral("comm"));
    comm->setObjectName(QStringLiteral("mnuComm"));
    for (const CommItem& c : kCommItems) {
        const QString property = QString::fromLatin1(c.property);
        item(comm, c.objectName, QString::fromLatin1(c.caption),
             [this, property] { commItem_Click(property); });
    }
    actions_["mnuDTREnable"]->setCheckable(true);
    actions_["mnuDTREnable"]->setChecked(dtrEnable_);

    QMenu* call = bar->addMenu(QString::fromUtf8("Başlat"));
    call->setObjectName(QStringLiteral("mnuCall"));
    item(call, "mnuDial", QString::fromUtf8("Telefon numarasını çevir"), &ModemTerminalForm::mnuDial_Click);
    item(call, "mnuHangup", QStringLiteral("Telefonu kapat"), &ModemTerminalForm::mnuHangup_Click);
    layout->setMenuBar(bar);
}

void ModemTerminalForm::buildToolBar(QVBoxLayout* layout) {
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("tbrToolBar"));
    // The icons are drawings; where the platform cannot draw them the buttons show their captions.
    const bool drawn = QImageReader::supportedImageFormats().contains("svg");
    toolBar->setToolButtonStyle(drawn ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
    const std::map<QString, void (ModemTerminalForm::*)()> handlers = {
        {QStringLiteral("OpenLogFile"), &ModemTerminalForm::mnuOpenLog_Click},
        {QStringLiteral("CloseLogFile"), &ModemTerminalForm::mnuCloseLog_Click},
        {QStringLiteral("DialPhoneNumber"), &ModemTerminalForm::mnuDial_Click},
        {QStringLiteral("HangUpPhone"), &ModemTerminalForm::mnuHangup_Click},
        {QStringLiteral("Properties"), &ModemTerminalForm::mnuProperties_Click},
        {QStringLiteral("TransmitTextFile"), &ModemTerminalForm::mnuSendText_Click},
    };
    for (const ToolButton& b : kToolButtons) {
        const QString key = QString::fromLatin1(b.key);
        QAction* action = toolBar->addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(key)),
                                             QString::fromUtf8(b.caption));
        action->setObjectName(key);
        action->setToolTip(QString::fromUtf8(b.caption));
        connect(action, &QAction::triggered, this, handlers.at(key));
        actions_[key] = action;
    }

    imgConnected_ = new QLabel(this);
    imgConnected_->setObjectName(QStringLiteral("imgConnected"));
    imgConnected_->setPixmap(connectionImage(Qt::darkGreen));
    imgConnected_->setToolTip(QStringLiteral("Portu kapat"));
    imgNotConnected_ = new QLabel(this);
    imgNotConnected_->setObjectName(QStringLiteral("imgNotConnected"));
    imgNotConnected_->setPixmap(connectionImage(Qt::red));
    imgNotConnected_->setToolTip(QString::fromUtf8("Portu aç"));
    auto* holder = new QWidget(this);
    images_ = new QStackedLayout(holder);
    images_->addWidget(imgNotConnected_);
    images_->addWidget(imgConnected_);
    imgConnected_->installEventFilter(this);
    imgNotConnected_->installEventFilter(this);
    toolBar->addSeparator();
    toolBar->addWidget(holder);
    layout->addWidget(toolBar);
}

QWidget* ModemTerminalForm::buildFields() {
    auto* panel = new QWidget(this);
    auto box = [this, panel](const char* name) {
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        boxes_[edit->objectName()] = edit;
        return edit;
    };
    auto caption = [panel](const char* name, const char* text) {
        auto* label = new QLabel(QString::fromUtf8(text), panel);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    auto* fields = new QGridLayout(panel);
    auto* level = new QHBoxLayout;
    level->addWidget(box("Text1"), 1);
    level->addWidget(box("Text8"));
    boxes_["Text8"]->setMaximumWidth(50);
    fields->addWidget(caption("Caption1", "EŞEL SEVİYESİ"), 0, 0);
    fields->addLayout(level, 0, 1);
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"Text2", "Caption2", "LİMNİGRAF SAATİ"}, {"Text3", "Caption3", "LİMNİGRAF TARİHİ"},
        {"Text4", "Caption4", "KAYIT ARALIĞI"},   {"Text5", "Caption5", "İSTASYON ADI"},
        {"Text6", "Caption6", "İSTASYON NO"},     {"Text7", "Caption7", "SUYUN ADI"},
        {"Text11", "Caption11", "KOT__SEVİYE"},   {"Text12", "Caption12", "DEBİ VEYA HACİM"}};
    int row = 1;
    for (const auto& [name, label, text] : rows) {
        fields->addWidget(caption(label, text), row, 0);
        fields->addWidget(box(name), row, 1);
        ++row;
    }
    caption11_ = panel->findChild<QLabel*>(QStringLiteral("Caption11"));
    caption11_->installEventFilter(this);

    remainingDays_ = new QLabel(panel);
    remainingDays_->setObjectName(QStringLiteral("Label9"));
    batteryLife_ = new QLabel(panel);
    batteryLife_->setObjectName(QStringLiteral("Label8"));
    fields->addWidget(remainingDays_, row++, 0, 1, 2);
    fields->addWidget(batteryLife_, row++, 0, 1, 2);
    fields->addWidget(box("Text10"), row++, 0, 1, 2);
    fields->addWidget(box("Text9"), row++, 0, 1, 2);

    const std::tuple<const char*, const char*, void (ModemTerminalForm::*)()> buttons[] = {
        {"Command1", "Limnigraftan Bilgileri Al", &ModemTerminalForm::Command1_Click},
        {"Command2", "Normal sağım", &ModemTerminalForm::Command2_Click},
        {"Command4", "Yavaş sağım", &ModemTerminalForm::Command4_Click},
        {"Command5", "Özel sağım", &ModemTerminalForm::Command5_Click},
    };
    auto* buttonRow = new QGridLayout;
    int index = 0;
    for (const auto& [name, text, handler] : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(text), panel);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, handler);
        buttonRow->addWidget(button, index / 2, index % 2);
        loggerButtons_.push_back(button);
        ++index;
    }
    loggerButtons_[0]->setToolTip(QString::fromUtf8("Limnigraftan genel bilgileri alır"));
    loggerButtons_[1]->setToolTip(QString::fromUtf8("Limnigraftan kayıtlı bilgileri sağar"));
    fields->addLayout(buttonRow, row, 0, 1, 2);
    return panel;
}

void ModemTerminalForm::buildTerminal(QVBoxLayout* layout) {
    auto* middle = new QHBoxLayout;
    middle->addWidget(buildFields(), 0);
    txtTerm_ = new QPlainTextEdit(this);
    txtTerm_->setObjectName(QStringLiteral("txtTerm"));
    txtTerm_->setReadOnly(true);
    txtTerm_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtTerm_->installEventFilter(this);
    QPalette palette = txtTerm_->palette();
    palette.setColor(QPalette::Text, Qt::blue);
    txtTerm_->setPalette(palette);
    middle->addWidget(txtTerm_, 1);
    layout->addLayout(middle, 1);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("sbrStatus"));
    status->setSizeGripEnabled(false);
    auto panel = [status](const char* name, const QString& text) {
        auto* label = new QLabel(text, status);
        label->setObjectName(QString::fromLatin1(name));
        status->addPermanentWidget(label, 1);
        return label;
    };
    statusPanel_ = panel("Status", QString::fromStdString(statusPanelText()));
    settingsPanel_ = panel("Settings", QStringLiteral("Settings: "));
    connectTimePanel_ = panel("ConnectTime", QString());
    layout->addWidget(status);
}

} // namespace korvel
