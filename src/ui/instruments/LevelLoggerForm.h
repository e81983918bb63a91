#pragma once

#include "instruments/LevelLogger.h"
#include "instruments/LevelLoggerView.h"
#include "ui/common/AppContext.h"
#include "ui/instruments/LinkWorker.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>
#include <map>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvel {

// The water-level logger screen (`limnigraffrm`, "K.4417 limnigraf ile iletişim & sağım &
// kayıt"): reads the logger's settings and state, changes them one at a time (double-click on a
// field), downloads the memory into "c:\korvel96\hamdata.96" and converts it into the current
// station's water years, and opens the erase screen. Every exchange runs on a worker thread; the
// screen stays responsive and shows the download's progress in Text9.
class LevelLoggerForm : public QWidget {
    Q_OBJECT
public:
    LevelLoggerForm(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    ~LevelLoggerForm() override;

    // Where the exchanges run (tests put a simulator's port or a faster clock here). By default:
    // QSerialPort on the stored port, the steady clock.
    void setLinkFactory(LinkWorker::LinkFactory link);
    void setClockFactory(LinkWorker::ClockFactory clock);

    // The buttons and menu items.
    void Command1_Click(); // "Limnigraftan Bilgileri Al"
    void Command2_Click(); // "Sağım"
    void Command3_Click(); // "limnigraf hafızasını Sil": the erase screen, modally
    void Ayarlar_Click();  // the port settings screen, modally
    void Cikis_Click();    // "Çıkış": closes the screen
    // A double-click on Text1 .. Text8: the setting of that field.
    void fieldDoubleClicked(const QString& field);
    // The main window calls this each time the screen becomes the active child window; it checks
    // the port ("Secili comm port uygun deyil" when it cannot be opened). Also run on first show.
    void Form_Activate();
    // Converts the dump on disk again ("c:\korvel96\hamdata.96"), as after a download.
    void convertDump();

    // The erase buttons of both loggers read "Hafıza silindi" and are disabled once either
    // logger's memory was erased; the main window passes the rain logger's erase on here.
    void markMemoryErased();

    bool busy() const { return worker_.busy(); }
    const LevelLoggerView& view() const { return view_; }
    LinkWorker& worker() { return worker_; }

signals:
    // A command ended (its messages shown, its fields updated).
    void commandFinished();
    // Day records were written into the station's water years.
    void waterYearsChanged();
    // The erase screen opened here erased the logger's memory.
    void loggerMemoryErased();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showView();
    void setBusy(bool busy);
    void runSetting(const SettingCommand& command, int unitCodeAfter);
    void downloadFinished(DownloadOutcome outcome);
    void memoryErased();

    const AppContext& context_;
    StationHub& hub_;
    LinkWorker::LinkFactory linkFactory_;
    LinkWorker::ClockFactory clockFactory_;
    LinkWorker worker_;
    LevelLoggerView view_;
    std::map<QString, QLineEdit*> boxes_;
    QLabel* remainingDays_;
    QLabel* batteryLife_;
    QPushButton* read_;
    QPushButton* download_;
    QPushButton* erase_;
    bool shown_ = false;
};

} // namespace korvel
