#include "transfer/SuvakFields.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr char kEndOfFile = 0x1A;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string trimBlanks(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

} // namespace

std::string_view suvakTextOf(const Bytes& bytes) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const auto end = text.find(kEndOfFile); end != std::string_view::npos)
        text = text.substr(0, end);
    return text;
}

bool isSuvakText(const Bytes& bytes) {
    const std::string_view text = suvakTextOf(bytes);
    return std::none_of(text.begin(), text.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F;
    });
}

std::vector<std::string> readFieldList(std::string_view text) {
    const auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };
    const auto endsField = [&](std::size_t i) { return text[i] == ',' || isLineEnd(text[i]); };

    std::vector<std::string> fields;
    std::size_t i = 0;
    bool commaBefore = false; // the last field ended with a comma, so another one follows
    while (i < text.size() || commaBefore) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        std::size_t start = i;
        if (i < text.size() && text[i] == '"') {
            start = i + 1;
            const std::size_t close = std::min(text.find('"', start), text.size());
            fields.emplace_back(text.substr(start, close - start));
            i = close;
            // Whatever follows the closing quote up to the separator belongs to no field.
            while (i < text.size() && !endsField(i))
                ++i;
        } else {
            while (i < text.size() && !endsField(i))
                ++i;
            fields.push_back(trimBlanks(text.substr(start, i - start)));
        }
        commaBefore = i < text.size() && text[i] == ',';
        if (i < text.size())
            i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    }
    return fields;
}

std::string_view fieldAt(const std::vector<std::string>& fields, std::size_t n) {
    if (n == 0 || n > fields.size())
        return {};
    return fields[n - 1];
}

std::optional<OleDate> parseTimeDigits(std::string_view digits) {
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::string text(digits);
    if (text.size() % 2 == 1)
        text.insert(text.begin(), '0');
    text += "0000";
    const int hour = (text[0] - '0') * 10 + (text[1] - '0');
    const int minute = (text[2] - '0') * 10 + (text[3] - '0');
    if (hour > 23 || minute > 59)
        return std::nullopt;
    return OleDate::fromTime(hour, minute, 0);
}

} // namespace korvel
