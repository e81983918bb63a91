#pragma once

#include "instruments/LevelLogger.h"
#include "instruments/RainLogger.h"
#include "ui/instruments/LoggerScreen.h"

class QLabel;
class QPushButton;

namespace korvel {

// The rain logger screen (`pluviograf`, "Pluviograf ile iletişim & sağım"): reads the rain
// logger's state and settings, changes them one at a time (double-click on a field), downloads
// the memory into "c:\korvel96\hamdata.plu" and writes its rain events into the current station's
// rainfall years, and opens the erase screen. The port is the one stored for "suvak2000". Every
// exchange runs on a worker thread.
class RainLoggerForm : public LoggerScreen {
    Q_OBJECT
public:
    RainLoggerForm(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    ~RainLoggerForm() override;

    void Command1_Click(); // "Pluviograftan Bilgileri Al"
    void Command2_Click(); // "Sağım"
    void Command3_Click(); // "pluviografın hafızasını Sil": the erase screen, modally
    void Command4_Click(); // converts the dump on disk again
    void fieldDoubleClicked(const QString& field) override;

    const RainLoggerView& view() const { return view_; }

signals:
    // Rain was written into the station's rainfall years.
    void rainYearsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setBusy(bool busy);
    void runSetting(const SettingCommand& command);
    void finishCommand(const CommandOutcome& outcome);
    void downloadFinished(RecordedDownload download);
    void reconvertKept(const KeptDownload& kept) override;
    // `kept`, when given, has the conversion noted in its description.
    void convertImage(const Bytes& image, int bucketFactor, KeptDownload* kept = nullptr);

    RainLoggerView view_;
    QPushButton* read_;
    QPushButton* download_;
    QPushButton* erase_;
    QPushButton* convert_;
};

} // namespace korvel
