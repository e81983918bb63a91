#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace korvel::demo {

// Writes a demo data drive: under <drive>/korvel2000 three stations of one basin in the
// region "Ankara", two of them flow stations with water years 2003 and 2004 (logger and
// staff-gauge days), rating tables covering both years and a measurement card, and all
// three rain gauges with rainfall-year files holding a season of storms. Before them lies a
// long record for the multi-year statistics: flow years 1995-2002 read from the staff gauge
// (rated by a second period of table 01) and rainfall years 1993-2002. A fixed seed makes
// repeated runs write identical bytes. Returns the files written.
std::vector<std::filesystem::path> writeDemoDrive(const std::filesystem::path& drive);

} // namespace korvel::demo
