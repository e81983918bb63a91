#include "ui/instruments/LoggerFields.h"

namespace korvel {

void showLoggerFields(const Sheet& fields, const std::map<QString, QLineEdit*>& boxes, QLabel* label9,
                      QLabel* label8) {
    for (const auto& [name, text] : fields.texts()) {
        const QString control = QString::fromStdString(name);
        if (const auto it = boxes.find(control); it != boxes.end())
            it->second->setText(QString::fromStdString(text));
        else if (control == QLatin1String("Label9"))
            label9->setText(QString::fromStdString(text));
        else if (control == QLatin1String("Label8"))
            label8->setText(QString::fromStdString(text));
    }
}

} // namespace korvel
