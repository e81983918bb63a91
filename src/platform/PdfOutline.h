#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace korvel {

// One bookmark of a PDF outline: its title, the page it opens (from 0) and its depth (0 for the
// top level; an entry one level deeper than the one before it is that one's child).
struct OutlineEntry {
    std::string title;
    int page = 0;
    int level = 0;
};

// Copies the PDF `in` to `out` with the entries as its outline (bookmarks), shown when the file
// opens; the top-level entries are open, the deeper ones closed. Throws std::runtime_error when
// the input cannot be read or the output cannot be written.
void writePdfWithOutline(const std::filesystem::path& in, const std::filesystem::path& out,
                         const std::vector<OutlineEntry>& entries);

} // namespace korvel
