#pragma once

#include "instruments/CurrentMeter.h"
#include "ui/common/AppContext.h"
#include "ui/instruments/LinkWorker.h"
#include "ui/station/CurrentStation.h"

#include <QDialog>
#include <QWidget>
#include <filesystem>

class QLineEdit;
class QScrollBar;
class QTableWidget;

namespace korvel {

// The current meter's coefficient editor (`mulinedit`, "Mulinenin katsayısını değiştirir"):
// writes a new calibration after its checks, reads the previous one back and opens the erase
// screen. Each exchange lasts at most half a second and runs at once.
class CoefficientEditor : public QDialog {
    Q_OBJECT
public:
    CoefficientEditor(const AppContext& context, LinkWorker::LinkFactory link, LinkWorker::ClockFactory clock,
                      QWidget* parent = nullptr);

    void Command1_Click(); // "YENİ KATSAYIYI KAYDET"
    void Command2_Click(); // "ÖNCEKİ KATSAYI"
    void Command3_Click(); // "HAFIZAYI SİL": the erase screen, modally
    void Form_Load();      // checks the port
    // "ÖNCEKİ KATSAYI" keeps the meter's reply and the log of its exchange in this station
    // directory (none: not kept).
    void keepReadsIn(const std::filesystem::path& stationDir) { stationDir_ = stationDir; }

private:
    std::unique_ptr<SerialLink> port();

    const AppContext& context_;
    std::filesystem::path stationDir_;
    LinkWorker::LinkFactory link_;
    LinkWorker::ClockFactory clock_;
    QLineEdit* a_;
    QLineEdit* b_;
    QLineEdit* time_;
};

// The current meter's erase screen (`mulisil`): "EVET" erases the memory, "HAYIR" closes.
class MeterEraseForm : public QDialog {
    Q_OBJECT
public:
    MeterEraseForm(const AppContext& context, LinkWorker::LinkFactory link, LinkWorker::ClockFactory clock,
                   QWidget* parent = nullptr);
    void Command1_Click(); // "EVET"

private:
    LinkWorker::LinkFactory link_;
    LinkWorker::ClockFactory clock_;
};

// The current meter screen (`muline1`, "Muline ile iletişim"): the measurement grid frame, the
// number box Text3 coupled with the scroll bar HScroll1, "AYARLAR" (the coefficient editor) and
// "ÇIKIŞ".
class CurrentMeterForm : public QWidget {
    Q_OBJECT
public:
    CurrentMeterForm(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);

    void setLinkFactory(LinkWorker::LinkFactory link) { link_ = std::move(link); }
    void setClockFactory(LinkWorker::ClockFactory clock) { clock_ = std::move(clock); }
    void Ayarlar_Click();
    void Text3_Enter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const AppContext& context_;
    StationHub& hub_;
    LinkWorker::LinkFactory link_;
    LinkWorker::ClockFactory clock_;
    QTableWidget* grid_;
    QLineEdit* text3_;
    QScrollBar* scroll_;
};

// The data carrier screen (`Bilgihamali`, "Bilgi hamalından bilgilerin sağımı"): the level
// logger's fields and "Sağım", which only says that the device is not a data carrier.
class DataCarrierForm : public QWidget {
    Q_OBJECT
public:
    DataCarrierForm(const AppContext& context, StationHub& hub, QWidget* parent = nullptr);
    void Command1_Click(); // "Sağım"

private:
    const AppContext& context_;
};

inline constexpr std::string_view kNotDataCarrier = "Bağlı cihaz bilgihamalı değil";

} // namespace korvel
