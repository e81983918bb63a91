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
    choices_.clear();
    files_.clear();
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

AbortRetryIgnore ScriptedDialogs::abortRetryIgnore(QWidget*, const QString& text, const QString& title) {
    calls_.append({Kind::AbortRetryIgnore, text, title, QString()});
    if (choices_.empty())
        return AbortRetryIgnore::Ignore;
    const AbortRetryIgnore choice = choices_.front();
    choices_.pop_front();
    return choice;
}

std::optional<QString> ScriptedDialogs::fileName(QWidget*, const QString& title, const QString& filter,
                                                 bool) {
    calls_.append({Kind::FileName, filter, title, QString()});
    if (files_.empty())
        return std::nullopt;
    const QString file = files_.front();
    files_.pop_front();
    return file;
}

bool ScriptedDialogs::nextAnswer() {
    if (answers_.empty())
        return false;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

} // namespace korvel
