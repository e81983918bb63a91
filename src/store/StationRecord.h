#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// Text cut or padded with spaces to a fixed width in characters, the way a fixed-width
// field holds it. Characters the files cannot hold (outside cp1254) become "?".
std::string fixedText(std::string_view utf8, std::size_t width);

// The descriptive data of one station, stored as "genel.tan" in its directory. Text fields
// hold UTF-8 padded with spaces to their width; the three numbers hold the real value
// (12.5 m), the file holds them multiplied by 100.
struct StationRecord {
    static constexpr std::size_t stationNumberWidth = 8;
    static constexpr std::size_t riverNameWidth = 32;
    static constexpr std::size_t stationNameWidth = 32;
    static constexpr std::size_t regionNameWidth = 32;
    static constexpr std::size_t openingDateWidth = 10;
    static constexpr std::size_t coordinatesWidth = 18;
    static constexpr std::size_t noteWidth = 200;
    static constexpr std::size_t phoneNumberWidth = 20;
    static constexpr std::size_t dialPrefixWidth = 6;
    static constexpr std::size_t modemHqFileWidth = 50;
    static constexpr std::size_t basinNameWidth = 12;
    static constexpr std::size_t passwordWidth = 12;

    std::string stationNumber = std::string(stationNumberWidth, ' ');
    std::string riverName = std::string(riverNameWidth, ' ');
    std::string stationName = std::string(stationNameWidth, ' ');
    std::string regionName = std::string(regionNameWidth, ' ');
    std::string openingDate = std::string(openingDateWidth, ' ');
    float elevation = 0.0f;
    float drainageArea = 0.0f;
    float thiessenArea = 0.0f;
    std::string coordinates = std::string(coordinatesWidth, ' ');
    std::string note = std::string(noteWidth, ' ');
    std::string phoneNumber = std::string(phoneNumberWidth, ' ');
    std::string dialPrefix = std::string(dialPrefixWidth, ' ');
    std::string modemHqFile = std::string(modemHqFileWidth, ' ');
    std::string basinName = std::string(basinNameWidth, ' ');
    std::string password = std::string(passwordWidth, ' ');

    bool operator==(const StationRecord&) const = default;
};

inline constexpr std::string_view kStationRecordFileName = "genel.tan";

// The numeric entry rule: value x 100 turned into text and back into a number, held as a
// 32-bit float. Nothing when the result does not fit a 32-bit float.
std::optional<float> storedHundredths(double value);
// The number a record field is written with: the field's shown value put through the rule.
float hundredthsOfField(float value);

// Reads genel.tan field by field (comma-or-line-end delimited input) starting from a
// cleared record whose regionName is preset; fields the file does not reach stay as they
// are. Accepts CR LF and LF line ends. Never throws on malformed input.
StationRecord parseStationRecord(std::string_view fileBytes, std::string_view regionName = {});

// The 15 lines of genel.tan in cp1254 with CR LF line ends. A text field holding a comma
// or starting with a double quote or a space is written inside double quotes so that it
// reads back whole; line breaks inside a field are written as spaces.
std::string serializeStationRecord(const StationRecord& record);

// The record of a station directory; a missing or unreadable file gives the cleared record
// with the given region name.
StationRecord loadStationRecord(const std::filesystem::path& stationDir, std::string_view regionName);
// Rewrites genel.tan of the directory through a temporary file. Throws FileError.
void saveStationRecordFile(const std::filesystem::path& stationDir, const StationRecord& record);

} // namespace korvel
