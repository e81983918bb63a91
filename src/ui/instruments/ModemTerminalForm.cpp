#include "ui/instruments/ModemTerminalForm.h"

#include "core/Cp1254.h"
#include "instruments/CommEvents.h"
#include "instruments/LevelLogger.h"
#include "instruments/Reconversion.h"
#include "platform/Dialogs.h"
#include "platform/PortDevices.h"
#include "ui/common/QtText.h"
#include "ui/instruments/KeptDownloadsPanel.h"
#include "ui/instruments/LevelImageConversion.h"
#include "ui/instruments/LoggerFields.h"
#include "ui/instruments/PortSettingsForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

namespace korvel {

namespace {

const QString kDataNotSent = QStringLiteral("Data cannot be sent");
constexpr int kStatusResetMs = 3000;

// QSerialPort on the stored port at the stored speed, as stored when the port is opened.
TerminalPort::LinkFactory modemPortLink(SettingsStore* settings) {
    return [settings] {
        auto link = std::make_unique<QtSerialLink>(portDeviceOverride(settings));
        const QString speed = settings ? settings->comSpeed() : QString();
        link->setLineSettings(modemLineSettings(speed.toStdString()));
        const QString port = settings ? settings->comPort() : QString();
        if (!port.isEmpty())
            link->setPort(port.toStdString());
        return link;
    };
}

} // namespace

ModemTerminalForm::ModemTerminalForm(const AppContext& context, StationHub& hub, QWidget* parent)
    : QDialog(parent), context_(context), hub_(hub),
      port_(
          modemPortLink(context.settings), [] { return std::make_unique<SteadyClock>(); }, this) {
    setObjectName(QStringLiteral("frmTerminal"));
    setWindowTitle(qText(kModemCaption));

    auto* layout = new QVBoxLayout(this);
    buildMenus(layout);
    buildToolBar(layout);
    buildTerminal(layout);

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
            showMessage(this, qText(kPortUnsuitable));
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
            showMessage(this, qText(kPortUnsuitable));
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
    statusPanel_->setText(qText(statusPanelText()) + text);
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
    setStatus(qText(event.text));
    if (event.kind == CommEventKind::Notice) {
        statusTimer_->start();
        return;
    }
    QApplication::beep();
    if (!askOkCancel(this, qText(event.text), qText(kCommErrorTitle)))
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
    boxes_["Text9"]->clear();
    port_.run<ModemInformation>(
        [](Exchange& exchange) { return readModemInformation(exchange); },
        [this](ModemInformation info) {
            setLoggerButtons(true);
            if (!info.ok) {
                showMessage(this, QString::fromStdString(info.message));
                return;
            }
            const CurrentStation& station = hub_.current();
            const ModemInformationView view = showModemBlock(info.block, rating_ ? &*rating_ : nullptr,
                                                             station.record.elevation, context_.locale);
            boxes_["Text11"]->clear();
            boxes_["Text12"]->clear();
            showLoggerFields(view.logger.fields, boxes_, remainingDays_, batteryLife_);
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
    boxes_["Text9"]->clear();
    downloadRunning_ = true;
    TerminalPort* port = &port_;
    QLineEdit* progress = boxes_["Text9"];
    downloadStarted_ = localNow();
    port_.run<RecordedSession<ModemDownload>>(
        [mode, port, progress](Exchange& exchange) {
            return recordSession(exchange, [&](Exchange& recorded) {
                return downloadOverModem(recorded, mode, [port, progress](std::size_t received) {
                    port->post([progress, received] { progress->setText(QString::number(received)); });
                });
            });
        },
        [this](RecordedSession<ModemDownload> download) { downloadFinished(std::move(download)); });
}

void ModemTerminalForm::downloadFinished(RecordedSession<ModemDownload> download) {
    downloadRunning_ = false;
    setEnabled(true);
    const ModemDownload& outcome = download.result;
    DownloadSession session;
    session.instrument = std::string(kModemInstrument);
    session.port = context_.settings ? context_.settings->comPort().toStdString() : std::string();
    session.started = downloadStarted_;
    describeDownload(session, outcome);
    session.settings = levelImageSettings(outcome.image);
    session.log = std::move(download.log);
    std::optional<KeptDownload> kept = keepInStation(this, hub_.current().stationDir, session);
    if (!outcome.ok)
        showMessage(this, QString::fromStdString(outcome.message));
    else
        storeAndConvertLevelImage(this, context_, hub_, outcome.image, boxes_["Text9"], outcome.receivedEnd,
                                  kept ? &*kept : nullptr);
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
    // With the port open the screen first lets the output go; it closes once that is settled.
    if (!closeAllowed_ && port_.isOpen()) {
        event->ignore();
        waitForOutput();
        return;
    }
    releasePort();
    QDialog::closeEvent(event);
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

void ModemTerminalForm::releasePort() {
    port_.close();
    log_.close();
    connectTimer_->stop();
    closeAllowed_ = true;
}

void ModemTerminalForm::finishClose() {
    releasePort();
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
