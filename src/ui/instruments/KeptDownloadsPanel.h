#pragma once

#include "instruments/KeptDownloads.h"

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace korvel {

// The station's kept downloads on a logger screen: one row per download (time, instrument, bytes,
// whole or not, the station it was converted into, its log), the space they take in all
// (`KeptDownloadsTotal`), and "Ham verileri yeniden dönüştür" (`ReconvertCommand`), which hands the
// chosen download to the screen.
class KeptDownloadsPanel : public QWidget {
    Q_OBJECT
public:
    using Reconvert = std::function<void(const KeptDownload&)>;
    KeptDownloadsPanel(Reconvert reconvert, QWidget* parent = nullptr);

    void showStation(const std::filesystem::path& stationDir);
    const std::vector<KeptDownload>& downloads() const { return downloads_; }
    // Chooses a row, as a click on it does.
    void choose(int row);
    void ReconvertCommand_Click();

private:
    Reconvert reconvert_;
    std::vector<KeptDownload> downloads_;
    QTreeWidget* list_;
    QLabel* total_;
    QPushButton* button_;
};

// Keeps a session in the station's kept-downloads folder. Nothing without a station; a folder that
// cannot be written is told on `screen`, and the download goes on without it.
std::optional<KeptDownload> keepInStation(QWidget* screen, const std::filesystem::path& stationDir,
                                          const DownloadSession& session);

} // namespace korvel
