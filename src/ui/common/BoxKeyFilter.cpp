#include "ui/common/BoxKeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace korvel {

namespace {

constexpr char32_t kBackspace = 8;
constexpr char32_t kEnter = 13;

// The character a key press types, nothing for keys that type none.
std::optional<char32_t> typedCharacter(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    if (event.key() == Qt::Key_Backspace)
        return kBackspace;
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return kEnter;
    const QList<uint> characters = event.text().toUcs4();
    if (characters.size() != 1 || characters.front() < 0x20 || characters.front() == 0x7f)
        return std::nullopt;
    return static_cast<char32_t>(characters.front());
}

} // namespace

BoxKeyFilter::BoxKeyFilter(QObject* box, BoxKeyRule rule) : QObject(box), rule_(std::move(rule)) {}

BoxKeyFilter* BoxKeyFilter::install(QObject* box, BoxKeyRule rule) {
    auto* filter = new BoxKeyFilter(box, std::move(rule));
    box->installEventFilter(filter);
    return filter;
}

bool BoxKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || replacing_)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const std::optional<char32_t> typed = typedCharacter(*key);
    if (!typed)
        return false;
    const std::optional<char32_t> passed = rule_(*typed);
    if (!passed)
        return true;
    if (*passed == *typed)
        return false;
    // The box receives another character: send it the key of that character instead.
    const QString text = QString::fromUcs4(&*passed, 1);
    QKeyEvent replaced(QEvent::KeyPress, 0, key->modifiers(), text, key->isAutoRepeat(), 1);
    replacing_ = true;
    QCoreApplication::sendEvent(watched, &replaced);
    replacing_ = false;
    return true;
}

} // namespace korvel
