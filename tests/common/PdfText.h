#pragma once

#include "core/Sheet.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace korvel::testing {

// pdftotext comes with poppler-utils, which scripts/deps installs.
inline const char* const kNoPdftotext = "pdftotext is missing: install poppler-utils (scripts/deps)";

inline bool havePdftotext() {
    return std::system("pdftotext -v > /dev/null 2>&1") == 0;
}

// What a shell command prints on standard output.
inline std::string commandOutput(const std::string& command) {
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, n);
        ::pclose(pipe);
    }
    return text;
}

// The text pdftotext -layout extracts from the file, pages separated by form feeds; pages
// `first` to `last` only when given (counted from 1).
inline std::string pdfText(const std::filesystem::path& pdf, int first = 0, int last = 0) {
    std::string command = "pdftotext -layout -enc UTF-8";
    if (first > 0)
        command += " -f " + std::to_string(first) + " -l " + std::to_string(last);
    command += " '" + pdf.string() + "' - 2>/dev/null";
    return commandOutput(command);
}

inline int pdfPageCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\f'));
}

// Runs of spaces and line ends become one space, so that texts compare whatever the layout
// did to their spacing.
inline std::string collapseSpaces(const std::string& text) {
    std::string out;
    bool space = false;
    for (char ch : text) {
        const bool blank = ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f';
        if (blank) {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += ch;
    }
    return out;
}

// The pieces of a report that the PDF text lacks: the caption, every non-empty grid cell and
// every text after its label, compared with their spacing collapsed.
inline std::vector<std::string> missingFromPdf(const Sheet& sheet, const std::string& pdfText) {
    const std::string printed = collapseSpaces(pdfText);
    std::vector<std::string> missing;
    const auto check = [&](const std::string& piece) {
        const std::string wanted = collapseSpaces(piece);
        if (!wanted.empty() && printed.find(wanted) == std::string::npos)
            missing.push_back(wanted);
    };
    check(sheet.caption);
    for (const auto& [name, table] : sheet.tables())
        for (int r = 0; r < table.rows(); ++r)
            for (int c = 0; c < table.columns(); ++c)
                if (table.columnWidth(c) > 0)
                    check(table.cell(r, c));
    for (const auto& [name, text] : sheet.texts())
        if (!text.empty())
            check(sheet.labelledText(name));
    return missing;
}

} // namespace korvel::testing
