#pragma once

#include "core/ByteIO.h"
#include "core/OleDate.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// A sibling-program file that is not of the expected form; the message is the reason the
// result list shows for it.
class SuvakFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True when the bytes can be a text file of the sibling program: no control characters
// besides tab, carriage return and line feed. An end-of-file mark (Ctrl-Z) ends the text.
bool isSuvakText(const Bytes& bytes);
// The text up to the end-of-file mark, if any.
std::string_view suvakTextOf(const Bytes& bytes);

// The fields of a sequential text file as the sibling program writes them: a field ends at a
// comma or at a line end (CR LF, LF or CR). Spaces and tabs around a field are dropped, and
// a field in double quotes runs to its closing quote. A line end after the last field adds
// no empty field.
std::vector<std::string> readFieldList(std::string_view text);

// Field n (from 1) of a list; a field past the end is empty.
std::string_view fieldAt(const std::vector<std::string>& fields, std::size_t n);

// Hour and minute written as digits without a separator ("830" and "0830" are 08:30, "5" is
// 05:00, "14" is 14:00, "" is 00:00): "0" in front when the count of characters is odd, then
// "0000" appended; characters 1-2 are the hour and 3-4 the minute. Nothing when the text
// holds anything but digits or does not make a time of day.
std::optional<OleDate> parseTimeDigits(std::string_view digits);

} // namespace korvel
