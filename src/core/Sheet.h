#pragma once

#include "core/Table.h"

#include <string>
#include <utility>
#include <vector>

namespace korvel {

// Two grids stacked one over the other: column k of grid `spanning` stands over or under
// spans[k] columns of grid `spanned` (1 when spans is shorter), starting where the columns before
// it end. The group and the column get one width, so headings and figures line up.
struct ColumnAlignment {
    std::string spanning;
    std::string spanned;
    std::vector<int> spans;
};

// Widens the columns of two stacked grids so that each spanning column is exactly as wide as the
// group of columns it spans: a wider spanning column gives the difference to the last shown
// column of its group, a narrower one takes the group's width. Hidden columns (width 0) stay
// hidden. Returns whether any width changed.
bool alignColumnWidths(std::vector<double>& spanning, std::vector<double>& spanned,
                       const std::vector<int>& spans);

class Sheet;

// Applies every alignment of the sheet to the column widths of its grids (widths[i] belongs to
// the i-th table of the sheet), over and over until no width changes: a grid under two others
// ends up lined up with both.
void alignSheetColumns(const Sheet& sheet, std::vector<std::vector<double>>& widths);

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

    void alignColumns(std::string spanning, std::string spanned, std::vector<int> spans = {});
    const std::vector<ColumnAlignment>& alignments() const { return alignments_; }

    const std::vector<std::pair<std::string, Table>>& tables() const { return tables_; }
    const std::vector<std::pair<std::string, std::string>>& texts() const { return texts_; }

private:
    std::vector<std::pair<std::string, Table>> tables_;
    std::vector<std::pair<std::string, std::string>> texts_;
    std::vector<std::pair<std::string, std::string>> labels_;
    std::vector<ColumnAlignment> alignments_;
};

} // namespace korvel
