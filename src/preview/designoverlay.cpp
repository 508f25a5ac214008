#include "preview/designoverlay.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "preview/realizer.h"
#include "runtime/propertyaccess.h"

namespace fw::preview {

namespace {

DesignBounds ToBounds(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

QRect ToRect(const DesignBounds& bounds) {
    return {bounds.Left, bounds.Top, bounds.Width, bounds.Height};
}

std::int64_t OrdinalOf(const rt::Object& object, const char* property) {
    const rt::Property* p = object.FindProperty(property);
    return p ? object.Ordinal(*p) : 0;
}

int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// The deepest shown widget under a point of parent (in its coordinates), the overlay
// left out, and the point in that widget's coordinates.
QWidget* DeepestWidgetAt(QWidget* parent, QPoint& at, const QWidget* skip) {
    const QObjectList& children = parent->children();
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        auto* widget = qobject_cast<QWidget*>(*child);
        if (!widget || widget == skip || widget->isWindow() || widget->isHidden()) continue;
        if (!widget->geometry().contains(at)) continue;
        at -= widget->pos();
        return DeepestWidgetAt(widget, at, skip);
    }
    return parent;
}

}  // namespace

DesignBounds BoundsOf(const rt::Object& control) {
    return {ClampToInt(OrdinalOf(control, "Left")), ClampToInt(OrdinalOf(control, "Top")),
            ClampToInt(OrdinalOf(control, "Width")), ClampToInt(OrdinalOf(control, "Height"))};
}

DesignOverlay::DesignOverlay(FormRealizer& realizer, rt::Object& form, QWidget* client)
    : QWidget(client), realizer_(realizer), form_(form), client_(client), selection_{&form} {
    setObjectName(QStringLiteral("DesignOverlay"));
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setGeometry(client->rect());
    client->installEventFilter(this);
    raise();
}

bool DesignOverlay::IsSelected(const rt::Object* object) const {
    return std::find(selection_.begin(), selection_.end(), object) != selection_.end();
}

void DesignOverlay::Select(const std::vector<rt::Object*>& objects) {
    selection_.clear();
    for (rt::Object* object : objects)
        if (object && !IsSelected(object)) selection_.push_back(object);
    if (selection_.empty()) selection_.push_back(&form_);
    update();
}

rt::Object* DesignOverlay::ObjectAt(QPoint at) const {
    QWidget* widget = DeepestWidgetAt(client_, at, this);
    rt::Object* control = realizer_.ControlAt(widget, at);
    return control ? control : &form_;
}

QRect DesignOverlay::RectOf(const rt::Object& control) const {
    if (&control == &form_) return rect();
    const Placement place = realizer_.PlaceOf(control);
    if (!place.Parent || !place.Visible) return {};
    if (place.Parent != client_ && !place.Parent->isVisibleTo(client_)) return {};
    return {place.Parent->mapTo(client_, place.Bounds.topLeft()), place.Bounds.size()};
}

std::vector<rt::Object*> DesignOverlay::MovingControls() const {
    std::vector<rt::Object*> moving;
    for (rt::Object* object : selection_) {
        if (object == &form_ || !object->GetClass().Has(rt::CfControl)) continue;
        bool parentSelected = false;
        for (const rt::Object* parent = object->Parent(); parent && !parentSelected;
             parent = parent->Parent())
            parentSelected = parent != &form_ && IsSelected(parent);
        if (!parentSelected) moving.push_back(object);
    }
    return moving;
}

std::vector<DesignMove> DesignOverlay::MovesTo(
    const std::vector<std::pair<rt::Object*, DesignBounds>>& proposed) const {
    std::vector<DesignMove> moves;
    for (const auto& [control, to] : proposed) {
        const DesignBounds from = BoundsOf(*control);
        const unsigned changed = ChangedFields(from, to, AlignmentAllows(rt::EnumName(*control, "Align")));
        if (changed == 0) continue;
        DesignBounds kept = from;
        if (changed & FieldLeft) kept.Left = to.Left;
        if (changed & FieldTop) kept.Top = to.Top;
        if (changed & FieldWidth) kept.Width = to.Width;
        if (changed & FieldHeight) kept.Height = to.Height;
        moves.push_back({control, from, kept, changed});
    }
    return moves;
}

std::vector<DesignMove> DesignOverlay::DragMoves(QPoint pointer, bool snap) const {
    if (!grabbed_) return {};
    const QPoint delta = pointer - pressAt_;
    std::vector<std::pair<rt::Object*, DesignBounds>> proposed;
    if (grip_ == DesignGrip::Body) {
        const DesignOffset offset = MoveOffset(BoundsOf(*grabbed_), delta.x(), delta.y(), snap);
        for (rt::Object* control : MovingControls()) {
            DesignBounds to = BoundsOf(*control);
            to.Left += offset.X;
            to.Top += offset.Y;
            proposed.emplace_back(control, to);
        }
    } else {
        proposed.emplace_back(grabbed_, DragBounds(BoundsOf(*grabbed_), grip_, delta.x(), delta.y(), snap));
    }
    return MovesTo(proposed);
}

void DesignOverlay::MakeCurrent(rt::Object* object) {
    std::vector<rt::Object*> selection{object};
    for (rt::Object* other : selection_)
        if (other != object) selection.push_back(other);
    selection_.swap(selection);
}

void DesignOverlay::EndDrag() {
    pressed_ = dragging_ = false;
    grabbed_ = nullptr;
    grip_ = DesignGrip::None;
    preview_.clear();
    update();
}

bool DesignOverlay::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The controls under the overlay get no pointer events: their hints are shown
        // from here.
        const auto* help = static_cast<QHelpEvent*>(event);
        const rt::Object* object = ObjectAt(help->pos());
        const rt::Property* hint = object->FindProperty("Hint");
        QString text = hint ? QString::fromStdString(object->String(*hint)) : QString();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

bool DesignOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) setGeometry(client_->rect());
    return QWidget::eventFilter(watched, event);
}

void DesignOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool single = MovingControls().size() == 1;
    for (const rt::Object* object : selection_) {
        if (object == &form_) continue;
        const QRect r = RectOf(*object);
        if (r.isEmpty()) continue;
        for (const DesignGrip handle : DesignHandles)
            painter.fillRect(ToRect(HandleSquare(ToBounds(r), handle)), single ? Qt::black : Qt::darkGray);
    }
    // A drag in progress: where the controls would go, as dotted outlines.
    QPen pen(Qt::black, 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const DesignMove& move : preview_) {
        const QRect r = RectOf(*move.Control);
        if (r.isEmpty()) continue;  // not on screen
        const QRect to(r.topLeft() + QPoint(move.To.Left - move.From.Left, move.To.Top - move.From.Top),
                       QSize(move.To.Width, move.To.Height));
        painter.drawRect(to.adjusted(0, 0, -1, -1));
    }
}

void DesignOverlay::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    EndDrag();
    const QPoint at = event->position().toPoint();
    pressAt_ = at;
    // A handle of the one selected control resizes it.
    if (selection_.size() == 1 && selection_.front() != &form_ && !(event->modifiers() & Qt::ShiftModifier)) {
        const QRect r = RectOf(*selection_.front());
        const DesignGrip grip = r.isEmpty() ? DesignGrip::None : GripAt(ToBounds(r), at.x(), at.y());
        if (grip != DesignGrip::None && grip != DesignGrip::Body) {
            pressed_ = true;
            grabbed_ = selection_.front();
            grip_ = grip;
            return;
        }
    }
    rt::Object* hit = ObjectAt(at);
    if (event->modifiers() & Qt::ShiftModifier) {
        // Shift adds a control to the selection or takes it out; the form stays out of
        // a selection of controls.
        if (hit == &form_) return;
        std::erase(selection_, &form_);
        if (IsSelected(hit)) {
            std::erase(selection_, hit);
            if (selection_.empty()) selection_.push_back(&form_);
            update();
            emit SelectionClicked(selection_.front());
            return;
        }
        MakeCurrent(hit);
    } else if (!IsSelected(hit)) {
        selection_.assign(1, hit);
    } else {
        // A click on a selected control makes it the current one; the others stay
        // selected, so that a drag takes them all.
        MakeCurrent(hit);
    }
    update();
    emit SelectionClicked(hit);
    // Showing the selected control may have scrolled the preview under the pointer: the
    // drag is measured from where the press is now.
    pressAt_ = mapFromGlobal(event->globalPosition().toPoint());
    if (hit != &form_) {
        pressed_ = true;
        grabbed_ = hit;
        grip_ = DesignGrip::Body;
    }
}

void DesignOverlay::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!pressed_) {
        rt::Object* object = ObjectAt(at);
        emit Hovered(object, at - RectOf(*object).topLeft());
        return;
    }
    if (!dragging_ && (at - pressAt_).manhattanLength() < QApplication::startDragDistance()) return;
    dragging_ = true;
    preview_ = DragMoves(at, !(event->modifiers() & Qt::AltModifier));
    update();
}

void DesignOverlay::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    std::vector<DesignMove> moves;
    if (dragging_) moves = DragMoves(event->position().toPoint(), !(event->modifiers() & Qt::AltModifier));
    EndDrag();
    if (!moves.empty()) emit Moved(moves);
}

void DesignOverlay::keyPressEvent(QKeyEvent* event) {
    int dx = 0, dy = 0;
    switch (event->key()) {
        case Qt::Key_Delete:
            if (std::any_of(selection_.begin(), selection_.end(),
                            [this](const rt::Object* o) { return o != &form_; }))
                emit DeletePressed();
            return;
        case Qt::Key_Escape:
            if (pressed_) EndDrag();
            return;
        case Qt::Key_Left:
            dx = -1;
            break;
        case Qt::Key_Right:
            dx = 1;
            break;
        case Qt::Key_Up:
            dy = -1;
            break;
        case Qt::Key_Down:
            dy = 1;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    const std::vector<rt::Object*> moving = MovingControls();
    if (moving.empty() || pressed_) return;
    const bool resize = event->modifiers() & Qt::ShiftModifier;
    const bool fine = event->modifiers() & Qt::ControlModifier;
    std::vector<std::pair<rt::Object*, DesignBounds>> proposed;
    if (resize) {
        for (rt::Object* control : moving)
            proposed.emplace_back(control, KeyBounds(BoundsOf(*control), dx, dy, true, fine));
    } else {
        // The current control steps to the grid; the others keep their places to it.
        rt::Object* lead = std::find(moving.begin(), moving.end(), selection_.front()) != moving.end()
                               ? selection_.front()
                               : moving.front();
        const DesignBounds from = BoundsOf(*lead);
        const DesignBounds to = KeyBounds(from, dx, dy, false, fine);
        for (rt::Object* control : moving) {
            DesignBounds bounds = BoundsOf(*control);
            bounds.Left += to.Left - from.Left;
            bounds.Top += to.Top - from.Top;
            proposed.emplace_back(control, bounds);
        }
    }
    const std::vector<DesignMove> moves = MovesTo(proposed);
    if (!moves.empty()) emit Moved(moves);
}

}  // namespace fw::preview
