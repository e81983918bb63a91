#pragma once

#include "core/KeyFilters.h"
#include "ui/common/GridKeys.h"

namespace korvel {

// A grid's key filter made from one of the pure cell-editing rules of core/KeyFilters.h.
template <typename Rule> GridKeyFilter keyOutcomeFilter(Rule rule) {
    return [rule](const GridKey& key) {
        const KeyOutcome outcome =
            rule(key.text, static_cast<char32_t>(key.key), CellPosition{key.row, key.column});
        GridKeyResult result{outcome.handled ? outcome.text : key.text, outcome.beep, GridMove::None};
        switch (outcome.move) {
        case KeyOutcome::Move::None:
            break;
        case KeyOutcome::Move::NextRow:
            result.move = GridMove::NextRow;
            break;
        case KeyOutcome::Move::NextColumn:
            result.move = GridMove::NextColumn;
            break;
        case KeyOutcome::Move::FirstColumnSameRow:
            result.move = GridMove::RowStart;
            break;
        }
        return result;
    };
}

} // namespace korvel
