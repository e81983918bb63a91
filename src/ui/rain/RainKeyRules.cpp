#include "ui/rain/RainKeyRules.h"

#include "core/KeyFilters.h"

namespace korvel {

namespace {

std::optional<std::string> cellText(const KeyOutcome& outcome) {
    if (!outcome.handled)
        return std::nullopt;
    return outcome.text;
}

} // namespace

std::optional<std::string> rainCellAfterKey(std::string_view cell, int key) {
    return cellText(dailyRainKey(cell, static_cast<char32_t>(key)));
}

std::optional<std::string> basinCellAfterKey(std::string_view cell, int key) {
    return cellText(basinTableKey(cell, static_cast<char32_t>(key)));
}

std::optional<char32_t> fillValueBoxReceives(char32_t key) {
    return fillValueBoxKey(key);
}

} // namespace korvel
