#include "ui/journal/FileReadStamp.h"

#include "core/FileIO.h"
#include "journal/RecordDiff.h"
#include "platform/Dialogs.h"

namespace korvel {

void FileReadStamp::remember(const std::filesystem::path& file) {
    file_ = file;
    recordSize_ = 0;
    recordNumber_ = 0;
    checksum_ = file.empty() ? std::nullopt : fileChecksum(bytesOnDisk());
}

void FileReadStamp::rememberRecord(const std::filesystem::path& file, std::size_t recordSize,
                                   std::size_t recordNumber) {
    file_ = file;
    recordSize_ = recordSize;
    recordNumber_ = recordNumber;
    checksum_ = file.empty() ? std::nullopt : fileChecksum(bytesOnDisk());
}

std::optional<Bytes> FileReadStamp::bytesOnDisk() const {
    const auto bytes = readFileBytes(file_);
    if (!bytes || recordSize_ == 0 || recordNumber_ == 0)
        return bytes;
    return recordBytes(*bytes, recordSize_, recordNumber_);
}

bool FileReadStamp::changedOnDisk() const {
    return !file_.empty() && fileChecksum(bytesOnDisk()) != checksum_;
}

SaveChoice FileReadStamp::confirmSave(QWidget* parent) const {
    if (!changedOnDisk())
        return SaveChoice::save;
    const QString text =
        QStringLiteral("Dosya siz okuduktan sonra değişti: %1\n"
                       "(başka bir pencere, başka bir kullanıcı ya da korvel aracı değiştirmiş olabilir)\n\n"
                       "Yeniden dene: dosyayı yeniden oku; ekrandaki değişiklikler kaybolur.\n"
                       "Yoksay: üzerine yaz; öteki değişiklik değişiklik geçmişinde kalır, geri alınabilir.\n"
                       "Durdur: kaydetme.")
            .arg(QString::fromStdString(file_.filename().string()));
    switch (askAbortRetryIgnore(parent, text)) {
    case AbortRetryIgnore::Retry:
        return SaveChoice::reload;
    case AbortRetryIgnore::Ignore:
        return SaveChoice::save;
    case AbortRetryIgnore::Abort:
        break;
    }
    return SaveChoice::cancel;
}

} // namespace korvel
