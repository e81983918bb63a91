#pragma once

#include "core/Sheet.h"
#include "flow/YearbookPage.h"
#include "ui/common/AppContext.h"
#include "ui/common/Export.h"
#include "ui/station/CurrentStation.h"

#include <QWidget>

class QPrinter;

namespace korvel {

class GridView;

// The yearbook page "kitapfrm" ("Kitap ") of the flow file selected on the station screen:
// the description boxes Text1-Text7 (all editable before printing), the extremes block whose
// observation-period rows the user types in, the monthly block and the daily discharges.
// Nothing is written back to any file.
//
// The main window's menu "Kitap sayfasını Yazdır" ("kyazdırn") calls print().
class YearbookScreen : public QWidget, public ReportWindow {
    Q_OBJECT
public:
    static inline const QString kFormName = QStringLiteral("kitapfrm");

    // Shows "Lütfen su yılı dosyası seciniz" instead of an empty page when no flow file is
    // selected, and gives nothing then.
    static YearbookScreen* open(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    YearbookScreen(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    // fillYearbookPage from the station's selected flow file.
    void fill();
    bool print();
    bool print(QPrinter& printer);

    const YearbookFigures& figures() const { return figures_; }
    const Sheet& sheet() const { return sheet_; }
    Sheet reportSheet() const override;

private:
    const AppContext& context_;
    StationHub& hub_;
    GridView* extremes_;
    GridView* monthly_;
    GridView* daily_;
    YearbookFigures figures_;
    Sheet sheet_;
};

} // namespace korvel
