#pragma once

#include <QString>
#include <vector>

namespace korvel {

// One item of a menu: its command name (the action's object name) and caption. A separator
// has no name and the caption "-".
struct MenuItemSpec {
    QString name;
    QString caption;
    bool hidden = false;
    bool disabled = false;

    bool isSeparator() const { return name.isEmpty(); }
};

// One menu of the menu bar. Context menus and copy menus start hidden; a menu that is itself
// a command has no items.
struct MenuSpec {
    QString name;
    QString caption;
    std::vector<MenuItemSpec> items;
    bool hidden = false;
    bool isCommand = false;
};

inline const QString kMainWindowCaption = QStringLiteral("KORVEL2000 vdx.1.1");

// The fixed menus, in menu-bar order.
const std::vector<MenuSpec>& fixedMenus();
// The context menus of the table screens, each shown only while its screen is active.
const std::vector<MenuSpec>& contextMenus();
// The twelve one-item copy menus "kesmen1" ... "kesmen12" with their items "kes1" ... "kes12".
const std::vector<MenuSpec>& copyMenus();

QString copyMenuName(int number);

// The commands that follow a print command of a context menu: "Baskı önizleme", "PDF olarak
// kaydet" and, on a screen with grids, "CSV olarak kaydet".
QString previewCommand(const QString& printCommand);
QString pdfCommand(const QString& printCommand);
QString csvCommand(const QString& printCommand);
QString copyItemName(int number);
inline constexpr int kCopyMenuCount = 12;

} // namespace korvel
