#pragma once

#include "instruments/LevelLogger.h"
#include "instruments/RainLogger.h"
#include "ui/common/AppContext.h"
#include "ui/instruments/LinkWorker.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>
#include <map>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvel {

// The rain logger screen (`pluviograf`, "Pluviograf ile iletişim & sağım"): reads the rain
// logger's state and settings, changes them one at a time (double-click on a field), downloads
// the memory into "c:\korvel96\hamdata.plu" and writes its rain events into the current station's
// rainfall years, and opens the erase screen. The port is the one stored for "suvak2000". Every
// exchange runs on a worker thread.
class RainLoggerForm : public QWidget {
    Q_OBJECT
public:
    RainLoggerForm(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    ~RainLoggerForm() override;

    void setLinkFactory(LinkWorker::LinkFactory link);
    void setClockFactory(LinkWorker::ClockFactory clock);

    void Command1_Click(); // "Pluviograftan Bilgileri Al"
    void Command2_Click(); // "Sağım"
    void Command3_Click(); // "pluviografın hafızasını Sil": the erase screen, modally
    void Command4_Click(); // converts the dump on disk again
    void Ayarlar_Click();
    void Cikis_Click();
    void fieldDoubleClicked(const QString& field);
    void Form_Activate();

    bool busy() const { return worker_.busy(); }
    const RainLoggerView& view() const { return view_; }
    LinkWorker& worker() { return worker_; }

signals:
    void commandFinished();
    // Rain was written into the station's rainfall years.
    void rainYearsChanged();
    void loggerMemoryErased();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showView();
    void setBusy(bool busy);
    void runSetting(const SettingCommand& command);
    void finishCommand(const CommandOutcome& outcome);
    void downloadFinished(DownloadOutcome outcome);
    void convertImage(const Bytes& image);

    const AppContext& context_;
    StationHub& hub_;
    LinkWorker::LinkFactory linkFactory_;
    LinkWorker::ClockFactory clockFactory_;
    LinkWorker worker_;
    RainLoggerView view_;
    std::map<QString, QLineEdit*> boxes_;
    QLabel* freeMemory_;
    QLabel* batteryLife_;
    QPushButton* read_;
    QPushButton* download_;
    QPushButton* erase_;
    QPushButton* convert_;
    bool shown_ = false;
};

} // namespace korvel
