#include "ui/instruments/CurrentMeterForms.h"

#include "instruments/PortSettings.h"
#include "instruments/RecordingLink.h"
#include "platform/Dialogs.h"
#include "ui/common/QtText.h"
#include "ui/instruments/InstrumentPort.h"
#include "ui/instruments/KeptDownloadsPanel.h"
#include "ui/instruments/PortSettingsForm.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace korvel {

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

CoefficientEditor::CoefficientEditor(const AppContext& context, LinkWorker::LinkFactory link,
                                     LinkWorker::ClockFactory clock, QWidget* parent)
    : QDialog(parent), context_(context), link_(std::move(link)), clock_(std::move(clock)) {
    setObjectName(QStringLiteral("mulinedit"));
    setWindowTitle(QString::fromUtf8("Mulinenin katsayısını değiştirir"));
    auto* fields = new QGridLayout;
    const std::pair<const char*, const char*> rows[] = {
        {"Text1", "MULİNE KATSAYISI (A)"}, {"Text2", "MULİNE KATSAYISI (B)"}, {"Text3", "ÖLÇÜM ZAMANI"}};
    QLineEdit* edits[3];
    for (int i = 0; i < 3; ++i) {
        fields->addWidget(new QLabel(QString::fromUtf8(rows[i].second), this), i, 0);
        edits[i] = new QLineEdit(this);
        edits[i]->setObjectName(QString::fromLatin1(rows[i].first));
        fields->addWidget(edits[i], i, 1);
    }
    a_ = edits[0];
    b_ = edits[1];
    time_ = edits[2];
    auto* save = button(this, "Command1", "YENİ KATSAYIYI KAYDET");
    auto* previous = button(this, "Command2", "ÖNCEKİ KATSAYI");
    auto* erase = button(this, "Command3", "HAFIZAYI SİL");
    auto* exit = button(this, "Command4", "ÇIKIŞ");
    connect(save, &QPushButton::clicked, this, &CoefficientEditor::Command1_Click);
    connect(previous, &QPushButton::clicked, this, &CoefficientEditor::Command2_Click);
    connect(erase, &QPushButton::clicked, this, &CoefficientEditor::Command3_Click);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {save, previous, erase, exit})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
}

std::unique_ptr<SerialLink> CoefficientEditor::port() {
    return link_();
}

void CoefficientEditor::Form_Load() {
    const std::unique_ptr<SerialLink> link = link_();
    const QString stored = context_.settings ? context_.settings->comPort() : QString();
    if (const auto message = probePort(*link, stored.toStdString()))
        showMessage(this, QString::fromStdString(*message));
}

void CoefficientEditor::Command1_Click() {
    const CalibrationCheck check = checkCalibration(a_->text().toStdString(), b_->text().toStdString(),
                                                    time_->text().toStdString(), context_.locale);
    if (!check.bytes) {
        showMessage(this, QString::fromStdString(check.message));
        return;
    }
    const std::unique_ptr<SerialLink> link = port();
    const std::unique_ptr<Clock> clock = clock_();
    Exchange exchange(*link, *clock);
    const MeterOutcome outcome = writeCalibration(exchange, *check.bytes);
    if (!outcome.ok)
        showMessage(this, QString::fromStdString(outcome.message));
}

void CoefficientEditor::Command2_Click() {
    const std::unique_ptr<SerialLink> link = port();
    const std::unique_ptr<Clock> clock = clock_();
    Exchange exchange(*link, *clock);
    DownloadSession session;
    session.instrument = std::string(kMeterInstrument);
    session.port = context_.settings ? context_.settings->comPort().toStdString() : std::string();
    session.started = localNow();
    auto [outcome, log] = recordSession(exchange, [](Exchange& e) { return readCalibration(e); });
    session.image = outcome.reply;
    session.complete = outcome.ok;
    session.outcome = outcome.ok ? std::string("ÖNCEKİ KATSAYI") : outcome.message;
    session.log = std::move(log);
    if (outcome.ok) {
        const MeterCalibration c = decodeCalibration(outcome.reply);
        session.settings = {{"a", context_.locale.numberText(c.a)},
                            {"b", context_.locale.numberText(c.b)},
                            {"time", context_.locale.numberText(c.time)}};
    }
    keepInStation(this, stationDir_, session);
    if (!outcome.ok) {
        showMessage(this, QString::fromStdString(outcome.message));
        return;
    }
    const MeterCalibration c = decodeCalibration(outcome.reply);
    time_->setText(QString::fromStdString(context_.locale.numberText(c.time)));
    a_->setText(QString::fromStdString(context_.locale.numberText(c.a)));
    b_->setText(QString::fromStdString(context_.locale.numberText(c.b)));
}

void CoefficientEditor::Command3_Click() {
    auto* form = new MeterEraseForm(context_, link_, clock_, this);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->open();
}

