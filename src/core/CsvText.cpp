#include "core/CsvText.h"

namespace korvel {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

std::string csvField(const std::string& text, char separator, bool keepEdgeSpaces) {
    const bool edgeSpace = keepEdgeSpaces && !text.empty() && (text.front() == ' ' || text.back() == ' ');
    if (!edgeSpace && text.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string csvText(const Table& table, char separator) {
    std::string text(kByteOrderMark);
    for (int r = 0; r < table.rows(); ++r) {
        for (int c = 0; c < table.columns(); ++c) {
            if (c > 0)
                text += separator;
            text += csvField(table.cell(r, c), separator);
        }
        text += "\r\n";
    }
    return text;
}

char csvSeparator(const Locale& locale) {
    return locale.decimalSeparator() == ',' ? ';' : ',';
}

std::vector<std::vector<std::string>> parseCsvText(std::string_view text, char separator) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool fieldStarted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else
                quoted = false;
            continue;
        }
        if (c == '"') {
            quoted = true;
            fieldStarted = true;
        } else if (c == separator) {
            row.push_back(std::move(field));
            field.clear();
            fieldStarted = true;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            row.push_back(std::move(field));
            rows.push_back(std::move(row));
            row.clear();
            field.clear();
            fieldStarted = false;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !field.empty() || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string csvTextsOf(const Sheet& sheet, char separator) {
    std::vector<std::pair<std::string, std::string>> rows;
    if (!sheet.caption.empty())
        rows.emplace_back("Başlık", sheet.caption);
    for (const auto& [name, text] : sheet.texts())
        if (!text.empty())
            rows.emplace_back(sheet.label(name), text);
    Table table(static_cast<int>(rows.size()), 2, 0, 0);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        table.setCell(static_cast<int>(r), 0, rows[r].first);
        table.setCell(static_cast<int>(r), 1, rows[r].second);
    }
    return csvText(table, separator);
}

} // namespace korvel
