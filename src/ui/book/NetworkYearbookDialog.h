#pragma once

#include "ui/common/AppContext.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace korvel {

// "Yıllık kitap (tüm istasyonlar)": the yearbook of every station of the data root, or of one
// region or basin, for one water year, written as one PDF file. The book is made in steps under a
// cancellable progress window, so the program stays responsive.
class NetworkYearbookDialog : public QDialog {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("yillikkitapfrm");
    static inline const QString kAllItems = QStringLiteral("(tümü)");

    explicit NetworkYearbookDialog(const AppContext& context, QWidget* parent = nullptr);

    // Writes the book with the choices shown; false when it was refused, failed or cancelled.
    bool createBook();

private:
    void fillBasins();
    void chooseFile();

    AppContext context_;
    QSpinBox* year_;
    QComboBox* region_;
    QComboBox* basin_;
    QLineEdit* file_;
};

} // namespace korvel
