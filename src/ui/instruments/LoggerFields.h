#pragma once

#include "core/Sheet.h"

#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <map>

namespace korvel {

// Shows a logger's decoded reply on its screen: each text goes to the box of that name;
// "Label9" (memory left) and "Label8" (battery) go to their labels.
void showLoggerFields(const Sheet& fields, const std::map<QString, QLineEdit*>& boxes, QLabel* label9,
                      QLabel* label8);

} // namespace korvel