MeterEraseForm::MeterEraseForm(const AppContext& context, LinkWorker::LinkFactory link,
                               LinkWorker::ClockFactory clock, QWidget* parent)
    : QDialog(parent), link_(std::move(link)), clock_(std::move(clock)) {
    setObjectName(QStringLiteral("mulisil"));
    auto* text = new QLabel(QString::fromUtf8("MULİNE HAFIZASI SİLİNSİNMİ?"), this);
    text->setObjectName(QStringLiteral("Label1"));
    auto* yes = button(this, "Command1", "EVET");
    auto* no = button(this, "Command2", "HAYIR");
    connect(yes, &QPushButton::clicked, this, &MeterEraseForm::Command1_Click);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(yes);
    buttons->addWidget(no);
    layout->addLayout(buttons);
    const std::unique_ptr<SerialLink> probe = link_();
    const QString stored = context.settings ? context.settings->comPort() : QString();
    if (const auto message = probePort(*probe, stored.toStdString()))
        showMessage(this, QString::fromStdString(*message));
}

void MeterEraseForm::Command1_Click() {
    const std::unique_ptr<SerialLink> link = link_();
    const std::unique_ptr<Clock> clock = clock_();
    Exchange exchange(*link, *clock);
    const MeterOutcome outcome = eraseMeter(exchange);
    if (outcome.ok)
        accept();
    else
        showMessage(this, QString::fromStdString(outcome.message));
}

CurrentMeterForm::CurrentMeterForm(const AppContext& context, StationHub& hub, QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub), link_(storedPortLink(context)), clock_(steadyClock()) {
    setObjectName(QStringLiteral("muline1"));
    setWindowTitle(QString::fromUtf8("Muline ile iletişim"));
    grid_ = new QTableWidget(2, 6, this);
    grid_->setObjectName(QStringLiteral("MSFlexGrid1"));
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    const char* headings[] = {"Genişlik", "Derinlik", "Alan", "Hız", "Debi"};
    for (int c = 1; c <= 5; ++c)
        grid_->setItem(0, c, new QTableWidgetItem(QString::fromUtf8(headings[c - 1])));
    grid_->setColumnWidth(0, 390 / 15);
    text3_ = new QLineEdit(this);
    text3_->setObjectName(QStringLiteral("Text3"));
    text3_->installEventFilter(this);
    scroll_ = new QScrollBar(Qt::Horizontal, this);
    scroll_->setObjectName(QStringLiteral("HScroll1"));
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int v) { text3_->setText(QString::number(v)); });
    auto* settings = button(this, "Command1", "AYARLAR");
    auto* exit = button(this, "Command2", "ÇIKIŞ");
    connect(settings, &QPushButton::clicked, this, &CurrentMeterForm::Ayarlar_Click);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    auto* row = new QHBoxLayout;
    row->addWidget(text3_);
    row->addWidget(scroll_, 1);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(settings);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
}

void CurrentMeterForm::Ayarlar_Click() {
    auto* editor = new CoefficientEditor(context_, link_, clock_, this);
    editor->keepReadsIn(hub_.current().stationDir);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->open();
    editor->Form_Load();
}

void CurrentMeterForm::Text3_Enter() {
    bool whole = false;
    const int value = text3_->text().trimmed().toInt(&whole);
    if (whole)
        scroll_->setValue(value);
}

bool CurrentMeterForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text3_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Text3_Enter();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

DataCarrierForm::DataCarrierForm(const AppContext& context, StationHub&, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("Bilgihamali"));
    setWindowTitle(QString::fromUtf8("Bilgi hamalından bilgilerin sağımı"));
    auto* menu = new QMenuBar(this);
    QAction* settings = menu->addAction(QStringLiteral("Ayarlar"));
    settings->setObjectName(QStringLiteral("Ayarlar"));
    QAction* exit = menu->addAction(QString::fromUtf8("cıkıs"));
    exit->setObjectName(QStringLiteral("Cikis"));
    connect(settings, &QAction::triggered, this, [this] {
        auto* form = new PortSettingsForm(context_.settings, this);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->open();
    });
    connect(exit, &QAction::triggered, this, &QWidget::close);
    auto* fields = new QGridLayout;
    const char* captions[] = {"EŞEL SEVİYESİ", "LİMNİGRAF SAATİ", "LİMNİGRAF TARİHİ", "KAYIT ARALIĞI",
                              "İSTASYON ADI",  "İSTASYON NO=",    "SUYUN ADI"};
    for (int i = 0; i < 7; ++i) {
        fields->addWidget(new QLabel(QString::fromUtf8(captions[i]), this), i, 0);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        edit->setReadOnly(true);
        fields->addWidget(edit, i, 1);
    }
    auto* download = button(this, "Command1", "Sağım");
    connect(download, &QPushButton::clicked, this, &DataCarrierForm::Command1_Click);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addLayout(fields);
    layout->addWidget(download);
}

void DataCarrierForm::Command1_Click() {
    showMessage(this, qText(kNotDataCarrier));
}

} // namespace korvel
