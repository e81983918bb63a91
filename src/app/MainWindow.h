#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCloseEvent;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace korvel {

struct AppContext;
class CommandMap;
class GridView;
class StationScreen;

// The application frame: one multi-document window that holds every screen as a child window
// and owns the whole menu tree. Menu items are found by their command names (object names).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: the data root is created when missing (the station screen then starts there),
    // tablo1 ... tablo4 are disabled, the station screen is loaded and brought to the front.
    void start();

    const AppContext& context() const { return *context_; }
    StationScreen& stationScreen() const { return *station_; }
    CommandMap& commands() const { return *commands_; }
    QMdiArea* mdiArea() const { return mdi_; }

    // A menu item, or a menu that is itself a command, by command name; null when there is none.
    QAction* command(const QString& name) const;
    // A menu of the menu bar by name (fixed, context or copy menu); null when there is none.
    QMenu* menu(const QString& name) const;
    // The menu-bar entry of a menu, or the command of a command menu.
    QAction* menuEntry(const QString& name) const;

    // Shows screen as a child window and brings it to the front; a screen that is open already
    // is only brought to the front. Grids of the screen whose copy menu is named "kesmen<n>"
    // pop up the main window's copy menu n.
    QMdiSubWindow* openChild(QWidget* screen);
    // Shows screen modally over the main window and deletes it when it is closed.
    void openModal(QWidget* screen);
    // Unloads a child screen. The station screen is never unloaded: it is hidden.
    void closeChild(QWidget* screen);
    // The open child screen with this object name, null when there is none.
    QWidget* childScreen(const QString& objectName) const;
    // The screen of the active child window, null when there is none.
    QWidget* activeScreen() const;

    // Calls hook(true) when screen becomes the active child and hook(false) when another child
    // becomes active, when it is hidden or closed.
    void onActivation(QWidget* screen, std::function<void(bool active)> hook);
    // The menu named menuName shows in the menu bar only while screen is the active child.
    void tieContextMenu(QWidget* screen, const QString& menuName);
    // A right button press on the grid pops up copy menu n ("kesmen<n>"); its item "kes<n>"
    // copies that grid to the clipboard.
    void attachCopyMenu(GridView* grid, int number);

    // The size the window opens at without a remembered placement: large enough for the annual
    // table and the yearbook page, within the screen's free area.
    static QSize defaultSize(const QRect& available);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void restorePlacement();
    void buildMenus();
    void updateActivation();
    void stationActivated(bool active);
    void copyGrid(int number);
    QMdiSubWindow* subWindowOf(const QWidget* screen) const;
    void fitToContent(QMdiSubWindow* window, QSize requested);

    struct ActivationHook {
        QPointer<QWidget> screen;
        std::function<void(bool)> hook;
        bool active = false;
    };

    std::unique_ptr<AppContext> context_;
    QMdiArea* mdi_;
    StationScreen* station_ = nullptr;
    std::unique_ptr<CommandMap> commands_;
    QHash<QString, QAction*> commandActions_;
    QHash<QString, QMenu*> menus_;
    QHash<QString, QAction*> menuEntries_;
    std::vector<ActivationHook> hooks_;
    bool updatingActivation_ = false;
    bool shuttingDown_ = false;
    QHash<QObject*, QPair<QPointer<GridView>, int>> copyViewports_;
    QHash<int, QPointer<GridView>> copyTargets_;
};

} // namespace korvel
