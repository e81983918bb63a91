#pragma once

#include "core/ByteIO.h"

#include <map>
#include <string>
#include <vector>

namespace korvel::testing {

// Sibling-program files built from their layouts, for the import tests.

// Fields written thirteen to a line, separated by commas, lines ended by CR LF.
inline std::string fieldFileText(const std::vector<std::string>& fields) {
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        text += fields[i];
        text += (i + 1) % 13 == 0 || i + 1 == fields.size() ? "\r\n" : ",";
    }
    return text;
}

inline Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

struct Extreme {
    std::string level = "0";
    std::string day = "0";
    std::string time = "0";
};

// A staff-gauge month (form R): 490 fields.
struct StaffMonthFile {
    std::map<int, std::pair<std::string, std::string>> readings; // day -> 08:00, 16:00
    std::map<int, std::string> means;                            // day -> daily mean
    Extreme highest;
    Extreme lowest;

    std::vector<std::string> fields() const {
        std::vector<std::string> f(490, "7");
        for (int d = 1; d <= 31; ++d) {
            const auto it = readings.find(d);
            f[13 * d - 11] = it == readings.end() ? "0" : it->second.first;
            f[13 * d - 10] = it == readings.end() ? "0" : it->second.second;
            const auto mean = means.find(d);
            f[459 + d - 1] = mean == means.end() ? "0" : mean->second;
        }
        f[410] = highest.level;
        f[411] = highest.day;
        f[412] = highest.time;
        f[414] = lowest.level;
        f[415] = lowest.day;
        f[416] = lowest.time;
        return f;
    }
    Bytes bytes() const { return bytesOf(fieldFileText(fields())); }
};

// A logger month (form L): 428 fields, fields 3 and 4 empty.
struct LoggerMonthFile {
    std::map<int, std::string> levels; // day -> field text ("\" or "" for none)
    Extreme highest;
    Extreme lowest;

    std::vector<std::string> fields() const {
        std::vector<std::string> f(428, "7");
        f[2] = "";
        f[3] = "";
        for (int d = 1; d <= 31; ++d) {
            const auto it = levels.find(d);
            f[13 * d] = it == levels.end() ? "" : it->second;
        }
        f[420] = highest.level;
        f[421] = highest.day;
        f[422] = highest.time;
        f[424] = lowest.level;
        f[425] = lowest.day;
        f[426] = lowest.time;
        return f;
    }
    Bytes bytes() const { return bytesOf(fieldFileText(fields())); }
};

// An HQ file image: text placed at 1-based positions of a space-filled image.
class HqFileImage {
public:
    explicit HqFileImage(std::size_t size = 6000) : text_(size, ' ') {}
    HqFileImage& put(std::size_t position, const std::string& text) {
        text_.replace(position - 1, text.size(), text);
        return *this;
    }
    // Entry i (from 1): flag character and four discharge characters.
    HqFileImage& entry(std::size_t i, char flag, const std::string& discharge4) {
        return put(556 + 5 * i, std::string(1, flag) + discharge4);
    }
    HqFileImage& period(std::size_t j, const std::string& from, const std::string& to) {
        put(7 + 20 * (j - 1), from);
        return put(17 + 20 * (j - 1), to);
    }
    Bytes bytes() const { return bytesOf(text_); }

private:
    std::string text_;
};

// A measurement list line of 133 characters from the fields at their positions.
inline std::string measurementLine(const std::map<std::size_t, std::string>& fields) {
    std::string line(133, ' ');
    for (const auto& [position, text] : fields)
        line.replace(position - 1, text.size(), text);
    return line;
}

} // namespace korvel::testing
