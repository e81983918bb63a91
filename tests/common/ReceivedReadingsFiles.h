#pragma once

#include "common/ScratchDirectory.h"

#include <filesystem>
#include <string>

namespace korvel::testing {

// A download of the older program, laid out byte by byte: the day-readings file "ABC1-10 .-5"
// (12-hour interval, unit code 1, two days of October 2004) and its station-texts file
// "ABC1-10 .m5" with the daily extremes.
//   1 October 2004: readings 1000 and 1010 (mean 1005); maximum 1010 at 14:30, minimum 1000
//                   at hour 24, which counts as 00:00.
//   2 October 2004: readings 1200 and 1201 (mean 1200.5, stored 1200: halves to even);
//                   maximum 1201 at 08:05, minimum 1200 at 02:10.
struct ReceivedDownload {
    static constexpr const char* kReadingsName = "ABC1-10 .-5";
    static constexpr const char* kTextsName = "ABC1-10 .m5";

    static Bytes readings() {
        Bytes b = {208,  1,    2, 0,    // interval 720 minutes (low, unit code, high), 0
                   0,    0,    0, 0, 0, // p4 ... p8
                   0x03, 0xE8,          // the first reading of the first day
                   0,    27};           // last position written
        for (const std::uint8_t byte : {1, 10, 4, 0x03, 0xE8, 0x03, 0xF2, //
                                        2, 10, 4, 0x04, 0xB0, 0x04, 0xB1})
            b.push_back(byte);
        return b;
    }

    static Bytes texts(const std::string& stationNumber = "01-001  ") {
        Bytes b;
        for (const std::string& text : {std::string("ABC     "), stationNumber, std::string("SAKARYA ")})
            b.insert(b.end(), text.begin(), text.end());
        b.push_back(' ');
        for (const std::uint8_t byte : {30, 14, 0x03, 0xF2, 0, 24, 0x03, 0xE8, //
                                        5, 8, 0x04, 0xB1, 10, 2, 0x04, 0xB0})
            b.push_back(byte);
        return b;
    }

    // Writes the pair (or only the readings) into dir.
    static void write(const std::filesystem::path& dir, bool withTexts = true) {
        std::filesystem::create_directories(dir);
        writeBytes(dir / kReadingsName, readings());
        if (withTexts)
            writeBytes(dir / kTextsName, texts());
    }
};

} // namespace korvel::testing
