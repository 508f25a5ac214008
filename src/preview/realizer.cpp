#include "preview/realizer.h"

#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>
#include <exception>

#include "preview/vcllook.h"
#include "runtime/layout.h"

namespace fw::preview {

namespace {

int Clamp(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, -100000, 100000));
}

// The controls in a subtree, the root included, counted without recursion.
long long CountControls(const rt::Object& root) {
    long long count = 0;
    std::vector<const rt::Object*> pending{&root};
    while (!pending.empty()) {
        const rt::Object* c = pending.back();
        pending.pop_back();
        ++count;
        for (const rt::Object* child : c->Controls())
            pending.push_back(child);
    }
    return count;
}

}  // namespace

// The controls drawn onto one parent's client area. The layer covers the client area
// and sits below the parent's windowed child controls, so the drawn controls are
// painted over the parent's background and under its windows, as a parent paints its
// graphic controls. It paints only the controls that meet the exposed region.
class DrawnLayer : public QWidget {
public:
    struct Item {
        rt::Object* Control = nullptr;
        std::unique_ptr<DrawnControl> Drawing;
        QRect Bounds;  // in the layer
        bool Visible = true;
        bool Enabled = true;
        QString Hint;  // shown as the tooltip when not empty
    };

    // A layer over client, inset by margins (the parent's border when the client is
    // the parent's own widget); it follows the client's size.
    DrawnLayer(QWidget* client, QMargins margins) : QWidget(client), margins_(margins) {
        setObjectName(QStringLiteral("DrawnControls"));
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_NoSystemBackground);
        client->installEventFilter(this);
        Follow();
    }

    int Add(Item item) {
        items_.push_back(std::move(item));
        return static_cast<int>(items_.size()) - 1;
    }
    Item& At(int index) { return items_[static_cast<std::size_t>(index)]; }
    const Item& At(int index) const { return items_[static_cast<std::size_t>(index)]; }
    // The topmost visible control at a point of the layer, or nullptr.
    const Item* Hit(QPoint at) const {
        for (auto it = items_.rbegin(); it != items_.rend(); ++it)
            if (it->Visible && it->Bounds.contains(at)) return &*it;
        return nullptr;
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        const QRect exposed = event->rect();
        for (const Item& item : items_) {
            if (!item.Visible || !item.Drawing || !item.Bounds.intersects(exposed)) continue;
            p.save();
            p.translate(item.Bounds.topLeft());
            const QRect whole(QPoint(0, 0), item.Bounds.size());
            p.setClipRect(whole);
            try {
                item.Drawing->Paint(p, whole, item.Enabled);
            } catch (const std::exception&) {
                // A drawing that fails leaves its control blank, not the window.
            }
            p.restore();
        }
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::Resize) Follow();
        return false;
    }

private:
    void Follow() {
        if (auto* client = parentWidget()) setGeometry(client->rect().marginsRemoved(margins_));
    }

    QMargins margins_;
    std::vector<Item> items_;
};

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
    layers_.clear();
    messages_.clear();
    pictures_ = PictureBudget();
    imageLists_ = ImageListCache();
    realized_ = 0;
    leftOut_ = tooDeep_ = 0;
    pressed_ = nullptr;
    Watch(client, form);
    controls_[&form] = Entry{Realized{client, client}, nullptr};
    RealizeChildren(form, Realized{client, client}, 0);
    if (leftOut_ > 0)
        messages_.push_back("WARN=Preview: the form has more than " + std::to_string(MaxPreviewControls) +
                            " controls; the first " + std::to_string(MaxPreviewControls) + " are shown and " +
                            std::to_string(leftOut_) + " are left out");
    if (tooDeep_ > 0)
        messages_.push_back("WARN=Preview: " + std::to_string(tooDeep_) + " controls nested more than " +
                            std::to_string(MaxPreviewNesting) + " levels deep are left out");
    if (QStyle* style = PreviewStyle()) {
        client->setStyle(style);
        for (QWidget* w : client->findChildren<QWidget*>())
            w->setStyle(style);
    }
}

