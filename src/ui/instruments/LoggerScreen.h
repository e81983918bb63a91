#pragma once

#include "core/Sheet.h"
#include "instruments/KeptDownloads.h"
#include "instruments/LevelLogger.h"
#include "instruments/RecordingLink.h"
#include "ui/common/AppContext.h"
#include "ui/instruments/LinkWorker.h"
#include "ui/station/CurrentStation.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>

class QLabel;
class QLayout;
class QPushButton;
class QLineEdit;
class QMenuBar;

namespace korvel {
class KeptDownloadsPanel;
}

namespace korvel {

// What the water-level and rain logger screens share: the menu "Ayarlar" / "Çıkış", read-only
// boxes where a double-click changes that setting, the worker thread with the port stored for
// the screen's application, the port check when the screen first shows, the download with its
// byte count in Text9, and the erase screen.
class LoggerScreen : public QWidget {
    Q_OBJECT
public:
    // Where the exchanges run (tests put a simulator's port or a faster clock here). By default:
    // QSerialPort on the stored port, the steady clock.
    void setLinkFactory(LinkWorker::LinkFactory link);
    void setClockFactory(LinkWorker::ClockFactory clock);

    void Ayarlar_Click(); // the port settings screen, modally
    void Cikis_Click();   // "Çıkış": closes the screen
    // Checks the port ("Secili comm port uygun deyil" when it cannot be opened); run when the
    // screen first shows, and by the main window each time it becomes the active child window.
    void Form_Activate();
    // A double-click on a setting's box.
    virtual void fieldDoubleClicked(const QString& field) = 0;

    bool busy() const { return worker_.busy(); }
    LinkWorker& worker() { return worker_; }
    // The current station's kept downloads, shown again.
    void refreshKeptDownloads();
    KeptDownloadsPanel* keptDownloadsPanel() { return kept_; }

signals:
    // A command ended (its messages shown, its fields updated).
    void commandFinished();
    // The erase screen opened here erased the logger's memory.
    void loggerMemoryErased();

protected:
    // `portApplication`: the application whose stored port the screen uses.
    LoggerScreen(const AppContext& context, StationHub& hub, const QString& portApplication, QWidget* parent);

    QMenuBar* addMenu();
    // A read-only box whose double-click is fieldDoubleClicked().
    QLineEdit* addBox(const QString& name);
    // Text10 (the battery gauge) and Text9 (progress and outcome), which take no double-click.
    QLineEdit* addStatusBox(const QString& name);
    QLabel* addLabel(const QString& name, const QString& text = QString());
    QPushButton* addButton(const QString& name, const QString& text, const std::function<void()>& clicked);
    // The screen from top to bottom: the menu, the setting fields, Label9 (memory), Label8
    // (battery), the battery gauge Text10, the progress box Text9 and the buttons in a row.
    void layOut(QMenuBar* menu, QLayout* fields, const QList<QPushButton*>& buttons);
    // Shows a decoded reply in the boxes and the two labels.
    void showFields(const Sheet& fields);

    // The settings both loggers take alike: the clock (Text2), the date (Text3) and the texts
    // (Text5 .. Text7). Nothing for another field; an empty command when the user gave up.
    std::optional<std::optional<SettingCommand>> askSharedSetting(const QString& field);
    // Downloads the memory with the byte count in Text9, every byte on the line recorded; `done`
    // gets the outcome and the session's log on this thread.
    using RecordedDownload = RecordedSession<DownloadOutcome>;
    void startDownload(const DownloadOptions& options, std::function<void(RecordedDownload)> done);
    // Keeps a download in the current station's kept-downloads folder: the image as it came (what
    // came of a download that failed), its log and description; the list is shown again. Nothing
    // without a current station; a folder that cannot be written is told and the download goes on.
    std::optional<KeptDownload> keepDownload(std::string_view instrument, const RecordedDownload& download,
                                             std::vector<std::pair<std::string, std::string>> settings);
    // "Ham verileri yeniden dönüştür" on the chosen kept download.
    virtual void reconvertKept(const KeptDownload& kept) = 0;
    // The erase screen, modally; `erased` runs when it erased the memory.
    void openEraseScreen(const std::function<void()>& erased);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

    const AppContext& context_;
    StationHub& hub_;
    const QString portApplication_;
    LinkWorker::LinkFactory linkFactory_;
    LinkWorker::ClockFactory clockFactory_;
    LinkWorker worker_;
    std::map<QString, QLineEdit*> boxes_;

private:
    KeptDownloadsPanel* kept_ = nullptr;
    LocalTime downloadStarted_;
    QLabel* memoryLabel_ = nullptr;
    QLabel* batteryLabel_ = nullptr;
    bool shown_ = false;
};

} // namespace korvel
