#include "preview/realizer.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleFactory>
#include <exception>

#include "preview/vcllook.h"
#include "runtime/layout.h"

namespace fw::preview {

namespace {

// Controls deeper than this are left out; the reader already bounds nesting, this
// keeps the realiser from trusting it.
constexpr int MaxDepth = 1000;

int Clamp(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, -100000, 100000));
}

}  // namespace

QStyle* PreviewStyle() {
    static QStyle* style = [] {
        QStyle* s = QStyleFactory::create(QStringLiteral("Windows"));
        if (!s) s = QStyleFactory::create(QStringLiteral("Fusion"));
        if (s) s->setParent(qApp);
        return s;
    }();
    return style;
}

FormRealizer::FormRealizer() : factories_(MakeAllFactories()) {}

FormRealizer::~FormRealizer() = default;

void FormRealizer::Realize(rt::Object& form, QWidget* client) {
    form_ = &form;
    controls_.clear();
    owners_.clear();
    pressed_ = nullptr;
    Watch(client, form);
    controls_[&form] = Entry{Realized{client, client}, nullptr};
    RealizeChildren(form, Realized{client, client}, 0);
    if (QStyle* style = PreviewStyle()) {
        client->setStyle(style);
        for (QWidget* w : client->findChildren<QWidget*>()) w->setStyle(style);
    }
}

void FormRealizer::RealizeChildren(rt::Object& parent, const Realized& parentWidgets, int depth) {
    if (depth >= MaxDepth || !parentWidgets.Client) return;
    // Children count from the parent's client area. A factory that puts them straight
    // into its own widget leaves the border to the realiser: a bsSingle edge or a
    // BevelKind moves them in.
    QPoint origin(0, 0);
    if (parentWidgets.Client == parentWidgets.Widget && &parent != form_) {
        const rt::Insets insets = rt::NonClientInsets(parent);
        origin = QPoint(insets.Left, insets.Top);
    }
    for (rt::Object* child : parent.Controls()) {
        const ControlFactory* factory = nullptr;
        for (const auto& f : factories_)
            if (f->Handles(child->GetClass())) {
                factory = f.get();
                break;
            }
        if (!factory) continue;
        Realized made;
        try {
            made = factory->Create(*child, parentWidgets.Client, *this);
        } catch (const std::exception&) {
            continue;
        }
        if (!made.Widget) continue;
        made.Widget->setGeometry(origin.x() + Clamp(OrdinalOf(*child, "Left")), origin.y() + Clamp(OrdinalOf(*child, "Top")),
                                 std::max(0, Clamp(OrdinalOf(*child, "Width"))),
                                 std::max(0, Clamp(OrdinalOf(*child, "Height"))));
        made.Widget->setVisible(BoolOf(*child, "Visible", true));
        made.Widget->setEnabled(BoolOf(*child, "Enabled", true));
        if (BoolOf(*child, "ShowHint", false)) {
            QString hint = TextOf(*child, "Hint");
            hint.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            made.Widget->setToolTip(hint);
        }
        controls_[child] = Entry{made, factory};
        Watch(made.Widget, *child);
        RealizeChildren(*child, made, depth + 1);
        try {
            factory->Finish(*child, made, *this);
        } catch (const std::exception&) {
        }
    }
}

void FormRealizer::Watch(QWidget* widget, rt::Object& control) {
    // Every widget inside the control's widget reports for it, except those that stand
    // for controls of their own (they are watched when realised, and win).
    auto watchOne = [&](QWidget* w) {
        auto [it, inserted] = owners_.emplace(w, &control);
        if (!inserted && it->second != &control) {
            if (controls_.count(it->second) && controls_.at(it->second).Widgets.Widget == w) return;
            it->second = &control;
        }
        w->installEventFilter(this);
        w->setMouseTracking(true);
    };
    watchOne(widget);
    for (QWidget* inner : widget->findChildren<QWidget*>()) watchOne(inner);
}

Realized FormRealizer::WidgetOf(const rt::Object& control) const {
    const auto it = controls_.find(&control);
    return it == controls_.end() ? Realized{} : it->second.Widgets;
}

rt::Object* FormRealizer::ControlAt(const QWidget* widget) const {
    for (const QObject* o = widget; o; o = o->parent()) {
        const auto it = owners_.find(o);
        if (it != owners_.end()) return it->second;
    }
    return nullptr;
}

const ControlFactory* FormRealizer::FactoryOf(const rt::Object& control) const {
    const auto it = controls_.find(&control);
    return it == controls_.end() ? nullptr : it->second.Factory;
}

void FormRealizer::ShowControl(rt::Object& control) {
    // From the form down to the control, each parent brings the next one to the front.
    std::vector<rt::Object*> chain;
    for (rt::Object* c = &control; c && c != form_ && chain.size() < MaxDepth; c = c->Parent()) chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        rt::Object* c = *it;
        const Realized self = WidgetOf(*c);
        if (self.Widget) self.Widget->setVisible(true);
        if (rt::Object* parent = c->Parent()) {
            const auto p = controls_.find(parent);
            if (p != controls_.end() && p->second.Factory) {
                try {
                    p->second.Factory->ShowChild(*parent, p->second.Widgets, *c, *this);
                } catch (const std::exception&) {
                }
            }
        }
    }
}

bool FormRealizer::eventFilter(QObject* watched, QEvent* event) {
    const auto it = owners_.find(watched);
    if (it == owners_.end()) return false;
    rt::Object* control = it->second;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            // Only the innermost control under the pointer takes a mouse event, as with
            // Windows controls: an event that reaches a widget on its way up from a
            // child control's widget is not this control's.
            auto* w = qobject_cast<QWidget*>(watched);
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (QWidget* hit = w ? w->childAt(at) : nullptr; hit && ControlAt(hit) != control) return false;
            break;
        }
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ContextMenu:
            // The preview is for looking and picking: its controls never change state.
            return true;
        default:
            return false;
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            pressed_ = control;
            break;
        case QEvent::MouseButtonRelease:
            if (pressed_ == control) emit Clicked(control);
            pressed_ = nullptr;
            break;
        case QEvent::MouseButtonDblClick:
            emit DoubleClicked(control);
            break;
        case QEvent::MouseMove: {
            const auto* move = static_cast<QMouseEvent*>(event);
            const Realized r = WidgetOf(*control);
            QPoint pos = move->position().toPoint();
            if (auto* w = qobject_cast<QWidget*>(watched); w && r.Widget && w != r.Widget)
                pos = w->mapTo(r.Widget, pos);
            emit MouseMoved(control, pos);
            break;
        }
        default:
            break;
    }
    // The widget itself never sees the input: a click does not press a button, open a
    // combo box or tick a check box.
    return true;
}

}  // namespace fw::preview
