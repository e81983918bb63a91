#include "store/StationRecord.h"

#include "core/Cp1254.h"
#include "core/FileIO.h"
#include "core/Numbers.h"
#include "core/Paths.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel {

namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allSpaces(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// "123", "-12": the part of a number a decimal comma can follow.
bool isIntegerText(std::string_view text) {
    text = text.substr(std::min(text.find_first_not_of(' '), text.size()));
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

// "5", "234567E+07": the part after a decimal comma, trailing spaces allowed.
bool isFractionText(std::string_view text) {
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::size_t i = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i == 0)
        return false;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t digits = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        if (i == digits)
            return false;
    }
    return i == text.size();
}

// Comma-or-line-end delimited input over the bytes of a file: leading spaces are skipped,
// a comma ends a field as a line end does, and a field opened by a double quote runs to
// its closing quote.
class FieldReader {
public:
    explicit FieldReader(std::string_view data) : data_(data) {}

    // Nothing once the data is used up.
    std::optional<std::string> text() {
        if (pos_ >= data_.size())
            return std::nullopt;
        skipSpaces();
        if (pos_ < data_.size() && data_[pos_] == '"')
            return quoted();
        const std::size_t end = delimiterFrom(pos_);
        std::string field(data_.substr(pos_, end - pos_));
        pos_ = end;
        consumeDelimiter();
        return field;
    }

    // The text of a number field. A number written with a decimal comma ("1234,5") would
    // split into two fields; as every number stands on its own line, a comma followed by
    // the rest of a number up to the line end is taken as the decimal separator.
    std::optional<std::string> number() {
        if (pos_ >= data_.size())
            return std::nullopt;
        skipSpaces();
        const std::size_t end = delimiterFrom(pos_);
        std::string field(data_.substr(pos_, end - pos_));
        pos_ = end;
        if (pos_ < data_.size() && data_[pos_] == ',') {
            const std::size_t lineEnd = lineEndFrom(pos_ + 1);
            const std::string_view rest = data_.substr(pos_ + 1, lineEnd - pos_ - 1);
            if (isIntegerText(field) && isFractionText(rest)) {
                field += '.';
                field += rest;
                pos_ = lineEnd;
            }
        }
        consumeDelimiter();
        return field;
    }

private:
    std::string quoted() {
        const std::size_t open = pos_;
        const std::size_t lineEnd = lineEndFrom(open + 1);
        const std::size_t last = data_.substr(0, lineEnd).rfind('"');
        // A quote closing the line (only spaces after it) closes the field, so that quotes
        // and commas inside the field are kept.
        if (last > open && allSpaces(data_.substr(last + 1, lineEnd - last - 1))) {
            std::string field(data_.substr(open + 1, last - open - 1));
            pos_ = lineEnd;
            consumeDelimiter();
            return field;
        }
        // Otherwise the first quote closes it and the rest up to the delimiter is skipped.
        const std::size_t close = data_.substr(0, lineEnd).find('"', open + 1);
        if (close == std::string_view::npos) {
            std::string field(data_.substr(open + 1, lineEnd - open - 1));
            pos_ = lineEnd;
            consumeDelimiter();
            return field;
        }
        std::string field(data_.substr(open + 1, close - open - 1));
        pos_ = delimiterFrom(close + 1);
        consumeDelimiter();
        return field;
    }

    void skipSpaces() {
        while (pos_ < data_.size() && data_[pos_] == ' ')
            ++pos_;
    }

    std::size_t delimiterFrom(std::size_t from) const {
        std::size_t i = from;
        while (i < data_.size() && data_[i] != ',' && !isLineEnd(data_[i]))
            ++i;
        return i;
    }

    std::size_t lineEndFrom(std::size_t from) const {
        std::size_t i = from;
        while (i < data_.size() && !isLineEnd(data_[i]))
            ++i;
        return i;
    }

    void consumeDelimiter() {
        if (pos_ >= data_.size())
            return;
        if (data_[pos_] == '\r') {
            ++pos_;
            if (pos_ < data_.size() && data_[pos_] == '\n')
                ++pos_;
        } else {
            ++pos_; // comma or LF
        }
    }

    std::string_view data_;
    std::size_t pos_ = 0;
};

float realOfHundredths(float hundredths) {
    return static_cast<float>(static_cast<double>(hundredths) / 100.0);
}

// A number read from the file into a 32-bit float; values beyond its range read as 0.
float fileNumber(std::string_view text) {
    const double value = numericValue(text);
    if (!(std::fabs(value) <= std::numeric_limits<float>::max()))
        return 0.0f;
    return static_cast<float>(value);
}

