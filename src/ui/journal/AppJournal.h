#pragma once

#include "journal/JournalingWriter.h"

#include <QString>
#include <functional>

class QWidget;

namespace korvel {

// The program's change journal: installed for its lifetime, it journals every change of a
// station's files under the name of the screen that makes it, and asks the user whether to go
// on without the journal when a station's journal cannot be written.
class AppJournal {
public:
    AppJournal(std::function<QString()> screenName, QWidget* dialogParent);

private:
    JournalingWriter writer_;
    ScopedFileWriteJournal installed_;
};

// Settles the interrupted changes of a station's journal when the station is opened, and tells
// the user what was brought back. A journal that cannot be read keeps nobody from the data.
void settleStationJournal(QWidget* parent, const std::filesystem::path& stationDir);

} // namespace korvel
