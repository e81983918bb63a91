#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvel {

// The korvel tool: parses the arguments (without the program name), runs the command and
// returns the exit code: 0 on success, 1 with one line on err for bad input.
int runKorvel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvel
