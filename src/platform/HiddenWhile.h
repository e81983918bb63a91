#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

namespace korvel {

// Hides controls for the lifetime of the object and shows again those that were visible,
// as the commands do that hide a grid or a list while they work or print.
class HiddenWhile {
public:
    explicit HiddenWhile(const QList<QWidget*>& widgets) {
        for (QWidget* widget : widgets) {
            if (widget == nullptr || widget->isHidden())
                continue;
            widget->hide();
            hidden_.append(widget);
        }
    }
    ~HiddenWhile() {
        for (const QPointer<QWidget>& widget : hidden_)
            if (widget)
                widget->show();
    }
    HiddenWhile(const HiddenWhile&) = delete;
    HiddenWhile& operator=(const HiddenWhile&) = delete;

private:
    QList<QPointer<QWidget>> hidden_;
};

} // namespace korvel
