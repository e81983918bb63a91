#pragma once

#include "core/Sheet.h"
#include "transfer/NetworkYearbook.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace korvel {

// Renders the reports a command printed into one PDF file (--pdf FILE); it throws with a
// one-line message when the file cannot be written. The tool is built without one when it has
// no Qt, and --pdf then fails.
using SheetPdfWriter =
    std::function<void(const std::vector<Sheet>& sheets, const std::filesystem::path& file)>;

// Renders the yearbook of a network into a PDF file (korvel yearbook); missing, like the writer
// above, from a tool built without Qt.
using NetworkBookPdfWriter = std::function<NetworkBookSummary(
    const NetworkBookPlan& plan, const std::filesystem::path& file, const Locale& locale)>;

// The korvel tool: parses the arguments (without the program name), runs the command and
// returns the exit code: 0 on success, 1 with one line on err for bad input.
int runKorvel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const SheetPdfWriter& pdfWriter = {}, const NetworkBookPdfWriter& bookWriter = {});

} // namespace korvel
