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

} // namespace korvel
