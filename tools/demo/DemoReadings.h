#pragma once

#include "DemoData.h"
#include "core/ByteIO.h"

#include <map>
#include <string>
#include <vector>

namespace korvel::demo {

// The logger's instantaneous readings behind the logger days, as the downloads would have left
// them in the station directory: one day-readings file per monthly visit (the days since the
// previous visit, read every 15 minutes in millimetres), named as the conversion names them
// after the station and the visit's date. Each day's curve passes through the day's recorded
// maximum and minimum at their times.
struct DemoReadingsFiles {
    std::map<std::string, Bytes> files;      // file name -> contents
    std::map<double, std::string> fileOfDay; // day (OleDate serial) -> file name
};

DemoReadingsFiles demoReadingsFiles(const std::vector<LevelDay>& days, const std::string& stationName);

} // namespace korvel::demo
