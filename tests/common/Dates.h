#pragma once

#include "core/OleDate.h"

namespace korvel::testing {

inline OleDate day(int y, int m, int d) {
    return OleDate::fromDate(y, m, d);
}

} // namespace korvel::testing