// Unquoted, a comma would end the field early, a leading quote would open a quoted field
// and leading spaces would be skipped. Fields free of these are written as they stand.
bool needsQuotes(std::string_view bytes) {
    const std::size_t first = bytes.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return false;
    return first > 0 || bytes[first] == '"' || bytes.find(',') != std::string_view::npos;
}

void appendText(std::string& out, std::string_view utf8, std::size_t width) {
    std::string bytes = fixedField(utf8, width);
    for (char& c : bytes)
        if (isLineEnd(c))
            c = ' ';
    if (needsQuotes(bytes))
        out += '"' + bytes + '"';
    else
        out += bytes;
    out += "\r\n";
}

void appendNumber(std::string& out, float value) {
    const float hundredths = hundredthsOfField(value);
    if (!(hundredths < 0.0f))
        out += ' ';
    out += generalNumber32(hundredths);
    out += "\r\n";
}

} // namespace

std::string fixedText(std::string_view utf8, std::size_t width) {
    return cp1254ToUtf8(fixedField(utf8, width));
}

std::optional<float> storedHundredths(double value) {
    const double scaled = value * 100.0;
    if (!std::isfinite(scaled))
        return std::nullopt;
    const double back = numericValue(generalNumber(scaled));
    if (!(std::fabs(back) <= std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(back);
}

float hundredthsOfField(float value) {
    return storedHundredths(numericValue(generalNumber32(value))).value_or(0.0f);
}

StationRecord parseStationRecord(std::string_view fileBytes, std::string_view regionName) {
    using R = StationRecord;
    StationRecord record;
    record.regionName = fixedText(regionName, R::regionNameWidth);
    FieldReader reader(fileBytes);
    const auto text = [&](std::string& field, std::size_t width) {
        const auto value = reader.text();
        if (value)
            field = fixedText(cp1254ToUtf8(*value), width);
        return value.has_value();
    };
    const auto number = [&](float& field) {
        const auto value = reader.number();
        if (value)
            field = realOfHundredths(fileNumber(*value));
        return value.has_value();
    };
    // Reading stops at the first field the file does not reach.
    (void)(text(record.stationNumber, R::stationNumberWidth) && text(record.riverName, R::riverNameWidth) &&
           text(record.stationName, R::stationNameWidth) && text(record.regionName, R::regionNameWidth) &&
           text(record.openingDate, R::openingDateWidth) && number(record.elevation) &&
           number(record.drainageArea) && number(record.thiessenArea) &&
           text(record.coordinates, R::coordinatesWidth) && text(record.note, R::noteWidth) &&
           text(record.phoneNumber, R::phoneNumberWidth) && text(record.dialPrefix, R::dialPrefixWidth) &&
           text(record.modemHqFile, R::modemHqFileWidth) && text(record.basinName, R::basinNameWidth) &&
           text(record.password, R::passwordWidth));
    return record;
}

std::string serializeStationRecord(const StationRecord& record) {
    using R = StationRecord;
    std::string out;
    out.reserve(512);
    appendText(out, record.stationNumber, R::stationNumberWidth);
    appendText(out, record.riverName, R::riverNameWidth);
    appendText(out, record.stationName, R::stationNameWidth);
    appendText(out, record.regionName, R::regionNameWidth);
    appendText(out, record.openingDate, R::openingDateWidth);
    appendNumber(out, record.elevation);
    appendNumber(out, record.drainageArea);
    appendNumber(out, record.thiessenArea);
    appendText(out, record.coordinates, R::coordinatesWidth);
    appendText(out, record.note, R::noteWidth);
    appendText(out, record.phoneNumber, R::phoneNumberWidth);
    appendText(out, record.dialPrefix, R::dialPrefixWidth);
    appendText(out, record.modemHqFile, R::modemHqFileWidth);
    appendText(out, record.basinName, R::basinNameWidth);
    appendText(out, record.password, R::passwordWidth);
    return out;
}

StationRecord loadStationRecord(const std::filesystem::path& stationDir, std::string_view regionName) {
    const auto bytes = readFileBytes(resolveCaseInsensitive(stationDir / kStationRecordFileName));
    if (!bytes)
        return parseStationRecord({}, regionName);
    return parseStationRecord(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                              regionName);
}

void saveStationRecordFile(const std::filesystem::path& stationDir, const StationRecord& record) {
    writeFileAtomic(resolveCaseInsensitive(stationDir / kStationRecordFileName),
                    serializeStationRecord(record));
}

} // namespace korvel