void FormRealizer::RealizeChildren(rt::Object& parent, const Realized& parentWidgets, int depth) {
    if (!parentWidgets.Client) return;
    if (depth >= MaxPreviewNesting) {
        for (const rt::Object* child : parent.Controls())
            tooDeep_ += CountControls(*child);
        return;
    }
    // Children count from the parent's client area. A factory that puts them straight
    // into its own widget leaves the border to the realiser: a bsSingle edge or a
    // BevelKind moves them in.
    QPoint origin(0, 0);
    if (parentWidgets.Client == parentWidgets.Widget && &parent != form_) {
        const rt::Insets insets = rt::NonClientInsets(parent);
        origin = QPoint(insets.Left, insets.Top);
    }
    for (rt::Object* child : parent.Controls()) {
        if (realized_ >= MaxPreviewControls) {
            leftOut_ += CountControls(*child);
            continue;
        }
        const ControlFactory* factory = PickFor(*child).Factory;
        if (!factory) continue;
        const QRect bounds(Clamp(OrdinalOf(*child, "Left")), Clamp(OrdinalOf(*child, "Top")),
                           std::max(0, Clamp(OrdinalOf(*child, "Width"))),
                           std::max(0, Clamp(OrdinalOf(*child, "Height"))));
        QString hint;
        const bool showHint = BoolOf(*child, "ShowHint", false);
        if (showHint) {
            hint = TextOf(*child, "Hint");
            hint.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        }
        std::unique_ptr<DrawnControl> drawing;
        try {
            drawing = factory->Draw(*child, *this);
        } catch (const std::exception&) {
            continue;
        }
        if (drawing) {
            // Drawn controls hold no child controls: they are the component library's
            // graphic controls, which cannot be parents.
            DrawnLayer* layer = LayerFor(parent, parentWidgets, origin);
            DrawnLayer::Item item;
            item.Control = child;
            item.Drawing = std::move(drawing);
            item.Bounds = bounds;
            item.Visible = BoolOf(*child, "Visible", true);
            item.Enabled = BoolOf(*child, "Enabled", true);
            item.Hint = hint;
            const int index = layer->Add(std::move(item));
            Entry entry{Realized{}, factory};
            entry.Layer = layer;
            entry.Index = index;
            controls_[child] = entry;
            ++realized_;
            continue;
        }
        Realized made;
        try {
            made = factory->Create(*child, parentWidgets.Client, *this);
        } catch (const std::exception&) {
            continue;
        }
        if (!made.Widget) continue;
        ++realized_;
        made.Widget->setGeometry(bounds.translated(origin));
        made.Widget->setVisible(BoolOf(*child, "Visible", true));
        made.Widget->setEnabled(BoolOf(*child, "Enabled", true));
        if (showHint) made.Widget->setToolTip(hint);
        controls_[child] = Entry{made, factory};
        Watch(made.Widget, *child);
        RealizeChildren(*child, made, depth + 1);
        try {
            factory->Finish(*child, made, *this);
        } catch (const std::exception&) {
        }
    }
}

DrawnLayer* FormRealizer::LayerFor(rt::Object& parent, const Realized& parentWidgets, QPoint origin) {
    QWidget* client = parentWidgets.Client;
    if (const auto it = layers_.find(client); it != layers_.end()) return it->second;
    QMargins margins(origin.x(), origin.y(), 0, 0);
    if (origin != QPoint(0, 0)) {
        const rt::Insets insets = rt::NonClientInsets(parent);
        margins.setRight(insets.Right);
        margins.setBottom(insets.Bottom);
    }
    auto* layer = new DrawnLayer(client, margins);
    // Below every windowed child control realised so far; later ones are made above it.
    for (const rt::Object* sibling : parent.Controls()) {
        const auto it = controls_.find(sibling);
        if (it != controls_.end() && it->second.Widgets.Widget) {
            layer->stackUnder(it->second.Widgets.Widget);
            break;
        }
    }
    layer->show();
    layers_[client] = layer;
    Watch(layer, parent);
    return layer;
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
    for (QWidget* inner : widget->findChildren<QWidget*>())
        watchOne(inner);
}

Realized FormRealizer::WidgetOf(const rt::Object& control) const {
    const auto it = controls_.find(&control);
    return it == controls_.end() ? Realized{} : it->second.Widgets;
}

Placement FormRealizer::PlaceOf(const rt::Object& control) const {
    const auto it = controls_.find(&control);
    if (it == controls_.end() || &control == form_) return {};
    const Entry& e = it->second;
    if (e.Layer) {
        const DrawnLayer::Item& item = e.Layer->At(e.Index);
        return Placement{e.Layer->parentWidget(), item.Bounds.translated(e.Layer->pos()), true, item.Visible};
    }
    if (!e.Widgets.Widget) return {};
    return Placement{e.Widgets.Widget->parentWidget(), e.Widgets.Widget->geometry(), false,
                     !e.Widgets.Widget->isHidden()};
}

const DrawnControl* FormRealizer::DrawingOf(const rt::Object& control) const {
    const auto it = controls_.find(&control);
    if (it == controls_.end() || !it->second.Layer) return nullptr;
    return it->second.Layer->At(it->second.Index).Drawing.get();
}

rt::Object* FormRealizer::ControlAt(const QWidget* widget) const {
    for (const QObject* o = widget; o; o = o->parent()) {
        const auto it = owners_.find(o);
        if (it != owners_.end()) return it->second;
    }
    return nullptr;
}

