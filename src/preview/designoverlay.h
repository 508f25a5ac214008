#pragma once
// DesignOverlay: a transparent widget over a previewed form's client area that makes
// the preview a designer surface. It takes the mouse and the keys over the form: a
// click selects the control under the pointer (Shift+click adds or removes it, a click
// on the background selects the form), a drag moves the selected controls or resizes
// one by its handles, the arrow keys move (Ctrl: by a pixel) or resize (Shift) them,
// Delete asks to remove them. It draws eight handles around each selected control and
// the outlines of a drag in progress; the rules of placing are designgeometry's.
// It changes no object: what a drag or a key asks for is reported by signals.

#include <QPoint>
#include <QWidget>
#include <vector>

#include "preview/designgeometry.h"
#include "runtime/object.h"

namespace fw::preview {

class FormRealizer;

// What a drag or a key asks of one control: the bounds it had and the bounds it gets,
// and which of Left, Top, Width and Height change (DesignField bits), its alignment
// considered.
struct DesignMove {
    rt::Object* Control = nullptr;
    DesignBounds From;
    DesignBounds To;
    unsigned Changed = 0;
};

class DesignOverlay : public QWidget {
    Q_OBJECT
public:
    // Covers client, the widget the realiser put form's controls in; both must outlive
    // the overlay (it is client's child).
    DesignOverlay(FormRealizer& realizer, rt::Object& form, QWidget* client);

    // The selected objects, the first being the one the inspector shows; never empty
    // (the form when nothing else is).
    const std::vector<rt::Object*>& Selection() const { return selection_; }
    bool IsSelected(const rt::Object* object) const;
    // Selects the objects given (those of this form; the form for none).
    void Select(const std::vector<rt::Object*>& objects);

    // The control under a point of the overlay: the deepest one realised there, or the
    // form.
    rt::Object* ObjectAt(QPoint at) const;
    // A control's bounds in the overlay's coordinates; empty when it is not on screen.
    QRect RectOf(const rt::Object& control) const;

signals:
    // A click made object the current one of the selection (or Shift+click took it
    // out; object is then the one that stays current).
    void SelectionClicked(rt::Object* object);
    // A drag or a key that changes the bounds of the controls listed.
    void Moved(const std::vector<fw::preview::DesignMove>& moves);
    // Delete pressed with controls selected.
    void DeletePressed();
    // The pointer over an object, at a position in its own coordinates.
    void Hovered(rt::Object* object, QPoint at);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The selected controls a move takes: the form, components that are no controls,
    // and controls whose parent is selected too (they move with it) are left out.
    std::vector<rt::Object*> MovingControls() const;
    // What moving or resizing the controls to the bounds proposes changes, each
    // restricted by its alignment; controls that change nothing are left out.
    std::vector<DesignMove> MovesTo(const std::vector<std::pair<rt::Object*, DesignBounds>>& proposed) const;
    std::vector<DesignMove> DragMoves(QPoint pointer, bool snap) const;
    // Puts an object first in the selection, adding it when it is not there.
    void MakeCurrent(rt::Object* object);
    void EndDrag();

    FormRealizer& realizer_;
    rt::Object& form_;
    QWidget* client_;
    std::vector<rt::Object*> selection_;
    // A press and the drag it starts: what it grabbed, where, and the moves it shows.
    rt::Object* grabbed_ = nullptr;
    DesignGrip grip_ = DesignGrip::None;
    QPoint pressAt_;
    bool pressed_ = false;
    bool dragging_ = false;
    std::vector<DesignMove> preview_;
};

// The bounds a control's Left, Top, Width and Height hold.
DesignBounds BoundsOf(const rt::Object& control);

}  // namespace fw::preview
