#include "app/MainWindow.h"

#include "app/CommandMap.h"
#include "app/MenuTree.h"
#include "platform/Clipboard.h"
#include "platform/HiddenWhile.h"
#include "ui/common/AppContext.h"
#include "ui/common/GridView.h"
#include "ui/station/StationScreen.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <system_error>

namespace korvel {

namespace {

const QStringList kTableCommands = {QStringLiteral("tablo1"), QStringLiteral("tablo2"),
                                    QStringLiteral("tablo3"), QStringLiteral("tablo4")};

} // namespace

MainWindow::MainWindow(const AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(std::make_unique<AppContext>(context)), mdi_(new QMdiArea(this)) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(kMainWindowCaption);
    setWindowIcon(QIcon(QStringLiteral(":/korvel2000.svg")));
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    buildMenus();
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { updateActivation(); });
    commands_ = std::make_unique<CommandMap>(*this);
    restorePlacement();
}

QSize MainWindow::defaultSize(const QRect& available) {
    // The annual table and the yearbook page with every column at its widest text.
    const QSize wanted(1560, 960);
    return wanted.boundedTo(available.size() - QSize(20, 40)).expandedTo(QSize(640, 480));
}

void MainWindow::restorePlacement() {
    const QRect available = screen() != nullptr ? screen()->availableGeometry() : QRect(0, 0, 1600, 1000);
    resize(defaultSize(available));
    if (context_->settings == nullptr)
        return;
    const QString saved = context_->settings->mainWindowPlacement();
    if (!saved.isEmpty())
        restoreGeometry(QByteArray::fromBase64(saved.toLatin1()));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (context_->settings != nullptr)
        context_->settings->setMainWindowPlacement(QString::fromLatin1(saveGeometry().toBase64()));
    QMainWindow::closeEvent(event);
}

MainWindow::~MainWindow() {
    // The child screens go first, while the window can still follow their destruction.
    shuttingDown_ = true;
    hooks_.clear();
    delete takeCentralWidget();
    // Screens shown modally sit in dialogs of their own.
    const auto dialogs = findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly);
    qDeleteAll(dialogs);
}

void MainWindow::buildMenus() {
    const auto addMenu = [this](const MenuSpec& spec) {
        if (spec.isCommand) {
            auto* action = menuBar()->addAction(spec.caption);
            action->setObjectName(spec.name);
            action->setVisible(!spec.hidden);
            commandActions_.insert(spec.name, action);
            menuEntries_.insert(spec.name, action);
            return;
        }
        auto* menu = menuBar()->addMenu(spec.caption);
        menu->setObjectName(spec.name);
        menu->menuAction()->setVisible(!spec.hidden);
        menus_.insert(spec.name, menu);
        menuEntries_.insert(spec.name, menu->menuAction());
        for (const MenuItemSpec& item : spec.items) {
            QAction* action = item.isSeparator() ? menu->addSeparator() : menu->addAction(item.caption);
            action->setVisible(!item.hidden);
            action->setEnabled(!item.disabled);
            if (!item.isSeparator()) {
                action->setObjectName(item.name);
                commandActions_.insert(item.name, action);
            }
        }
    };
    for (const MenuSpec& spec : fixedMenus())
        addMenu(spec);
    for (const MenuSpec& spec : contextMenus())
        addMenu(spec);
    for (const MenuSpec& spec : copyMenus())
        addMenu(spec);
    for (int n = 1; n <= kCopyMenuCount; ++n)
        connect(command(copyItemName(n)), &QAction::triggered, this, [this, n] { copyGrid(n); });
}

void MainWindow::start() {
    // The data root is made one level below the drive, as the program always did; a drive
    // that does not exist leaves it missing.
    std::error_code ec;
    const bool created = std::filesystem::create_directory(context_->paths.dataRoot(), ec);
    for (const QString& name : kTableCommands)
        command(name)->setEnabled(false);

    station_ = new StationScreen(*context_);
    connect(station_, &StationScreen::tableCommandsEnabled, this, [this](bool enabled) {
        for (const QString& name : kTableCommands)
            command(name)->setEnabled(enabled);
    });
    commands_->connectStationScreen(*station_);
    QMdiSubWindow* window = openChild(station_);
    window->installEventFilter(this);
    onActivation(station_, [this](bool active) { stationActivated(active); });
    if (created)
        station_->setStationDirectory(context_->paths.dataRoot());
}

