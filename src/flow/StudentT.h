#pragma once

namespace korvel {

// The p-quantile (0 < p < 1) of Student's t distribution with `dof` degrees of freedom
// (dof > 0); the normal quantile for an infinite dof.
double studentTQuantile(double p, double dof);

} // namespace korvel
