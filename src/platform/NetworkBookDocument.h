#pragma once

#include "core/Locale.h"
#include "transfer/NetworkYearbook.h"

#include <filesystem>

namespace korvel {

// The yearbook of a network as one PDF file: a cover, the contents with page numbers, then each
// section of the plan (yearbook page, annual flow table and annual chart of a flow file; the
// one-year rainfall analysis of a rainfall file), and the closing section "Eksik veriler". Every
// page carries the header of its section and "n / N"; pages of a section with months missing
// days carry the footnote that counts them. The outline has an entry per region, basin and
// station. The pages are laid out first and rendered in a second pass, section by section, so
// that only one section is held at a time; the file is written whole or not at all. Throws
// std::runtime_error (FileError) when it cannot be written.
NetworkBookSummary writeNetworkBookPdf(const NetworkBookPlan& plan, const std::filesystem::path& file,
                                       const Locale& locale, const BookProgress& progress = {});

} // namespace korvel