// The station screen's activation offers its record commands in the "İstasyon" menu.
void MainWindow::stationActivated(bool active) {
    if (active)
        station_->screenActivated();
    command(QStringLiteral("istasyonsecn"))->setVisible(!active);
    command(QStringLiteral("kaydetn"))->setEnabled(active);
    command(QStringLiteral("yeniistasyonn"))->setEnabled(active);
}

QAction* MainWindow::command(const QString& name) const {
    return commandActions_.value(name, nullptr);
}

QMenu* MainWindow::menu(const QString& name) const {
    return menus_.value(name, nullptr);
}

QAction* MainWindow::menuEntry(const QString& name) const {
    return menuEntries_.value(name, nullptr);
}

QMdiSubWindow* MainWindow::subWindowOf(const QWidget* screen) const {
    if (screen == nullptr)
        return nullptr;
    for (QMdiSubWindow* window : mdi_->subWindowList())
        if (window->widget() == screen)
            return window;
    return nullptr;
}

// A child opens large enough for everything its screen shows and the size the screen gave itself
// (`requested`, valid only on opening), where it fits in the window's area when it can; later it
// only grows, when its content no longer fits.
void MainWindow::fitToContent(QMdiSubWindow* window, QSize requested) {
    QWidget* screen = window->widget();
    const QSize content = screen->sizeHint().expandedTo(screen->minimumSizeHint()).expandedTo(requested);
    const bool opening = requested.isValid();
    if (screen->width() >= content.width() && screen->height() >= content.height() && !opening)
        return;
    const QSize frame = window->size() - screen->size();
    window->resize(content.expandedTo(screen->size()) + frame);
    const QRect area = mdi_->viewport()->rect();
    QPoint at = window->pos();
    at.setX(std::max(0, std::min(at.x(), area.width() - window->width())));
    at.setY(std::max(0, std::min(at.y(), area.height() - window->height())));
    window->move(at);
}

