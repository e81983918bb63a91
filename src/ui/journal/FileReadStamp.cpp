#include "ui/journal/FileReadStamp.h"

#include "core/FileIO.h"
#include "journal/RecordDiff.h"
#include "platform/Dialogs.h"

namespace korvel {

void FileReadStamp::remember(const std::filesystem::path& file) {
    file_ = file;
    checksum_ = file.empty() ? std::nullopt : fileChecksum(readFileBytes(file));
}

bool FileReadStamp::changedOnDisk() const {
    return !file_.empty() && fileChecksum(readFileBytes(file_)) != checksum_;
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
