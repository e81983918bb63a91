#pragma once

#include "instruments/LevelLogger.h"
#include "instruments/LevelLoggerView.h"
#include "ui/instruments/LoggerScreen.h"

class QLabel;
class QPushButton;

namespace korvel {

// The water-level logger screen (`limnigraffrm`, "K.4417 limnigraf ile iletişim & sağım &
// kayıt"): reads the logger's settings and state, changes them one at a time (double-click on a
// field), downloads the memory into "c:\korvel96\hamdata.96" and converts it into the current
// station's water years, and opens the erase screen. Every exchange runs on a worker thread; the
// screen stays responsive and shows the download's progress in Text9.
class LevelLoggerForm : public LoggerScreen {
    Q_OBJECT
public:
    LevelLoggerForm(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    ~LevelLoggerForm() override;

    // The buttons and menu items.
    void Command1_Click(); // "Limnigraftan Bilgileri Al"
    void Command2_Click(); // "Sağım"
    void Command3_Click(); // "limnigraf hafızasını Sil": the erase screen, modally
    // A double-click on Text1 .. Text8: the setting of that field.
    void fieldDoubleClicked(const QString& field) override;
    // Converts the dump on disk again ("c:\korvel96\hamdata.96"), as after a download.
    void convertDump();

    // The erase buttons of both loggers read "Hafıza silindi" and are disabled once either
    // logger's memory was erased; the main window passes the rain logger's erase on here.
    void markMemoryErased();

    const LevelLoggerView& view() const { return view_; }

signals:
    // Day records were written into the station's water years.
    void waterYearsChanged();

private:
    void setBusy(bool busy);
    void runSetting(const SettingCommand& command, int unitCodeAfter);
    void downloadFinished(RecordedDownload download);
    void reconvertKept(const KeptDownload& kept) override;

    LevelLoggerView view_;
    QPushButton* read_;
    QPushButton* download_;
    QPushButton* erase_;
};

} // namespace korvel
