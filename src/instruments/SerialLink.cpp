#include "instruments/SerialLink.h"

#include "core/Cp1254.h"
#include "core/Numbers.h"

#include <cctype>
#include <vector>

namespace korvel {

namespace {

std::optional<int> wholeNumber(std::string_view text) {
    return wholeTextNumber<int>(trimmed(text));
}

} // namespace

std::optional<LineSettings> parseLineSettings(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (parts.size() != 4)
        return std::nullopt;
    LineSettings line;
    const auto speed = wholeNumber(parts[0]);
    const auto dataBits = wholeNumber(parts[2]);
    const auto stopBits = wholeNumber(parts[3]);
    const std::string parity = trimmed(parts[1]);
    if (!speed || *speed <= 0 || !dataBits || *dataBits < 5 || *dataBits > 8 || !stopBits ||
        (*stopBits != 1 && *stopBits != 2) || parity.size() != 1)
        return std::nullopt;
    line.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(parity[0])));
    if (std::string_view("noems").find(line.parity) == std::string_view::npos)
        return std::nullopt;
    line.speed = *speed;
    line.dataBits = *dataBits;
    line.stopBits = *stopBits;
    return line;
}

} // namespace korvel
