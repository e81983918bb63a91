#pragma once

#include "core/Locale.h"
#include "journal/ChangeJournal.h"

#include <QStringList>
#include <vector>

namespace korvel {

// The columns of the before/after view of a change's records.
QStringList recordViewHeadings();

// Two rows per changed record, before and after: a water-year day as the flow tables show it
// (date, highest and lowest level with their times, daily mean level or discharge, tag), any
// other record as its size and leading bytes in hexadecimal.
std::vector<QStringList> recordViewRows(const JournalEntry& entry, const std::vector<RecordChange>& records,
                                        const Locale& locale);

} // namespace korvel
