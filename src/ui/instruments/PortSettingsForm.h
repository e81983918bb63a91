#pragma once

#include <QDialog>

class QComboBox;

namespace korvel {

class SettingsStore;

// The port settings screen (`frmProperties`, "CommPort ayarlar"): the port and the line speed
// stored under "korvel2000"/"com". Opened modally from the instrument screens' "Ayarlar".
class PortSettingsForm : public QDialog {
    Q_OBJECT
public:
    explicit PortSettingsForm(SettingsStore* settings, QWidget* parent = nullptr);

    // "Tamam": stores both texts as shown and closes; "Vaz geç" closes without storing.
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    SettingsStore* settings_;
    QComboBox* port_;
    QComboBox* speed_;
};

} // namespace korvel
