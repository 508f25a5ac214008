#include "shell/documenttabbar.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>

#include "base/errors.h"

namespace fw {

namespace {

QMdiArea* FindMdiArea(QWidget* owner) {
    if (auto* mainWindow = qobject_cast<QMainWindow*>(owner)) {
        if (auto* area = qobject_cast<QMdiArea*>(mainWindow->centralWidget())) return area;
    }
    return owner->findChild<QMdiArea*>();
}

// Checks the owner before the bar exists, so that the search for an existing bar does
// not find this one.
QWidget* CheckedOwner(QWidget* owner) {
    if (owner == nullptr || !owner->isWindow()) throw Exception("MDITab can be put only on Form.");
    if (FindMdiArea(owner) == nullptr) throw Exception("MDITab can be put only on MDIForm.");
    if (owner->findChild<DocumentTabBar*>() != nullptr)
        throw Exception("Only one MDITab can be put on MDIForm.");
    return owner;
}

// Flat buttons: no frame around the tabs, the selected one pressed in, the one under
// the mouse raised.
const char* const kFlatButtonStyle = R"(
QTabBar::tab {
    background: transparent;
    border: 1px solid transparent;
    border-radius: 2px;
    padding: 2px 8px 2px 6px;
    margin: 1px 1px 1px 0px;
}
QTabBar::tab:hover {
    border-color: palette(midlight) palette(dark) palette(dark) palette(midlight);
}
QTabBar::tab:selected {
    background: palette(midlight);
    border-color: palette(dark) palette(light) palette(light) palette(dark);
}
)";

}  // namespace

DocumentTabBar::DocumentTabBar(QWidget* owner) : QTabBar(CheckedOwner(owner)), mdiArea_(FindMdiArea(owner)) {
    setObjectName(QStringLiteral("MDITab"));
    setDrawBase(false);
    setDocumentMode(true);
    setExpanding(false);
    setMovable(false);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
    setStyleSheet(QString::fromLatin1(kFlatButtonStyle));
    QFont tabFont(QStringLiteral("Tahoma"));
    tabFont.setPointSize(8);
    tabFont.setStyleHint(QFont::SansSerif);
    setFont(tabFont);
    setIconSize(QSize(16, 16));
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The empty bar keeps the height it has with tabs, so that the document area does
    // not jump when the first document opens.
    {
        ++syncing_;
        addTab(QIcon(), QStringLiteral("M"));
        setMinimumHeight(sizeHint().height());
        removeTab(0);
        --syncing_;
    }

    connect(this, &QTabBar::currentChanged, this, &DocumentTabBar::TabSelected);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &DocumentTabBar::FormActivated);
    connect(qApp, &QApplication::focusChanged, this, &DocumentTabBar::FocusChanged);
}

DocumentTabBar::~DocumentTabBar() {
    popupMenu_ = nullptr;
    // The windows outlive the bar when the owner deletes its children in order; stop
    // listening to them first.
    for (const Entry& entry : entries_)
        disconnect(entry.form, nullptr, this, nullptr);
}

void DocumentTabBar::SetImages(const QList<QIcon>& images) {
    images_ = images;
    for (int i = 0; i < count(); ++i)
        setTabIcon(i, images_.value(ImageIndexAt(i)));
}

void DocumentTabBar::AddForm(QMdiSubWindow* form, int imageIndex, const QString& hint) {
    if (form == nullptr || IndexOf(form) >= 0) return;
    entries_.push_back({form, imageIndex, hint, {}});
    form->setStatusTip(hint);
    connect(form, &QObject::destroyed, this, &DocumentTabBar::FormDestroyed);
    {
        ++syncing_;
        const int index = addTab(images_.value(imageIndex), form->windowTitle());
        setCurrentIndex(index);
        --syncing_;
    }
    Change();
}

QMdiSubWindow* DocumentTabBar::FormAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return nullptr;
    return entries_[static_cast<std::size_t>(index)].form;
}

int DocumentTabBar::TabAtPos(const QPoint& point) const {
    return tabAt(point);
}

QString DocumentTabBar::HintAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return {};
    return entries_[static_cast<std::size_t>(index)].hint;
}

int DocumentTabBar::ImageIndexAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return -1;
    return entries_[static_cast<std::size_t>(index)].imageIndex;
}

int DocumentTabBar::IndexOf(const QObject* form) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].form == form) return static_cast<int>(i);
    }
    return -1;
}

bool DocumentTabBar::CloseAll() {
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::StackingOrder);
    QList<QPointer<QMdiSubWindow>> guarded(windows.begin(), windows.end());
    for (const QPointer<QMdiSubWindow>& window : guarded) {
        if (window && !window->close()) return false;
    }
    return true;
}

