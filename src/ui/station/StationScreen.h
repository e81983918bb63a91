#pragma once

#include "store/StationSave.h"
#include "ui/common/AppContext.h"
#include "ui/journal/FileReadStamp.h"
#include "ui/station/CurrentStation.h"

#include <QString>
#include <QWidget>
#include <filesystem>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace korvel {

class DirectoryList;
class StationMapView;

// The object names of the station screen's controls.
namespace stationControls {
inline const QString kStationNumber = QStringLiteral("Text1");
inline const QString kRiverName = QStringLiteral("Text2");
inline const QString kStationName = QStringLiteral("Text3");
inline const QString kOpeningDate = QStringLiteral("Text4");
inline const QString kElevation = QStringLiteral("Text5");
inline const QString kDrainageArea = QStringLiteral("Text6");
inline const QString kThiessenArea = QStringLiteral("Text7");
inline const QString kCoordinates = QStringLiteral("Text8");
inline const QString kNote = QStringLiteral("Text9");
inline const QString kPhoneNumber = QStringLiteral("Text10");
inline const QString kDialPrefix = QStringLiteral("Text11");
inline const QString kModemHqFile = QStringLiteral("Text12");
inline const QString kBasinName = QStringLiteral("Text13");
inline const QString kRegion = QStringLiteral("Combo1");
inline const QString kMonth = QStringLiteral("Combo2");
inline const QString kDirectoryTree = QStringLiteral("Dir1");
inline const QString kFlowFiles = QStringLiteral("File1");
inline const QString kHqFiles = QStringLiteral("File2");
inline const QString kRainFiles = QStringLiteral("File3");
inline const QString kFlowSelection = QStringLiteral("FlowSelectionList");
inline const QString kRainSelection = QStringLiteral("RainSelectionList");
inline const QString kMap = QStringLiteral("Picture1");
inline const QString kLongitudeLabel = QStringLiteral("Label1");
inline const QString kLatitudeLabel = QStringLiteral("Label2");
inline const QString kMarkStations = QStringLiteral("Command1");
inline const QString kPassword = QStringLiteral("Command2");
inline const QString kExportSeries = QStringLiteral("exportSeriesButton");
} // namespace stationControls

inline const QString kPasswordAskText = QStringLiteral("Lütfen şifrenizi giriniz");

// The station screen: chooses the current station, shows and edits its record, lists its
// flow, HQ and rainfall files, keeps the two selection lists of the basin tables and shows the
// country map with the stations. It stays loaded while the program runs; every other screen
// reads CurrentStation from it.
class StationScreen : public QWidget, public StationHub {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("istasyonfrm");
    static inline const QString kCaption = QStringLiteral("KORVEL2000  HİDROMETRİ PROGRAMI");

    // Loads the screen: genel.har created when missing, the month and region lists filled,
    // the directory restored from the settings store (the data root when none is stored).
    explicit StationScreen(const AppContext& context, QWidget* parent = nullptr);

    const CurrentStation& current() const override { return state_; }
    void setStationDirectory(const std::filesystem::path& dir) override;
    void setMonthIndex(int index) override;
    void selectFlowFile(const std::string& fileName) override;
    void selectHqFile(const std::string& fileName) override;
    void selectRainFile(const std::string& fileName) override;
    void refreshFileLists() override;
    void setRainSelectionCurrent(int index) override;

    // "İstasyon bilgilerini kaydet": validation, password prompt, genel.tan and the map point.
    void saveStationRecord();
    // "Yeni istasyon oluştur": empty boxes and record; the flow and HQ lists list nothing.
    void newStationRecord();
    // "İstasyonları işaretle": every station of genel.har in red; the button hides.
    void markStations();
    // "Dışa aktar": the station's daily series as CSV or WaterML, from the selected water year on.
    void exportSeries();
    // "Şifre": asks for the password and shows the phone number when it is right.
    void askPassword();
    // A click on the map at picture position (x, y): the station there becomes current.
    void selectStationAt(int x, int y);
    // The screen became the active window: the mark button shows again.
    void screenActivated();
    // Double click on the selection lists: each empties its list.
    void clearFlowSelection();
    void clearRainSelection();

    bool phoneNumberMasked() const;
    StationMapView* map() const { return map_; }
    // The Windows form of a path under the drive ("c:\korvel2000\Ankara"), as lists and files show it.
    QString windowsPath(const std::filesystem::path& path) const;

signals:
    // One flow file and three rainfall files are selected (true) or no longer are (false).
    void tableCommandsEnabled(bool enabled);
    void flowFileOpened(); // double click on a flow file: the annual flow table
    void hqFileOpened();   // double click on an HQ file: the HQ table screen
    void rainFileOpened(); // double click on a rainfall file: the one-year rainfall analysis

private:
    void buildControls();
    QWidget* buildRecordBoxes();
    QWidget* buildFileLists();
    void changeDirectory(std::filesystem::path dir);
    void showRecord(bool fromFile);
    void showRegion(const QString& region);
    void listFlowFiles(const std::filesystem::path& dir);
    void listHqFiles(const std::filesystem::path& dir);
    void listRainFiles(const std::filesystem::path& dir);
    void setPasswordMask(bool masked);
    void flowFileClicked(int row);
    void hqFileClicked(int row);
    void rainFileClicked(int row);
    void regionChosen(int index);
    void modemHqBoxDoubleClicked();
    void showSelections();
    void updateTableCommands();
    void showPosition(int x, int y);
    StationEntry entryFromBoxes() const;
    std::filesystem::path mapFile() const;
    bool isDriveRoot(const std::filesystem::path& dir) const;
    // Whether a save of the entry writes over the station record the screen read.
    bool savesOverRecordRead(const StationEntry& entry) const;

    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext context_;
    CurrentStation state_;
    FileReadStamp recordStamp_;
    std::filesystem::path flowListDir_;
    std::filesystem::path hqListDir_;
    std::filesystem::path rainListDir_;

    QLineEdit* stationNumber_ = nullptr;
    QLineEdit* riverName_ = nullptr;
    QLineEdit* stationName_ = nullptr;
    QLineEdit* openingDate_ = nullptr;
    QLineEdit* elevation_ = nullptr;
    QLineEdit* drainageArea_ = nullptr;
    QLineEdit* thiessenArea_ = nullptr;
    QLineEdit* coordinates_ = nullptr;
    QPlainTextEdit* note_ = nullptr;
    QLineEdit* phoneNumber_ = nullptr;
    QLineEdit* dialPrefix_ = nullptr;
    QLineEdit* modemHqFile_ = nullptr;
    QLineEdit* basinName_ = nullptr;
    QComboBox* region_ = nullptr;
    QComboBox* month_ = nullptr;
    DirectoryList* directories_ = nullptr;
    QListWidget* flowFiles_ = nullptr;
    QListWidget* hqFiles_ = nullptr;
    QListWidget* rainFiles_ = nullptr;
    QListWidget* flowSelection_ = nullptr;
    QListWidget* rainSelection_ = nullptr;
    StationMapView* map_ = nullptr;
    QLabel* longitudeLabel_ = nullptr;
    QLabel* latitudeLabel_ = nullptr;
    QPushButton* markButton_ = nullptr;
    QPushButton* passwordButton_ = nullptr;
};

} // namespace korvel
