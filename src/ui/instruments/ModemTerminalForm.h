#pragma once

#include "instruments/KeptDownloads.h"
#include "instruments/ModemTerminal.h"
#include "instruments/RecordingLink.h"
#include "store/HqTable.h"
#include "ui/common/AppContext.h"
#include "ui/instruments/TerminalPort.h"
#include "ui/station/CurrentStation.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <map>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedLayout;
class QTimer;
class QVBoxLayout;

namespace korvel {

// The modem terminal (`frmTerminal`, "Modem"): dials the current station's telephone number over
// the modem on the stored port at the stored speed, shows what the modem sends and passes on what
// is typed, keeps a log file of the received text, and runs the water-level logger's information
// command and its three downloads over the call. The port lives on a thread of its own
// (TerminalPort); the screen only asks and shows.
class ModemTerminalForm : public QDialog {
    Q_OBJECT
public:
    ModemTerminalForm(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    ~ModemTerminalForm() override;

    // How long closing waits for the output to go out before it asks (10 s).
    void setDrainLimit(int milliseconds) { drainLimitMs_ = milliseconds; }

    // Menus and toolbar.
    void mnuFileExit_Click();   // "Çıkış"
    void mnuOpen_Click();       // "Portu aç": opens or closes the port
    void mnuProperties_Click(); // "Genel ayarlar": the port settings screen
    void mnuDial_Click();       // "Telefon numarasını çevir"
    void mnuHangup_Click();     // "Telefonu kapat"
    void mnuOpenLog_Click();    // the log file, chosen with OpenLog
    void mnuCloseLog_Click();
    void mnuSendText_Click(); // a text file sent down the line
    // The "comm" items, by the property they name ("InputLen" ... "DSRHolding").
    void commItem_Click(const QString& property);
    // A click on the caption "KOT__SEVİYE": the four logger buttons without dialling.
    void Caption11_Click();

    // The logger commands over the call.
    void Command1_Click(); // "Limnigraftan Bilgileri Al"
    void Command2_Click(); // "Normal sağım"
    void Command4_Click(); // "Yavaş sağım"
    void Command5_Click(); // "Özel sağım"

    // A port event by its code (received data come through the port's received()).
    void MSComm1_OnComm(int code);

    TerminalPort& port() { return port_; }
    bool downloadRunning() const { return downloadRunning_; }
    const std::optional<HqTable>& rating() const { return rating_; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus(QVBoxLayout* layout);
    void buildToolBar(QVBoxLayout* layout);
    QWidget* buildFields();
    void buildTerminal(QVBoxLayout* layout);
    void Form_Load();
    void portOpened(bool open);
    void received(const QByteArray& bytes);
    void setLoggerButtons(bool enabled);
    void setCallActions(bool calling);
    void setStatus(const QString& text);
    void download(ModemDownloadMode mode);
    void downloadFinished(RecordedSession<ModemDownload> download);
    void writeToPort(const QByteArray& bytes);
    void waitForOutput();
    void releasePort();
    void finishClose();

    const AppContext& context_;
    StationHub& hub_;
    TerminalPort port_;
    std::optional<HqTable> rating_;
    std::map<QString, QLineEdit*> boxes_;
    std::map<QString, QAction*> actions_; // menu items and toolbar buttons by name
    QLabel* remainingDays_;
    QLabel* batteryLife_;
    QLabel* statusPanel_;
    QLabel* settingsPanel_;
    QLabel* connectTimePanel_;
    QLabel* caption11_;
    QLabel* imgConnected_;
    QLabel* imgNotConnected_;
    QStackedLayout* images_;
    QPlainTextEdit* txtTerm_;
    std::vector<QPushButton*> loggerButtons_;
    QTimer* connectTimer_;
    QTimer* statusTimer_;
    QElapsedTimer connectedSince_;
    QFile log_;
    bool dtrEnable_ = true;
    bool downloadRunning_ = false;
    LocalTime downloadStarted_;
    bool closeAllowed_ = false;
    int drainLimitMs_ = 10000;
};

} // namespace korvel
