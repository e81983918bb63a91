#pragma once

#include <QObject>
#include <functional>
#include <optional>

namespace korvel {

// The key rule of a text box: the character the box receives for a typed one (8 for
// Backspace, 13 for Enter), or nothing when the key is discarded.
using BoxKeyRule = std::function<std::optional<char32_t>(char32_t)>;

// Applies a box's key rule to the characters typed into it. Keys that type nothing (arrows,
// Delete, shortcuts with Ctrl) pass unchanged, as they do not reach a key-press handler.
class BoxKeyFilter : public QObject {
    Q_OBJECT
public:
    BoxKeyFilter(QObject* box, BoxKeyRule rule);

    // Installs a filter on box, owned by it.
    static BoxKeyFilter* install(QObject* box, BoxKeyRule rule);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    BoxKeyRule rule_;
    bool replacing_ = false;
};

} // namespace korvel
