#pragma once

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
    bool changedOnDisk() const;
    SaveChoice confirmSave(QWidget* parent) const;

private:
    std::filesystem::path file_;
    std::optional<std::string> checksum_;
};

} // namespace korvel
