// Action main menu bars and action tool bars, filled from their action manager. A menu
// bar shows the captions of its top-level items left to right as the form's own menu
// bar does; a tool bar shows a flat text button per item and a thin line per separator.
// Drop-down menus and glyphs are not drawn: a preview shows the bar at rest.

#include "preview/factory_actionbars.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "preview/classrows.h"
#include "preview/containers_parts.h"
#include "preview/controlfactory.h"
#include "preview/controlvalues.h"
#include "preview/vcllook.h"

namespace fw::preview {

namespace {

// Windows draws menu bar text in clMenuText and fills the bar with clMenuBar.
inline constexpr std::int64_t clMenuText = SysColor(7);

// The padding on each side of a menu bar caption, as the preview's style pads the
// items of the form's own menu bar.
constexpr int MenuItemPadding = 6;
// The padding on each side of a tool bar button's caption, and the space a glyph-only
// button keeps around its image cell.
constexpr int ButtonTextPadding = 4;
constexpr int ButtonGlyphPadding = 7;
// The width a separator takes on either kind of bar.
constexpr int SeparatorWidth = 6;

bool NamesBar(const rt::Object& entry, const rt::Object& bar) {
    return ObjectOf(entry, "ActionBar") == &bar;
}

const rt::Object* EntryFor(const rt::Object& manager, const rt::Object& bar) {
    if (const rt::Object* bars = ObjectOf(manager, "ActionBars"))
        for (const rt::ObjectPtr& entry : bars->Items())
            if (entry && NamesBar(*entry, bar)) return entry.get();
    return nullptr;
}

// Whether a collection's CaptionOptions lets an item show its caption: coNone shows
// none, coAll every one, coSelective (the default) those whose ShowCaption is set.
bool ShowsCaption(const std::string& options, const rt::Object& item) {
    if (options == "coNone") return false;
    if (options == "coAll") return true;
    return BoolOf(item, "ShowCaption", true);
}

}  // namespace

const rt::Object* ActionManagerOf(const rt::Object& bar) {
    if (const rt::Object* manager = ObjectOf(bar, "ActionManager")) return manager;
    // Naming the bar in an ActionBars entry links the bar to that manager at run time,
    // so a form that stores only the entry's side still fills the bar.
    if (const rt::Object* owner = bar.Owner())
        for (const rt::ObjectPtr& component : owner->Components())
            if (component && component->InheritsFrom("TCustomActionManager") && EntryFor(*component, bar))
                return component.get();
    return nullptr;
}

std::vector<ActionBarItem> ActionBarItems(const rt::Object& bar, ActionBarKind kind) {
    std::vector<ActionBarItem> shown;
    const rt::Object* manager = ActionManagerOf(bar);
    const rt::Object* entry = manager ? EntryFor(*manager, bar) : nullptr;
    if (!entry || !BoolOf(*entry, "Visible", true)) return shown;
    const rt::Object* items = ObjectOf(*entry, "Items");
    if (!items) return shown;
    const std::string options = EnumOf(*items, "CaptionOptions");
    const bool menu = kind == ActionBarKind::MenuBar;
    for (const rt::ObjectPtr& item : items->Items()) {
        if (shown.size() >= MaxActionBarItems) break;
        if (!item || !BoolOf(*item, "Visible", true)) continue;
        const rt::Object* action = ObjectOf(*item, "Action");
        if (action && !BoolOf(*action, "Visible", true)) continue;
        QString caption = TextOf(*item, "Caption");
        if (caption.isEmpty() && action) caption = TextOf(*action, "Caption");
        ActionBarItem look;
        look.Separator = caption == QStringLiteral("-");
        // A menu bar always shows its captions; a tool bar's items follow CaptionOptions.
        if (!look.Separator && (menu || ShowsCaption(options, *item))) look.Caption = ShownCaption(caption);
        look.Enabled = !action || BoolOf(*action, "Enabled", true);
        shown.push_back(look);
    }
    return shown;
}

std::vector<QRect> LayOutActionBar(const std::vector<ActionBarItem>& items, const ActionBarMetrics& metrics,
                                   const QRect& client) {
    std::vector<QRect> rects;
    rects.reserve(items.size());
    const QFontMetrics fm(metrics.Font);
    const bool menu = metrics.Kind == ActionBarKind::MenuBar;
    const int top = menu ? client.top() : client.top() + metrics.VertMargin;
    const int height = std::max(0, menu ? client.height() : client.height() - 2 * metrics.VertMargin);
    const int spacing = std::clamp(metrics.Spacing, 0, containers::MaxPixels);
    int x = client.left() + std::clamp(metrics.HorzMargin, 0, containers::MaxPixels);
    for (const ActionBarItem& item : items) {
        int width = SeparatorWidth;
        if (!item.Separator) {
            const int text = fm.horizontalAdvance(item.Caption);
            if (menu)
                width = text + 2 * MenuItemPadding;
            else if (item.Caption.isEmpty())
                width = std::clamp(metrics.Glyph.width(), 0, 1000) + ButtonGlyphPadding;
            else
                width = text + 2 * ButtonTextPadding;
        }
        width = std::min(width, containers::MaxPixels);
        rects.emplace_back(x, top, width, height);
        x = std::min(containers::MaxPixels, x + width + spacing);
    }
    return rects;
}

namespace {

using containers::Surface;

struct BarLook {
    ActionBarMetrics Metrics;
    std::vector<ActionBarItem> Items;
    QColor Back;
    QColor Text;
    containers::NonClient Edges;
};

void PaintBar(QPainter& p, const QRect& whole, const QRect& client, const BarLook& look, bool enabled) {
    p.fillRect(whole, look.Back);
    look.Edges.Paint(p, whole, look.Back);
    p.setClipRect(client);
    p.setFont(look.Metrics.Font);
    const std::vector<QRect> rects = LayOutActionBar(look.Items, look.Metrics, client);
    const bool menu = look.Metrics.Kind == ActionBarKind::MenuBar;
    for (std::size_t i = 0; i < rects.size() && rects[i].left() <= client.right(); ++i) {
        const ActionBarItem& item = look.Items[i];
        const QRect& r = rects[i];
        if (item.Separator) {
            containers::VLine(p, r.center().x(), r.top() + 2, r.bottom() - 2, ColorOf(clBtnShadow));
            continue;
        }
        if (item.Caption.isEmpty()) continue;
        p.setPen(enabled && item.Enabled ? look.Text : ColorOf(clGrayText));
        const int padding = menu ? MenuItemPadding : ButtonTextPadding;
        p.drawText(r.adjusted(padding, 0, -padding, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   item.Caption);
    }
}

Realized MakeActionBar(rt::Object& control, QWidget* parent, bool menu) {
    auto* bar = new Surface(parent);
    ApplyColorsAndFont(*bar, control, false);
    BarLook look;
    look.Metrics.Kind = menu ? ActionBarKind::MenuBar : ActionBarKind::ToolBar;
    look.Items = ActionBarItems(control, look.Metrics.Kind);
    look.Edges = containers::NonClientOf(control, false);
    look.Back = ControlColor(control);
    if (menu && BoolOf(control, "UseSystemFont", true)) {
        look.Metrics.Font = containers::SystemUiFont();
        look.Text = ColorOf(clMenuText);
    } else {
        look.Metrics.Font = ControlFont(control);
        look.Text = ControlFontColor(control);
    }
    look.Metrics.HorzMargin = containers::IntOf(control, "HorzMargin", 1, 0, containers::MaxPixels);
    look.Metrics.VertMargin = containers::IntOf(control, "VertMargin", 1, 0, containers::MaxPixels);
    look.Metrics.Spacing = containers::IntOf(control, "Spacing", 0, 0, containers::MaxPixels);
    if (const rt::Object* manager = ActionManagerOf(control))
        if (const rt::Object* images = ObjectOf(*manager, "Images"))
            look.Metrics.Glyph = QSize(containers::IntOf(*images, "Width", 16, 0, 1000),
                                       containers::IntOf(*images, "Height", 16, 0, 1000));
    bar->setFont(look.Metrics.Font);
    QStringList captions;
    for (const ActionBarItem& item : look.Items)
        if (!item.Caption.isEmpty()) captions << item.Caption;
    bar->setAccessibleName(captions.join(QLatin1Char(' ')));
    bar->SetPaint([look, bar](QPainter& p, const QRect& whole, const QRect& client) {
        PaintBar(p, whole, client, look, bar->isEnabled());
    });
    // Child controls a form puts on the bar show inside its edges.
    bar->SetNonClient(look.Edges.Margins(), true);
    return {bar, bar->Client()};
}

struct BarRow {
    std::string_view Name;
    bool Menu;
};

// The bars by class, so that a descendant a package registers draws as its nearest
// ancestor here.
constexpr BarRow Rows[] = {
    {"TCustomActionMainMenuBar", true},
    {"TActionMainMenuBar", true},
    {"TCustomActionToolBar", false},
    {"TActionToolBar", false},
};

class ActionBarFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "actionbars"; }
    bool Handles(const rt::Class& cls) const override { return Row(&cls) != nullptr; }
    bool HasRow(std::string_view className) const override { return RowNamed(Rows, className) != nullptr; }
    Realized Create(rt::Object& control, QWidget* parent, RealizeContext& context) const override {
        const BarRow* row = Row(&LookClass(control, context));
        return MakeActionBar(control, parent, row ? row->Menu : false);
    }

private:
    static const BarRow* Row(const rt::Class* cls) {
        return NearestRow(cls, [](std::string_view name) { return RowNamed(Rows, name); });
    }
};

}  // namespace

std::unique_ptr<ControlFactory> MakeActionBarFactory() {
    return std::make_unique<ActionBarFactory>();
}

}  // namespace fw::preview