QMdiSubWindow* MainWindow::openChild(QWidget* screen) {
    QMdiSubWindow* window = subWindowOf(screen);
    const bool opening = window == nullptr;
    // The size a screen gave itself before it was framed.
    const QSize requested = screen->testAttribute(Qt::WA_Resized) ? screen->size() : QSize();
    if (opening) {
        window = mdi_->addSubWindow(screen);
        // Content that grows after opening (a fit computed, a list filled) widens the window.
        screen->installEventFilter(this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowIcon(windowIcon());
        connect(screen, &QObject::destroyed, this, [this] {
            if (!shuttingDown_)
                updateActivation();
        });
        static const QRegularExpression copyMenuName(QStringLiteral("^kesmen(\\d+)$"));
        for (GridView* grid : screen->findChildren<GridView*>()) {
            if (grid->copyMenu() == nullptr)
                continue;
            const auto match = copyMenuName.match(grid->copyMenu()->objectName());
            if (match.hasMatch())
                attachCopyMenu(grid, match.captured(1).toInt());
        }
    }
    screen->show();
    window->show();
    if (opening)
        fitToContent(window, requested.isValid() ? requested : QSize(0, 0));
    window->raise();
    mdi_->setActiveSubWindow(window);
    updateActivation();
    return window;
}

namespace {

// The dialog a modal screen is shown in. The screen's end closes the frame; the frame's own
// end deletes the screen, and by then the frame must no longer listen to it.
class ModalFrame : public QDialog {
public:
    ModalFrame(QWidget* screen, QWidget* parent) : QDialog(parent), screen_(screen) {}
    ~ModalFrame() override {
        if (screen_)
            screen_->disconnect(this);
    }

private:
    QPointer<QWidget> screen_;
};

} // namespace

void MainWindow::openModal(QWidget* screen) {
    if (auto* dialog = qobject_cast<QDialog*>(screen)) {
        dialog->setParent(this, dialog->windowFlags() | Qt::Dialog);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        // Modal for the user, but without a nested event loop: the command returns at once.
        dialog->open();
        return;
    }
    auto* frame = new ModalFrame(screen, this);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowTitle(screen->windowTitle());
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(screen);
    // A screen that closes itself closes the frame with it.
    screen->setAttribute(Qt::WA_DeleteOnClose);
    connect(screen, &QObject::destroyed, frame, &QDialog::accept);
    frame->open();
}

void MainWindow::closeChild(QWidget* screen) {
    QMdiSubWindow* window = subWindowOf(screen);
    if (window == nullptr)
        return;
    window->close();
    updateActivation();
}

QWidget* MainWindow::childScreen(const QString& objectName) const {
    for (QMdiSubWindow* window : mdi_->subWindowList())
        if (window->widget() != nullptr && window->widget()->objectName() == objectName)
            return window->widget();
    return nullptr;
}

QWidget* MainWindow::activeScreen() const {
    // The current child stays current while the main window itself is not active (a message
    // box is up), so the context menus do not flicker.
    QMdiSubWindow* window = mdi_->currentSubWindow();
    if (window == nullptr || window->isHidden())
        return nullptr;
    return window->widget();
}

void MainWindow::onActivation(QWidget* screen, std::function<void(bool)> hook) {
    hooks_.push_back({screen, std::move(hook), false});
    updateActivation();
}

void MainWindow::tieContextMenu(QWidget* screen, const QString& menuName) {
    QAction* entry = menuEntry(menuName);
    if (entry == nullptr)
        return;
    onActivation(screen, [entry](bool active) { entry->setVisible(active); });
}

void MainWindow::updateActivation() {
    if (updatingActivation_ || shuttingDown_)
        return;
    updatingActivation_ = true;
    QWidget* active = activeScreen();
    for (std::size_t k = 0; k < hooks_.size(); ++k) {
        ActivationHook& hook = hooks_[k];
        const bool now = hook.screen != nullptr && hook.screen == active;
        if (now != hook.active) {
            hook.active = now;
            auto call = hook.hook;
            call(now);
        }
    }
    // Hooks of screens that are gone have ended inactive.
    std::erase_if(hooks_, [](const ActivationHook& hook) { return hook.screen == nullptr; });
    updatingActivation_ = false;
}

void MainWindow::attachCopyMenu(GridView* grid, int number) {
    if (grid == nullptr || number < 1 || number > kCopyMenuCount)
        return;
    copyViewports_.insert(grid->viewport(), {QPointer<GridView>(grid), number});
    grid->viewport()->installEventFilter(this);
    connect(grid->viewport(), &QObject::destroyed, this, [this](QObject* viewport) {
        if (!shuttingDown_)
            copyViewports_.remove(viewport);
    });
}

void MainWindow::copyGrid(int number) {
    GridView* grid = copyTargets_.value(number);
    if (grid == nullptr)
        return;
    const HiddenWhile hidden({grid});
    copyGridToClipboard(grid->table());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (shuttingDown_)
        return false;
    if (event->type() == QEvent::LayoutRequest) {
        // Measured once the screen's layout has taken in the change.
        QMetaObject::invokeMethod(
            this,
            [this, window = QPointer<QMdiSubWindow>(subWindowOf(qobject_cast<QWidget*>(watched)))] {
                if (window != nullptr && window->isVisible() && !shuttingDown_)
                    fitToContent(window, QSize());
            },
            Qt::QueuedConnection);
    }
    if (station_ != nullptr && watched == subWindowOf(station_) && event->type() == QEvent::Close) {
        // The station screen stays loaded while the program runs.
        event->ignore();
        static_cast<QWidget*>(watched)->hide();
        updateActivation();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress && copyViewports_.contains(watched)) {
        auto* press = static_cast<QMouseEvent*>(event);
        const auto [grid, number] = copyViewports_.value(watched);
        if (press->button() == Qt::RightButton && grid != nullptr) {
            copyTargets_.insert(number, grid);
            menu(copyMenuName(number))->popup(press->globalPosition().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace korvel
