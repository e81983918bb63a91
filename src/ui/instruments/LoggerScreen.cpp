#include "ui/instruments/LoggerScreen.h"

#include "instruments/LevelLoggerCommands.h"
#include "instruments/LevelLoggerSettings.h"
#include "instruments/PortSettings.h"
#include "instruments/Reconversion.h"
#include "platform/Dialogs.h"
#include "ui/common/QtText.h"
#include "ui/instruments/EraseForm.h"
#include "ui/instruments/InstrumentPort.h"
#include "ui/instruments/KeptDownloadsPanel.h"
#include "ui/instruments/LoggerFields.h"
#include "ui/instruments/PortSettingsForm.h"

#include <QDate>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

namespace korvel {

LoggerScreen::LoggerScreen(const AppContext& context, StationHub& hub, const QString& portApplication,
                           QWidget* parent)
    : QWidget(parent), context_(context), hub_(hub), portApplication_(portApplication),
      linkFactory_(storedPortLink(context, portApplication)), clockFactory_(steadyClock()),
      worker_(linkFactory_, clockFactory_, this) {}

void LoggerScreen::setLinkFactory(LinkWorker::LinkFactory link) {
    linkFactory_ = link;
    worker_.setLinkFactory(std::move(link));
}

void LoggerScreen::setClockFactory(LinkWorker::ClockFactory clock) {
    clockFactory_ = clock;
    worker_.setClockFactory(std::move(clock));
}

QMenuBar* LoggerScreen::addMenu() {
    auto* menu = new QMenuBar(this);
    QAction* settings = menu->addAction(QStringLiteral("Ayarlar"));
    settings->setObjectName(QStringLiteral("Ayarlar"));
    QAction* exit = menu->addAction(QString::fromUtf8("Çıkış"));
    exit->setObjectName(QStringLiteral("Cikis"));
    connect(settings, &QAction::triggered, this, &LoggerScreen::Ayarlar_Click);
    connect(exit, &QAction::triggered, this, &LoggerScreen::Cikis_Click);
    return menu;
}

QLineEdit* LoggerScreen::addBox(const QString& name) {
    QLineEdit* edit = addStatusBox(name);
    edit->installEventFilter(this);
    return edit;
}

QLineEdit* LoggerScreen::addStatusBox(const QString& name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    boxes_[name] = edit;
    return edit;
}

QLabel* LoggerScreen::addLabel(const QString& name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    return label;
}

QPushButton* LoggerScreen::addButton(const QString& name, const QString& text,
                                     const std::function<void()>& clicked) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, clicked);
    return button;
}

void LoggerScreen::layOut(QMenuBar* menu, QLayout* fields, const QList<QPushButton*>& buttons) {
    memoryLabel_ = addLabel(QStringLiteral("Label9"));
    batteryLabel_ = addLabel(QStringLiteral("Label8"));
    auto* row = new QHBoxLayout;
    for (QPushButton* button : buttons)
        row->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addLayout(fields);
    layout->addWidget(memoryLabel_);
    layout->addWidget(batteryLabel_);
    layout->addWidget(addStatusBox(QStringLiteral("Text10")));
    layout->addWidget(addStatusBox(QStringLiteral("Text9")));
    layout->addLayout(row);
    kept_ = new KeptDownloadsPanel(
        [this](const KeptDownload& k) {
            if (!busy())
                reconvertKept(k);
        },
        this);
    layout->addWidget(kept_);
    refreshKeptDownloads();
}

void LoggerScreen::refreshKeptDownloads() {
    if (kept_)
        kept_->showStation(hub_.current().stationDir);
}

std::optional<KeptDownload>
LoggerScreen::keepDownload(std::string_view instrument, const RecordedDownload& download,
                           std::vector<std::pair<std::string, std::string>> settings) {
    DownloadSession session;
    session.instrument = std::string(instrument);
    session.port =
        context_.settings ? context_.settings->comPort(portApplication_).toStdString() : std::string();
    session.started = downloadStarted_;
    describeDownload(session, download.result);
    session.settings = std::move(settings);
    session.log = download.log;
    std::optional<KeptDownload> kept = keepInStation(this, hub_.current().stationDir, session);
    refreshKeptDownloads();
    return kept;
}

void LoggerScreen::showFields(const Sheet& fields) {
    showLoggerFields(fields, boxes_, memoryLabel_, batteryLabel_);
}

std::optional<std::optional<SettingCommand>> LoggerScreen::askSharedSetting(const QString& field) {
    // A cancelled prompt ends the command; an empty answer is taken as it stands.
    if (field == QLatin1String("Text2")) {
        const auto answer =
            askText(this, qText(kTimePrompt), QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
        return answer ? timeSetting(answer->toStdString()) : std::nullopt;
    }
    if (field == QLatin1String("Text3")) {
        const auto answer =
            askText(this, qText(kDatePrompt), QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
        return answer ? dateSetting(answer->toStdString()) : std::nullopt;
    }
    const std::map<QString, std::pair<std::uint8_t, std::string_view>> texts = {
        {QStringLiteral("Text5"), {levellogger::kStationName, kStationNamePrompt}},
        {QStringLiteral("Text6"), {levellogger::kStationNumber, kStationNumberPrompt}},
        {QStringLiteral("Text7"), {levellogger::kRiverName, kRiverNamePrompt}}};
    const auto text = texts.find(field);
    if (text == texts.end())
        return std::nullopt;
    const auto& [read, prompt] = text->second;
    const auto answer = askText(this, qText(prompt));
    if (!answer)
        return std::optional<SettingCommand>();
    return textSetting(read, answer->toStdString());
}

void LoggerScreen::startDownload(const DownloadOptions& options, std::function<void(RecordedDownload)> done) {
    LinkWorker* worker = &worker_;
    QLineEdit* progress = boxes_[QStringLiteral("Text9")];
    downloadStarted_ = localNow();
    worker_.run<RecordedDownload>(
        [worker, progress, options](Exchange& exchange) {
            return recordSession(exchange, [&](Exchange& recorded) {
                return downloadMemory(recorded, options, [worker, progress](std::size_t received) {
                    worker->post([progress, received] { progress->setText(QString::number(received)); });
                });
            });
        },
        std::move(done));
}

void LoggerScreen::openEraseScreen(const std::function<void()>& erased) {
    if (busy())
        return;
    EraseForm form(linkFactory_, clockFactory_, this);
    connect(&form, &EraseForm::memoryErased, this, [this, erased] {
        erased();
        emit loggerMemoryErased();
    });
    form.exec();
}

void LoggerScreen::Ayarlar_Click() {
    PortSettingsForm form(context_.settings, this);
    form.exec();
}

void LoggerScreen::Cikis_Click() {
    QWidget* frame = parentWidget();
    if (frame != nullptr && frame->inherits("QMdiSubWindow"))
        frame->close();
    else
        close();
}

void LoggerScreen::Form_Activate() {
    if (busy())
        return;
    refreshKeptDownloads();
    const std::unique_ptr<SerialLink> link = linkFactory_();
    const QString stored = context_.settings ? context_.settings->comPort(portApplication_) : QString();
    if (const auto message = probePort(*link, stored.toStdString()))
        showMessage(this, QString::fromStdString(*message));
}

void LoggerScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        QTimer::singleShot(0, this, &LoggerScreen::Form_Activate);
    }
}

bool LoggerScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick)
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            fieldDoubleClicked(edit->objectName());
            return true;
        }
    return QWidget::eventFilter(watched, event);
}

} // namespace korvel
