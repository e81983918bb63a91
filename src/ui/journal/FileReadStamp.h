#pragma once

#include "core/ByteIO.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

class QWidget;

namespace korvel {

// What a screen's save does about a file that changed on disk since the screen read it.
enum class SaveChoice { save, reload, cancel };

// The checksum of a file as a screen read it. Before saving, the screen asks confirmSave: a
// file unchanged since saves; a file someone else (another window, another user, the tool)
// changed meanwhile stops the save and asks whether to read it again, losing the screen's edits,
// to write over it (the other change stays in the journal and can be taken back) or to cancel.
class FileReadStamp {
public:
    void remember(const std::filesystem::path& file);
    // Only the bytes of record `recordNumber` (from 1) count, so that a screen editing one record
    // is not stopped by saves of the file's other records.
    void rememberRecord(const std::filesystem::path& file, std::size_t recordSize, std::size_t recordNumber);
    bool changedOnDisk() const;
    SaveChoice confirmSave(QWidget* parent) const;
    // The remembered bytes as the file holds them now: the record, or the whole file; nothing
    // when the file (or the record) is not there.
    std::optional<Bytes> bytesOnDisk() const;

private:
    std::filesystem::path file_;
    std::size_t recordSize_ = 0; // 0: the whole file
    std::size_t recordNumber_ = 0;
    std::optional<std::string> checksum_;
};

} // namespace korvel
