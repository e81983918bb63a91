#include "ui/instruments/RainLoggerForm.h"

#include "core/FileIO.h"
#include "instruments/LevelConversion.h"
#include "instruments/LevelLoggerCommands.h"
#include "instruments/LevelLoggerView.h"
#include "instruments/Reconversion.h"
#include "platform/Dialogs.h"
#include "ui/common/QtText.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <cstdlib>

namespace korvel {

namespace {

const QString kNoStation = QString::fromUtf8("Lütfen istasyon secimin yapınız");

} // namespace

RainLoggerForm::RainLoggerForm(const AppContext& context, StationHub& hub, QWidget* parent)
    : LoggerScreen(context, hub, SettingsStore::kRainLogger, parent) {
    setObjectName(QStringLiteral("pluviograf"));
    setWindowTitle(qText(kRainLoggerCaption));
    QMenuBar* menu = addMenu();
    auto* fields = new QGridLayout;
    const std::pair<const char*, const char*> rows[] = {
        {"Text1", "TOPLAM YAĞIŞ"}, {"Text2", "PLUVİOGRAF  SAATİ"}, {"Text3", "PLUVİOGRAFTARİHİ"},
        {"Text4", "KAYIT ŞEKLİ "}, {"Text5", "İSTASYON ADI"},      {"Text6", "İSTASYON NO"},
        {"Text7", "BÖLGE ADI"}};
    int row = 0;
    for (const auto& [name, text] : rows) {
        fields->addWidget(addLabel(QStringLiteral("Caption%1").arg(row + 1), QString::fromUtf8(text)), row,
                          0);
        fields->addWidget(addBox(QString::fromLatin1(name)), row, 1);
        ++row;
    }
    boxes_["Text1"]->setToolTip(QString::fromUtf8("Toplam yağış reset tarihinden itibarendir"));

    read_ = addButton(QStringLiteral("Command1"), QStringLiteral("Pluviograftan Bilgileri Al"),
                      [this] { Command1_Click(); });
    download_ =
        addButton(QStringLiteral("Command2"), QString::fromUtf8("Sağım"), [this] { Command2_Click(); });
    erase_ = addButton(QStringLiteral("Command3"), QString::fromUtf8("pluviografın hafızasını Sil"),
                       [this] { Command3_Click(); });
    convert_ =
        addButton(QStringLiteral("Command4"), QStringLiteral("Command4"), [this] { Command4_Click(); });
    layOut(menu, fields, {read_, download_, erase_, convert_});
}

RainLoggerForm::~RainLoggerForm() = default;

void RainLoggerForm::setBusy(bool busy) {
    // A new command starts with an empty status: the outcome of the last one is no longer true.
    if (busy)
        boxes_["Text9"]->clear();
    for (QPushButton* b : {read_, download_, erase_, convert_})
        b->setEnabled(!busy);
}

void RainLoggerForm::finishCommand(const CommandOutcome& outcome) {
    for (const LoggerReply& r : outcome.replies)
        view_.showReply(r.readByte, r.reply, context_.locale);
    showFields(view_.fields);
    setBusy(false);
    if (!outcome.ok)
        showMessage(this, QString::fromStdString(outcome.message));
    emit commandFinished();
}

void RainLoggerForm::Command1_Click() {
    if (busy())
        return;
    setBusy(true);
    worker_.run<CommandOutcome>([](Exchange& exchange) { return readRainInformation(exchange); },
                                [this](CommandOutcome outcome) { finishCommand(outcome); });
}

void RainLoggerForm::runSetting(const SettingCommand& command) {
    setBusy(true);
    worker_.run<CommandOutcome>([command](Exchange& exchange) { return writeSetting(exchange, command); },
                                [this](CommandOutcome outcome) { finishCommand(outcome); });
}

void RainLoggerForm::fieldDoubleClicked(const QString& field) {
    if (busy())
        return;
    if (const auto shared = askSharedSetting(field)) {
        if (*shared)
            runSetting(**shared);
        return;
    }
    if (field == QLatin1String("Text4")) {
        const auto answer = askText(this, qText(kBucketPrompt));
        if (!answer)
            return;
        // A bucket setting that does not fit the logger's byte is refused, never sent wrapped.
        const auto command = bucketSetting(answer->toStdString());
        if (!command) {
            showMessage(this, qText(kWrongValue));
            return;
        }
        runSetting(*command);
    }
}

void RainLoggerForm::Command2_Click() {
    if (busy())
        return;
    setBusy(true);
    startDownload(rainDownloadOptions(),
                  [this](RecordedDownload download) { downloadFinished(std::move(download)); });
}

void RainLoggerForm::downloadFinished(RecordedDownload download) {
    setBusy(false);
    const DownloadOutcome& outcome = download.result;
    std::optional<KeptDownload> kept =
        keepDownload(kRainInstrument, download,
                     rainImageSettings(outcome.ok ? outcome.image : outcome.partial, view_.bucketFactor));
    if (!outcome.ok) {
        showMessage(this, QString::fromStdString(outcome.message));
        emit commandFinished();
        return;
    }
    try {
        writeRawLoggerDump(rainDumpPath(context_.paths.korvel96Root()), outcome.image);
    } catch (const FileError& e) {
        showMessage(this, QString::fromStdString(e.what()));
        emit commandFinished();
        return;
    }
    boxes_["Text9"]->setText(qText(kDownloadDone));
    convertImage(outcome.image, view_.bucketFactor, kept ? &*kept : nullptr);
    refreshKeptDownloads();
    emit commandFinished();
}

void RainLoggerForm::Command4_Click() {
    if (busy())
        return;
    boxes_["Text9"]->clear();
    const auto path = rainDumpPath(context_.paths.korvel96Root());
    const auto dump = readFileBytes(path);
    if (!dump) {
        showMessage(this, QString::fromUtf8("Ham veri dosyası okunamadı: ") +
                              QString::fromStdString(path.string()));
        return;
    }
    convertImage(*dump, view_.bucketFactor);
}

void RainLoggerForm::reconvertKept(const KeptDownload& kept) {
    ReconversionImage image = rainImageForReconversion(kept.image);
    if (!image.ok()) {
        showMessage(this, QString::fromStdString(image.problem));
        return;
    }
    boxes_["Text9"]->clear();
    // The bucket factor the download was converted with, unless none was known then.
    const int keptFactor = std::atoi(kept.setting("bucketFactor").c_str());
    convertImage(image.image, keptFactor > 0 ? keptFactor : view_.bucketFactor,
                 image.kept ? &*image.kept : nullptr);
    refreshKeptDownloads();
}

void RainLoggerForm::convertImage(const Bytes& image, int bucketFactor, KeptDownload* kept) {
    const CurrentStation& station = hub_.current();
    if (station.stationDir.empty()) {
        showMessage(this, kNoStation);
        return;
    }
    const RainDumpHeader header = readRainDumpHeader(image);
    const auto answer =
        askText(this, qText(kConfirmStationPrompt), QString::fromStdString(station.record.stationNumber),
                qText(kConfirmStationTitle) + QString::fromStdString(header.stationNumber));
    if (!answer || answer->isEmpty())
        return;
    const std::string number = answer->toStdString();
    if (const auto problem = stationNumberProblem(number)) {
        showMessage(this, QString::fromStdString(*problem));
        return;
    }
    const RainConversionResult result = convertRainDump(image, number, station.stationDir, bucketFactor);
    if (kept && fileExists(kept->description)) {
        try {
            noteConversion(*kept, localNow(), number,
                           result.converted ? rainConversionFiles(result, number)
                                            : std::vector<std::string>{},
                           result.message);
        } catch (const FileError& e) {
            showMessage(this, QString::fromStdString(e.what()));
        }
    }
    if (!result.converted) {
        showMessage(this, QString::fromStdString(result.message));
        return;
    }
    boxes_["Text9"]->setText(qText(kRecordingCompleted));
    if (!result.written.ok() || !result.clipped.empty()) {
        QString refused;
        for (const ClippedRainMinute& clip : result.clipped)
            refused += QString::fromStdString(clip.text(bucketFactor)) + QLatin1Char('\n');
        for (const RainWriteError& e : result.written.errors)
            refused += QString::fromStdString(e.message) + QLatin1Char('\n');
        showMessage(this, refused.trimmed());
    }
    hub_.refreshFileLists();
    emit rainYearsChanged();
}

void RainLoggerForm::Command3_Click() {
    openEraseScreen([this] {
        erase_->setText(qText(kMemoryErased));
        erase_->setEnabled(false);
    });
}

void RainLoggerForm::closeEvent(QCloseEvent* event) {
    if (busy())
        worker_.stop();
    hub_.refreshFileLists();
    QWidget::closeEvent(event);
}

} // namespace korvel