rt::Object* FormRealizer::ControlAt(const QWidget* widget, QPoint at) const {
    if (const auto* layer = dynamic_cast<const DrawnLayer*>(widget))
        if (const DrawnLayer::Item* item = layer->Hit(at)) return item->Control;
    return ControlAt(widget);
}

rt::Object* FormRealizer::Resolve(QObject* watched, rt::Object* owner, QPoint& at) const {
    // Over a layer, the topmost control drawn there takes the event; where none is
    // drawn, the parent control the layer belongs to.
    if (auto* layer = dynamic_cast<DrawnLayer*>(watched)) {
        if (const DrawnLayer::Item* item = layer->Hit(at)) {
            at -= item->Bounds.topLeft();
            return item->Control;
        }
        if (const Realized parent = WidgetOf(*owner); parent.Widget) at = layer->mapTo(parent.Widget, at);
    }
    return owner;
}

const rt::Class* FormRealizer::LookClassOf(const rt::Object& control) const {
    if (!resolver_ || !control.GetClass().Has(rt::CfStandIn)) return nullptr;
    return resolver_(control);
}

FormRealizer::Pick FormRealizer::PickFor(const rt::Object& control) const {
    // The nearest class with a row in any family wins: the walk starts at the class
    // itself (or the one a stand-in borrows its look from), so an exact row comes first.
    const rt::Class* borrowed = LookClassOf(control);
    for (const rt::Class* c = borrowed ? borrowed : &control.GetClass(); c; c = c->Parent())
        for (const auto& f : factories_)
            if (f->HasRow(c->Name())) return {f.get(), c};
    for (const auto& f : factories_)
        if (f->Handles(control.GetClass())) return {f.get(), nullptr};
    return {};
}

DrawnLook FormRealizer::LookOf(const rt::Object& control) const {
    const Pick pick = PickFor(control);
    if (!pick.Factory) return {};
    if (!pick.Row) {
        // A factory without rows that takes the class draws it as its own; the fallback
        // draws the framed box.
        if (pick.Factory->Family() == "fallback") return {};
        return {DrawnLook::Kind::Native, std::string(control.ClassName())};
    }
    DrawnLook look;
    look.DrawnAs = std::string(pick.Row->Name());
    if (control.GetClass().Has(rt::CfStandIn) && LookClassOf(control))
        look.How = DrawnLook::Kind::Lookalike;
    else if (pick.Row == &control.GetClass())
        look.How = DrawnLook::Kind::Native;
    else
        look.How = DrawnLook::Kind::Ancestor;
    return look;
}

const ControlFactory* FormRealizer::FactoryOf(const rt::Object& control) const {
    const auto it = controls_.find(&control);
    return it == controls_.end() ? nullptr : it->second.Factory;
}

void FormRealizer::ShowControl(rt::Object& control) {
    // From the form down to the control, each parent brings the next one to the front.
    std::vector<rt::Object*> chain;
    for (rt::Object* c = &control; c && c != form_ && chain.size() <= MaxPreviewNesting; c = c->Parent())
        chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        rt::Object* c = *it;
        const Realized self = WidgetOf(*c);
        if (self.Widget) self.Widget->setVisible(true);
        if (const auto e = controls_.find(c); e != controls_.end() && e->second.Layer) {
            e->second.Layer->At(e->second.Index).Visible = true;
            e->second.Layer->update();
        }
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
    QPoint at;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            // Only the innermost control under the pointer takes a mouse event, as with
            // Windows controls: an event that reaches a widget on its way up from a
            // child control's widget is not this control's.
            auto* w = qobject_cast<QWidget*>(watched);
            at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (QWidget* hit = w ? w->childAt(at) : nullptr; hit && ControlAt(hit) != control) return false;
            if (QWidget* own = WidgetOf(*control).Widget;
                w && own && w != own && !dynamic_cast<DrawnLayer*>(w))
                at = w->mapTo(own, at);
            control = Resolve(watched, control, at);
            break;
        }
        case QEvent::ToolTip: {
            // A drawn control shows its own tooltip; elsewhere on the layer the parent's
            // shows, as the event goes on to the parent's widget.
            auto* layer = dynamic_cast<DrawnLayer*>(watched);
            if (!layer) return false;
            const auto* help = static_cast<QHelpEvent*>(event);
            const DrawnLayer::Item* item = layer->Hit(help->pos());
            if (!item) return false;
            if (item->Hint.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), item->Hint, layer, item->Bounds);
            return true;
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
        case QEvent::MouseMove:
            emit MouseMoved(control, at);
            break;
        default:
            break;
    }
    // The widget itself never sees the input: a click does not press a button, open a
    // combo box or tick a check box.
    return true;
}

}  // namespace fw::preview
