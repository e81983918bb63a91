#include "core/Sheet.h"

#include <algorithm>
#include <iterator>
#include <numeric>

namespace korvel {

Table& Sheet::table(const std::string& name) {
    for (auto& [n, t] : tables_)
        if (n == name)
            return t;
    tables_.emplace_back(name, Table());
    return tables_.back().second;
}

const Table* Sheet::findTable(const std::string& name) const {
    for (const auto& [n, t] : tables_)
        if (n == name)
            return &t;
    return nullptr;
}

void Sheet::setTable(const std::string& name, Table table) {
    this->table(name) = std::move(table);
}

void Sheet::setText(const std::string& name, std::string text) {
    for (auto& [n, t] : texts_)
        if (n == name) {
            t = std::move(text);
            return;
        }
    texts_.emplace_back(name, std::move(text));
}

std::string Sheet::text(const std::string& name) const {
    for (const auto& [n, t] : texts_)
        if (n == name)
            return t;
    return {};
}

bool Sheet::hasText(const std::string& name) const {
    for (const auto& [n, t] : texts_)
        if (n == name)
            return true;
    return false;
}

void Sheet::setLabel(const std::string& name, std::string label) {
    for (auto& [n, l] : labels_)
        if (n == name) {
            l = std::move(label);
            return;
        }
    labels_.emplace_back(name, std::move(label));
}

std::string Sheet::label(const std::string& name) const {
    for (const auto& [n, l] : labels_)
        if (n == name)
            return l;
    return {};
}

std::string Sheet::labelledText(const std::string& name) const {
    const std::string caption = label(name);
    return caption.empty() ? text(name) : caption + " " + text(name);
}

void Sheet::alignColumns(std::string spanning, std::string spanned, std::vector<int> spans) {
    alignments_.push_back({std::move(spanning), std::move(spanned), std::move(spans)});
}

bool alignColumnWidths(std::vector<double>& spanning, std::vector<double>& spanned,
                       const std::vector<int>& spans) {
    bool changed = false;
    std::size_t first = 0;
    for (std::size_t k = 0; k < spanning.size(); ++k) {
        const auto span = static_cast<std::size_t>(std::max(1, k < spans.size() ? spans[k] : 1));
        if (first + span > spanned.size())
            break;
        const auto begin = spanned.begin() + static_cast<std::ptrdiff_t>(first);
        const auto end = begin + static_cast<std::ptrdiff_t>(span);
        first += span;
        if (spanning[k] <= 0.0)
            continue;
        const double group = std::accumulate(begin, end, 0.0);
        if (spanning[k] > group) {
            const auto last = std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(begin),
                                           [](double w) { return w > 0.0; });
            if (last == std::make_reverse_iterator(begin))
                continue;
            *last += spanning[k] - group;
            changed = true;
        } else if (spanning[k] < group) {
            spanning[k] = group;
            changed = true;
        }
    }
    return changed;
}

void alignSheetColumns(const Sheet& sheet, std::vector<std::vector<double>>& widths) {
    const auto indexOf = [&sheet](const std::string& name) {
        const auto& tables = sheet.tables();
        const auto found =
            std::find_if(tables.begin(), tables.end(), [&name](const auto& t) { return t.first == name; });
        return static_cast<std::size_t>(found - tables.begin());
    };
    // Each pass only widens, so the widths settle; the bound guards against a cycle of alignments.
    for (int pass = 0; pass < 16; ++pass) {
        bool changed = false;
        for (const ColumnAlignment& a : sheet.alignments()) {
            const std::size_t spanning = indexOf(a.spanning);
            const std::size_t spanned = indexOf(a.spanned);
            if (spanning >= widths.size() || spanned >= widths.size() || spanning == spanned)
                continue;
            changed = alignColumnWidths(widths[spanning], widths[spanned], a.spans) || changed;
        }
        if (!changed)
            return;
    }
}

} // namespace korvel
