#include "core/Sheet.h"

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

} // namespace korvel
