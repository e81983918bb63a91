#include "platform/ScriptedDialogs.h"

namespace korvel {

QStringList ScriptedDialogs::messages() const {
    QStringList texts;
    for (const Call& call : calls_)
        if (call.kind == Kind::Message)
            texts.append(call.text);
    return texts;
}

void ScriptedDialogs::clear() {
    calls_.clear();
    inputs_.clear();
    answers_.clear();
}

void ScriptedDialogs::message(QWidget*, const QString& text, const QString& title) {
    calls_.append({Kind::Message, text, title, QString()});
}

std::optional<QString> ScriptedDialogs::input(QWidget*, const QString& prompt, const QString& title,
                                              const QString& defaultAnswer) {
    calls_.append({Kind::Input, prompt, title, defaultAnswer});
    if (inputs_.empty())
        return std::nullopt;
    const QueuedInput answer = inputs_.front();
    inputs_.pop_front();
    if (answer.cancelled)
        return std::nullopt;
    return answer.text;
}

bool ScriptedDialogs::yesNo(QWidget*, const QString& text, const QString& title) {
    calls_.append({Kind::YesNo, text, title, QString()});
    return nextAnswer();
}

bool ScriptedDialogs::okCancel(QWidget*, const QString& text, const QString& title) {
    calls_.append({Kind::OkCancel, text, title, QString()});
    return nextAnswer();
}

bool ScriptedDialogs::nextAnswer() {
    if (answers_.empty())
        return false;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

} // namespace korvel
