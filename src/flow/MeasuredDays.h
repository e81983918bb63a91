#pragma once

namespace korvel {

// Whether a writer of derived days may replace the measured days (neither blank nor "G"/"K")
// of the file it writes into. Keep makes it refuse and name how many there are.
enum class MeasuredDays { Keep, Replace };

} // namespace korvel
