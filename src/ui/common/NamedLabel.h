#pragma once

#include <QLabel>
#include <QString>

namespace korvel {

// A label with its control name, as the screens' captions, headings and figure labels are.
inline QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// An empty label, or one whose text is set later.
inline QLabel* namedLabel(const QString& name, QWidget* parent, const QString& text = QString()) {
    return namedLabel(name, text, parent);
}

} // namespace korvel
