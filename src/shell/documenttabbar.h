#pragma once
// DocumentTabBar: the tab bar of the open documents. It shows one tab per registered MDI
// child and keeps tabs and windows in step: clicking a tab activates its window,
// activating a window selects its tab, destroying a window removes its tab.

#include <QIcon>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QTabBar>
#include <QWidget>
#include <vector>

class QMdiArea;
class QMdiSubWindow;

namespace fw {

class DocumentTabBar : public QTabBar {
    Q_OBJECT
public:
    // Creates the bar for `owner`, a window holding a QMdiArea (as the central widget
    // of a QMainWindow, or as any child). Throws fw::Exception with "MDITab can be put
    // only on Form." when the owner is not a window, "MDITab can be put only on
    // MDIForm." when it holds no MDI area, and "Only one MDITab can be put on
    // MDIForm." when it already has a tab bar.
    explicit DocumentTabBar(QWidget* owner);
    ~DocumentTabBar() override;

    // Registers a document window: appends a tab showing the window's caption as it is
    // now and the image at `imageIndex`, keeps `hint` for the tab, selects the tab and
    // brings the window forward (Change). Does nothing for null or for a window that
    // already has a tab.
    void AddForm(QMdiSubWindow* form, int imageIndex, const QString& hint);

    // The window of the tab at `index`, or null when out of range.
    QMdiSubWindow* FormAt(int index) const;
    // The index of the tab at a point of the bar, or -1.
    int TabAtPos(const QPoint& point) const;
    // The hint of the tab at `index`, or empty when out of range.
    QString HintAt(int index) const;
    // The image index of the tab at `index`, or -1 when out of range.
    int ImageIndexAt(int index) const;

    // Asks every MDI child of the owner to close, with or without a tab, bottom of the
    // stacking order first and the active one last. Stops at the first child that
    // refuses (its save failed); false then.
    bool CloseAll();
    // Minimises every MDI child, bottom first; the MDI area lines them up along its
    // bottom edge.
    void MinimizeAll();
    // Activates the selected tab's window: restores it when minimised and brings it to
    // the front, with the focus on the control that last had it. Emits Changed().
    void Change();
    // Selects the tab of `form` and runs Change; a window without a tab is only
    // activated (restored when minimised).
    void ActivateForm(QMdiSubWindow* form);

    // The index of the tab under the last mouse press on the bar, -1 for none.
    int TabUnderMouse() const { return tabUnderMouse_; }
    void SetTabUnderMouse(int index) { tabUnderMouse_ = index; }

    // When set, the bar makes itself visible whenever a tab is selected.
    bool ShowOnChange() const { return showOnChange_; }
    void SetShowOnChange(bool show) { showOnChange_ = show; }

    // The images the tabs' image indexes refer to.
    void SetImages(const QList<QIcon>& images);
    // The menu shown on a context-menu request, after TabUnderMouse was set.
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    QMenu* PopupMenu() const { return popupMenu_; }

    QMdiArea* MdiArea() const { return mdiArea_; }

signals:
    // A mouse press on the bar, after TabUnderMouse was set.
    void MouseDown(Qt::MouseButton button, const QPoint& point);
    // After every Change.
    void Changed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ChangeTo(bool userChoice);
    void FocusChanged(QWidget* old, QWidget* now);
    void FormActivated(QMdiSubWindow* form);
    void FormDestroyed(QObject* form);
    void TabSelected(int index);
    int IndexOf(const QObject* form) const;
    // The index of the tab whose window holds `widget` (or is it), or -1.
    int IndexOfWindowHolding(const QWidget* widget) const;

    struct Entry {
        QMdiSubWindow* form;
        int imageIndex;
        QString hint;
        // The control that had the focus when it last left the window. The MDI area
        // itself forgets it and focuses the window's first control on activation.
        QPointer<QWidget> lastFocus;
    };
    std::vector<Entry> entries_;  // one per tab, same index
    QMdiArea* mdiArea_ = nullptr;
    QList<QIcon> images_;
    QPointer<QMenu> popupMenu_;
    int tabUnderMouse_ = -1;
    bool showOnChange_ = true;
    // Above zero while the bar changes its own selection or the windows' states, so
    // that the selection signal and activations do not feed back into Change.
    int syncing_ = 0;
};

}  // namespace fw
