#include "ui/instruments/LevelLoggerForm.h"

#include "core/FileIO.h"
#include "instruments/LevelConversion.h"
#include "instruments/LevelLoggerCommands.h"
#include "instruments/LevelLoggerSettings.h"
#include "instruments/Reconversion.h"
#include "platform/Dialogs.h"
#include "ui/common/QtText.h"
#include "ui/instruments/LevelImageConversion.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace korvel {

LevelLoggerForm::LevelLoggerForm(const AppContext& context, StationHub& hub, QWidget* parent)
    : LoggerScreen(context, hub, SettingsStore::kKorvel, parent) {
    setObjectName(QStringLiteral("limnigraffrm"));
    setWindowTitle(qText(kLevelLoggerCaption));
    QMenuBar* menu = addMenu();
    auto caption = [this](const char* name, const char* text) {
        return addLabel(QString::fromLatin1(name), QString::fromUtf8(text));
    };

    auto* fields = new QGridLayout;
    auto* level = new QHBoxLayout;
    level->addWidget(addBox(QStringLiteral("Text1")), 1);
    level->addWidget(addBox(QStringLiteral("Text8")));
    boxes_["Text8"]->setMaximumWidth(50);
    fields->addWidget(caption("Caption1", "EŞEL SEVİYESİ"), 0, 0);
    fields->addLayout(level, 0, 1);
    const std::pair<const char*, const char*> rows[] = {
        {"Text2", "LİMNİGRAF SAATİ"}, {"Text3", "LİMNİGRAF TARİHİ"}, {"Text4", "KAYIT ARALIĞI"},
        {"Text5", "İSTASYON ADI"},    {"Text6", "İSTASYON NO"},      {"Text7", "SUYUN ADI"}};
    int row = 1;
    for (const auto& [name, text] : rows) {
        fields->addWidget(caption(("Caption" + std::to_string(row + 1)).c_str(), text), row, 0);
        fields->addWidget(addBox(QString::fromLatin1(name)), row, 1);
        ++row;
    }

    read_ = addButton(QStringLiteral("Command1"), QStringLiteral("Limnigraftan Bilgileri Al"),
                      [this] { Command1_Click(); });
    download_ =
        addButton(QStringLiteral("Command2"), QString::fromUtf8("Sağım"), [this] { Command2_Click(); });
    erase_ = addButton(QStringLiteral("Command3"), QString::fromUtf8("limnigraf hafızasını Sil"),
                       [this] { Command3_Click(); });
    layOut(menu, fields, {read_, download_, erase_});
}

LevelLoggerForm::~LevelLoggerForm() = default;

void LevelLoggerForm::setBusy(bool busy) {
    // A new command starts with an empty status: the outcome of the last one is no longer true.
    if (busy)
        boxes_["Text9"]->clear();
    read_->setEnabled(!busy);
    download_->setEnabled(!busy);
    if (erase_->text() != qText(kMemoryErased))
        erase_->setEnabled(!busy);
}

void LevelLoggerForm::Command1_Click() {
    if (busy())
        return;
    setBusy(true);
    worker_.run<CommandOutcome>([](Exchange& exchange) { return readInformation(exchange); },
                                [this](CommandOutcome outcome) {
                                    for (const LoggerReply& r : outcome.replies)
                                        view_.showReply(r.readByte, r.reply, context_.locale);
                                    showFields(view_.fields);
                                    setBusy(false);
                                    if (!outcome.ok)
                                        showMessage(this, QString::fromStdString(outcome.message));
                                    emit commandFinished();
                                });
}

void LevelLoggerForm::runSetting(const SettingCommand& command, int unitCodeAfter) {
    setBusy(true);
    worker_.run<CommandOutcome>([command](Exchange& exchange) { return writeSetting(exchange, command); },
                                [this, unitCodeAfter](CommandOutcome outcome) {
                                    if (outcome.ok)
                                        view_.levelUnitCode = unitCodeAfter;
                                    for (const LoggerReply& r : outcome.replies)
                                        view_.showReply(r.readByte, r.reply, context_.locale);
                                    showFields(view_.fields);
                                    setBusy(false);
                                    if (!outcome.ok)
                                        showMessage(this, QString::fromStdString(outcome.message));
                                    emit commandFinished();
                                });
}