void DocumentTabBar::MinimizeAll() {
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::StackingOrder);
    ++syncing_;
    // The MDI area lines the minimised windows up along its bottom edge itself.
    for (QMdiSubWindow* window : windows)
        window->showMinimized();
    --syncing_;
}

void DocumentTabBar::Change() {
    ChangeTo(true);
}

// `userChoice`: the tab was chosen on the bar or through a menu, so a minimised window
// is restored and the focus goes back into it. Otherwise the window was activated by
// other means (a click into it, minimising it) and keeps its state and focus.
void DocumentTabBar::ChangeTo(bool userChoice) {
    const int index = currentIndex();
    if (QMdiSubWindow* form = FormAt(index)) {
        ++syncing_;
        if (userChoice && form->isMinimized()) form->showNormal();
        // Focusing the window itself would move the focus to its first control.
        mdiArea_->setActiveSubWindow(form);
        form->raise();
        QWidget* lastFocus = entries_[static_cast<std::size_t>(index)].lastFocus.data();
        if (userChoice && lastFocus != nullptr && form->isAncestorOf(lastFocus) && lastFocus->isVisible() &&
            lastFocus->isEnabled()) {
            lastFocus->setFocus(Qt::OtherFocusReason);
        }
        --syncing_;
    }
    if (index >= 0 && showOnChange_) setVisible(true);
    emit Changed();
}

void DocumentTabBar::ActivateForm(QMdiSubWindow* form) {
    if (form == nullptr) return;
    const int index = IndexOf(form);
    if (index < 0) {
        if (form->isMinimized()) form->showNormal();
        mdiArea_->setActiveSubWindow(form);
        form->raise();
        return;
    }
    ++syncing_;
    setCurrentIndex(index);
    --syncing_;
    Change();
}

// The focus changes while widgets are destroyed too, so this compares pointers and
// calls nothing on the windows themselves.
int DocumentTabBar::IndexOfWindowHolding(const QWidget* widget) const {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (const int index = IndexOf(w); index >= 0) return index;
        if (w->isWindow()) break;
    }
    return -1;
}

void DocumentTabBar::FocusChanged(QWidget* old, QWidget* now) {
    const int index = IndexOfWindowHolding(old);
    if (index >= 0 && IndexOfWindowHolding(now) != index)
        entries_[static_cast<std::size_t>(index)].lastFocus = old;
}

void DocumentTabBar::TabSelected(int) {
    if (syncing_ > 0) return;
    Change();
}

void DocumentTabBar::FormActivated(QMdiSubWindow* form) {
    if (form == nullptr) return;
    const int index = IndexOf(form);
    if (index < 0) return;
    ++syncing_;
    setCurrentIndex(index);
    --syncing_;
    // While the bar itself activates or minimises windows, selecting the tab is all.
    // The MDI area also activates a window that is being minimised; restoring it here
    // would undo the minimising, so an activated window keeps its state. Selecting
    // its tab restores it.
    if (syncing_ == 0) ChangeTo(false);
}

void DocumentTabBar::FormDestroyed(QObject* form) {
    const int index = IndexOf(form);
    if (index < 0) return;
    entries_.erase(entries_.begin() + index);
    // Removing the selected tab moves the selection; that must not activate another
    // window. The MDI area activates the next one itself, and FormActivated selects
    // its tab. (The area may be in its own destructor here, so it is not asked.)
    ++syncing_;
    removeTab(index);
    --syncing_;
}

void DocumentTabBar::mousePressEvent(QMouseEvent* event) {
    tabUnderMouse_ = TabAtPos(event->position().toPoint());
    emit MouseDown(event->button(), event->position().toPoint());
    const int selected = currentIndex();
    QTabBar::mousePressEvent(event);
    // A click on the selected tab changes no selection, yet it should still bring the
    // window forward, a minimised one included (minimising leaves the tab selected).
    if (event->button() == Qt::LeftButton && tabUnderMouse_ >= 0 && tabUnderMouse_ == selected) Change();
}

void DocumentTabBar::mouseMoveEvent(QMouseEvent* event) {
    setToolTip(HintAt(TabAtPos(event->position().toPoint())));
    QTabBar::mouseMoveEvent(event);
}

void DocumentTabBar::contextMenuEvent(QContextMenuEvent* event) {
    if (!popupMenu_) {
        QTabBar::contextMenuEvent(event);
        return;
    }
    popupMenu_->popup(event->globalPos());
    event->accept();
}

}  // namespace fw
