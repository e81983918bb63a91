#pragma once

#include "core/Table.h"

#include <string>
#include <utility>
#include <vector>

namespace korvel {

// What a table screen shows: a caption, named grids and named texts (labels and boxes),
// in the order they were added. Names are the control names of the screens.
class Sheet {
public:
    std::string caption;

    Table& table(const std::string& name); // added empty when missing
    const Table* findTable(const std::string& name) const;
    void setTable(const std::string& name, Table table);

    void setText(const std::string& name, std::string text);
    std::string text(const std::string& name) const; // empty when missing
    bool hasText(const std::string& name) const;

    // The caption the screen shows beside a text box ("Yeri.:", "5 dk"); empty for a text that
    // says what it is itself. Reports print it before the text, never the control name.
    void setLabel(const std::string& name, std::string label);
    std::string label(const std::string& name) const;
    // "label text", or the text alone when it has no label.
    std::string labelledText(const std::string& name) const;

    const std::vector<std::pair<std::string, Table>>& tables() const { return tables_; }
    const std::vector<std::pair<std::string, std::string>>& texts() const { return texts_; }

private:
    std::vector<std::pair<std::string, Table>> tables_;
    std::vector<std::pair<std::string, std::string>> texts_;
    std::vector<std::pair<std::string, std::string>> labels_;
};

} // namespace korvel