void LevelLoggerForm::fieldDoubleClicked(const QString& field) {
    if (busy())
        return;
    const int unit = view_.levelUnitCode;
    if (const auto shared = askSharedSetting(field)) {
        if (*shared)
            runSetting(**shared, unit);
        return;
    }
    // A cancelled prompt ends the command; an empty answer is taken as it stands.
    if (field == QLatin1String("Text1")) {
        if (unit == 0)
            return;
        const auto answer = askText(this, qText(kLevelPrompt), boxes_["Text1"]->text());
        if (!answer)
            return;
        const auto command = levelSetting(answer->toStdString(), unit);
        if (!command) {
            showMessage(this, qText(kWrongValue));
            return;
        }
        runSetting(*command, unit);
    } else if (field == QLatin1String("Text4")) {
        for (;;) {
            const auto answer = askText(this, qText(kIntervalPrompt), qText(kIntervalDefault));
            if (!answer)
                return;
            const IntervalSetting setting = intervalSetting(answer->toStdString());
            if (setting.answer == IntervalAnswer::Unusable)
                return;
            if (setting.answer == IntervalAnswer::Accepted) {
                runSetting(setting.command, unit);
                return;
            }
        }
    } else if (field == QLatin1String("Text8")) {
        runSetting(unitToggle(unit), toggledUnitCode(unit));
    }
}

void LevelLoggerForm::Command2_Click() {
    if (busy())
        return;
    setBusy(true);
    startDownload({}, [this](RecordedDownload download) { downloadFinished(std::move(download)); });
}

void LevelLoggerForm::downloadFinished(RecordedDownload download) {
    setBusy(false);
    const DownloadOutcome& outcome = download.result;
    std::optional<KeptDownload> kept = keepDownload(
        kLevelInstrument, download, levelImageSettings(outcome.ok ? outcome.image : outcome.partial));
    if (!outcome.ok)
        showMessage(this, QString::fromStdString(outcome.message));
    else if (storeAndConvertLevelImage(this, context_, hub_, outcome.image, boxes_["Text9"], kWholeImage,
                                       kept ? &*kept : nullptr))
        emit waterYearsChanged();
    refreshKeptDownloads();
    emit commandFinished();
}

void LevelLoggerForm::reconvertKept(const KeptDownload& kept) {
    ReconversionImage image = levelImageForReconversion(kept.image);
    if (!image.ok()) {
        showMessage(this, QString::fromStdString(image.problem));
        return;
    }
    boxes_["Text9"]->clear();
    if (convertLevelImage(this, context_, hub_, image.image, boxes_["Text9"], image.receivedEnd,
                          image.kept ? &*image.kept : nullptr))
        emit waterYearsChanged();
    refreshKeptDownloads();
}

void LevelLoggerForm::convertDump() {
    const auto dump = readFileBytes(levelDumpPath(context_.paths.korvel96Root()));
    if (!dump) {
        showMessage(this, QString::fromUtf8("Ham veri dosyası okunamadı: ") +
                              QString::fromStdString(levelDumpPath(context_.paths.korvel96Root()).string()));
        return;
    }
    if (convertLevelImage(this, context_, hub_, *dump, boxes_["Text9"]))
        emit waterYearsChanged();
}

void LevelLoggerForm::Command3_Click() {
    openEraseScreen([this] {
        for (const char* name : {"Text5", "Text6", "Text7"}) {
            view_.fields.setText(name, "");
            boxes_[QString::fromLatin1(name)]->clear();
        }
        markMemoryErased();
    });
}

void LevelLoggerForm::markMemoryErased() {
    erase_->setText(qText(kMemoryErased));
    erase_->setEnabled(false);
}

} // namespace korvel
