#include "ui/instruments/ModemTerminalForm.h"

#include "core/Cp1254.h"
#include "instruments/CommEvents.h"
#include "instruments/LevelLogger.h"
#include "platform/Dialogs.h"
#include "platform/PortDevices.h"
#include "ui/instruments/LevelImageConversion.h"
#include "ui/instruments/LoggerFields.h"
#include "ui/instruments/PortSettingsForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
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
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <tuple>

namespace korvel {

namespace {

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QString kDataNotSent = QStringLiteral("Data cannot be sent");
constexpr int kStatusResetMs = 3000;

// The "comm" items: the port property each names, and whether this port can change it.
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

ModemTerminalForm::ModemTerminalForm(const AppContext& context, StationHub& hub, QWidget* parent)
    : QDialog(parent), context_(context), hub_(hub),
      port_(
          [settings = context.settings]() {
              auto link = std::make_unique<QtSerialLink>(portDeviceOverride(settings));
              const QString speed = settings ? settings->comSpeed() : QString();
              link->setLineSettings(modemLineSettings(speed.toStdString()));
              const QString port = settings ? settings->comPort() : QString();
              if (!port.isEmpty())
                  link->setPort(port.toStdString());
              return link;
          },
          [] { return std::make_unique<SteadyClock>(); }, this) {
    setObjectName(QStringLiteral("frmTerminal"));
    setWindowTitle(q(kModemCaption));

    auto* layout = new QVBoxLayout(this);
    buildMenus(layout);
    buildToolBar(layout);

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
    statusPanel_ = panel("Status", q(statusPanelText()));
    settingsPanel_ = panel("Settings", QStringLiteral("Settings: "));
    connectTimePanel_ = panel("ConnectTime", QString());
    layout->addWidget(status);

    connectTimer_ = new QTimer(this);
    connectTimer_->setInterval(1000);
    connect(connectTimer_, &QTimer::timeout, this, [this] {
        connectTimePanel_->setText(QLatin1Char(' ') +
                                   QString::fromStdString(connectTimeText(connectedSince_.elapsed() / 1000)));
    });
    statusTimer_ = new QTimer(this);
    statusTimer_->setSingleShot(true);
    statusTimer_->setInterval(kStatusResetMs);
    connect(statusTimer_, &QTimer::timeout, this, [this] { setStatus(QString()); });

    connect(&port_, &TerminalPort::received, this, &ModemTerminalForm::received);
    connect(&port_, &TerminalPort::commEvent, this, &ModemTerminalForm::MSComm1_OnComm);
    connect(&port_, &TerminalPort::openChanged, this, &ModemTerminalForm::portOpened);

    setCallActions(false);
    actions_["CloseLogFile"]->setEnabled(false);
    setLoggerButtons(false);
    Form_Load();
}

ModemTerminalForm::~ModemTerminalForm() = default;

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

void ModemTerminalForm::setLinkFactory(TerminalPort::LinkFactory link) {
    port_.setLinkFactory(std::move(link));
}

void ModemTerminalForm::setClockFactory(TerminalPort::ClockFactory clock) {
    port_.setClockFactory(std::move(clock));
}

void ModemTerminalForm::Form_Load() {
    const CurrentStation& station = hub_.current();
    const std::string file = trimmed(station.record.modemHqFile);
    if (file.empty())
        return;
    std::filesystem::path path = context_.paths.resolve(file);
    if (path.is_relative() && !station.stationDir.empty())
        path = station.stationDir / path;
    rating_ = readHqTable(path);
}

// ---- the port

void ModemTerminalForm::portOpened(bool open) {
    actions_["mnuOpen"]->setChecked(open);
    images_->setCurrentWidget(open ? imgConnected_ : imgNotConnected_);
    const QString speed = context_.settings ? context_.settings->comSpeed() : QString();
    settingsPanel_->setText(
        QStringLiteral("Settings: ") +
        (open ? QString::fromStdString(modemLineSettings(speed.toStdString())) : QString()));
}

void ModemTerminalForm::mnuOpen_Click() {
    if (port_.isOpen()) {
        port_.close();
        return;
    }
    port_.open([this](bool open) {
        if (!open)
            showMessage(this, q(kPortUnsuitable));
    });
}

void ModemTerminalForm::mnuProperties_Click() {
    PortSettingsForm form(context_.settings, this);
    form.exec();
}

void ModemTerminalForm::commItem_Click(const QString& property) {
    if (property == QLatin1String("DTREnable")) {
        dtrEnable_ = !dtrEnable_;
        actions_["mnuDTREnable"]->setChecked(dtrEnable_);
        port_.setDataTerminalReady(dtrEnable_);
        return;
    }
    if (property.endsWith(QLatin1String("Holding"))) {
        const std::optional<LineState>& lines = port_.lines();
        bool state = false;
        if (lines)
            state = property == QLatin1String("CDHolding")    ? lines->cd
                    : property == QLatin1String("CTSHolding") ? lines->cts
                                                              : lines->dsr;
        showMessage(this, QString::fromStdString(holdingText(property.toStdString(), state)));
        return;
    }
    // InputLen, RThreshold, SThreshold and ParityReplace have no counterpart on this port: every
    // byte that arrives is shown, and a parity fault is reported rather than replaced.
    showMessage(this, property + QString::fromUtf8(" ayarı bu seri port tarafından desteklenmiyor."));
}

void ModemTerminalForm::writeToPort(const QByteArray& bytes) {
    if (port_.isOpen())
        port_.write(bytes);
}

// ---- the call

void ModemTerminalForm::setCallActions(bool calling) {
    actions_["mnuHangup"]->setEnabled(calling);
    actions_["HangUpPhone"]->setEnabled(calling);
    actions_["mnuDial"]->setEnabled(!calling);
    actions_["DialPhoneNumber"]->setEnabled(!calling);
}

void ModemTerminalForm::setLoggerButtons(bool enabled) {
    for (QPushButton* button : loggerButtons_)
        button->setEnabled(enabled);
}

void ModemTerminalForm::mnuDial_Click() {
    const StationRecord& record = hub_.current().record;
    const std::string number = dialNumber(record.dialPrefix, record.phoneNumber);
    if (number.empty())
        return;
    port_.open([this, number](bool open) {
        if (!open) {
            showMessage(this, q(kPortUnsuitable));
            return;
        }
        setCallActions(true);
        actions_["OpenLogFile"]->setEnabled(!log_.isOpen());
        actions_["CloseLogFile"]->setEnabled(log_.isOpen());
        setLoggerButtons(true);
        port_.write(QByteArray::fromStdString(dialCommand(number)));
        connectedSince_.start();
        connectTimer_->start();
    });
}

void ModemTerminalForm::mnuHangup_Click() {
    port_.write(QByteArray(modem::kHangUp.data(), static_cast<qsizetype>(modem::kHangUp.size())));
    port_.pulseDataTerminalReady(dtrEnable_);
    setCallActions(false);
    setLoggerButtons(false);
    port_.close();
    settingsPanel_->setText(QStringLiteral("Settings: "));
    actions_["mnuOpen"]->setChecked(false);
    images_->setCurrentWidget(imgNotConnected_);
    connectTimer_->stop();
    connectTimePanel_->clear();
    setStatus(QString());
}

void ModemTerminalForm::Caption11_Click() {
    setLoggerButtons(true);
}

// ---- what the port reports

void ModemTerminalForm::setStatus(const QString& text) {
    statusPanel_->setText(q(statusPanelText()) + text);
}

void ModemTerminalForm::received(const QByteArray& bytes) {
    if (downloadRunning_)
        return;
    const TerminalText shown = terminalText(Bytes(bytes.begin(), bytes.end()));
    QTextCursor cursor = txtTerm_->textCursor();
    cursor.movePosition(QTextCursor::End);
    for (std::size_t i = 0; i < shown.erase; ++i)
        cursor.deletePreviousChar();
    cursor.insertText(QString::fromStdString(shown.text));
    txtTerm_->setTextCursor(cursor);
    txtTerm_->ensureCursorVisible();
    if (log_.isOpen()) {
        log_.write(bytes);
        log_.flush();
    }
}

void ModemTerminalForm::MSComm1_OnComm(int code) {
    if (downloadRunning_)
        return;
    const CommEventText event = commEventText(code);
    if (event.kind == CommEventKind::Data)
        return;
    setStatus(q(event.text));
    if (event.kind == CommEventKind::Notice) {
        statusTimer_->start();
        return;
    }
    QApplication::beep();
    if (!askOkCancel(this, q(event.text), q(kCommErrorTitle)))
        port_.close();
}

// ---- the log file and the text file

void ModemTerminalForm::mnuOpenLog_Click() {
    const auto file = askFileName(this, QString::fromUtf8("Kayıt dosyasını aç"),
                                  QStringLiteral("Log (*.log);;* (*.*)"), true);
    if (!file)
        return;
    log_.close();
    log_.setFileName(*file);
    if (!log_.open(QIODevice::WriteOnly | QIODevice::Append)) {
        showMessage(this, QString::fromUtf8("Kayıt dosyası açılamadı: ") + *file);
        return;
    }
    actions_["OpenLogFile"]->setEnabled(false);
    actions_["CloseLogFile"]->setEnabled(true);
}

void ModemTerminalForm::mnuCloseLog_Click() {
    log_.close();
    actions_["OpenLogFile"]->setEnabled(true);
    actions_["CloseLogFile"]->setEnabled(false);
}

void ModemTerminalForm::mnuSendText_Click() {
    const auto file = askFileName(this, QString::fromUtf8("Metin dosyası gönder"),
                                  QStringLiteral("Metin (*.txt);;* (*.*)"), false);
    if (!file)
        return;
    QFile text(*file);
    if (!text.open(QIODevice::ReadOnly)) {
        showMessage(this, QString::fromUtf8("Dosya açılamadı: ") + *file);
        return;
    }
    writeToPort(text.readAll());
}

// ---- the logger commands

void ModemTerminalForm::Command1_Click() {
    if (port_.busy())
        return;
    setLoggerButtons(false);
    port_.run<ModemInformation>(
        [](Exchange& exchange) { return readModemInformation(exchange); },
        [this](ModemInformation info) {
            setLoggerButtons(true);
            if (!info.ok) {
                showMessage(this, QString::fromStdString(info.message));
            } else {
                const CurrentStation& station = hub_.current();
                const ModemInformationView view = showModemBlock(info.block, rating_ ? &*rating_ : nullptr,
                                                                 station.record.elevation, context_.locale);
                boxes_["Text11"]->clear();
                boxes_["Text12"]->clear();
                showLoggerFields(view.logger.fields, boxes_, remainingDays_, batteryLife_);
            }
            emit commandFinished();
        });
}

void ModemTerminalForm::Command2_Click() {
    download(ModemDownloadMode::Normal);
}

void ModemTerminalForm::Command4_Click() {
    download(ModemDownloadMode::Slow);
}

void ModemTerminalForm::Command5_Click() {
    download(ModemDownloadMode::Special);
}

void ModemTerminalForm::download(ModemDownloadMode mode) {
    if (port_.busy())
        return;
    setEnabled(false);
    downloadRunning_ = true;
    TerminalPort* port = &port_;
    QLineEdit* progress = boxes_["Text9"];
    port_.run<ModemDownload>(
        [mode, port, progress](Exchange& exchange) {
            return downloadOverModem(exchange, mode, [port, progress](std::size_t received) {
                port->post([progress, received] { progress->setText(QString::number(received)); });
            });
        },
        [this](ModemDownload outcome) { downloadFinished(std::move(outcome)); });
}

void ModemTerminalForm::downloadFinished(ModemDownload outcome) {
    downloadRunning_ = false;
    setEnabled(true);
    if (!outcome.ok)
        showMessage(this, QString::fromStdString(outcome.message));
    else if (storeAndConvertLevelImage(this, context_, hub_, outcome.image, boxes_["Text9"]))
        emit waterYearsChanged();
    emit commandFinished();
}

// ---- closing

void ModemTerminalForm::mnuFileExit_Click() {
    close();
}

void ModemTerminalForm::reject() {
    if (closeAllowed_)
        QDialog::reject();
    else
        close();
}

void ModemTerminalForm::closeEvent(QCloseEvent* event) {
    if (closeAllowed_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    if (port_.isOpen())
        waitForOutput();
    else
        finishClose();
}

void ModemTerminalForm::waitForOutput() {
    port_.drain(drainLimitMs_, [this](bool drained) {
        if (drained) {
            finishClose();
            return;
        }
        switch (askAbortRetryIgnore(this, kDataNotSent)) {
        case AbortRetryIgnore::Abort:
            return;
        case AbortRetryIgnore::Retry:
            waitForOutput();
            return;
        case AbortRetryIgnore::Ignore:
            finishClose();
            return;
        }
    });
}

void ModemTerminalForm::finishClose() {
    port_.close();
    log_.close();
    connectTimer_->stop();
    closeAllowed_ = true;
    close();
}

bool ModemTerminalForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtTerm_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        QByteArray bytes;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            bytes = "\r";
        else if (!key->text().isEmpty())
            bytes = QByteArray::fromStdString(utf8ToCp1254(key->text().toStdString()));
        if (bytes.isEmpty())
            return false;
        writeToPort(bytes);
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == caption11_) {
            Caption11_Click();
            return true;
        }
        if (watched == imgConnected_ || watched == imgNotConnected_) {
            mnuOpen_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace korvel
