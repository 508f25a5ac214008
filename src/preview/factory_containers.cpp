// The containers and decorations: panels, scroll boxes, frames, bevels, shapes, images,
// paint boxes, splitters, notebooks and page controls, tab controls and tab sets,
// headers, tool, cool and control bars, status bars, page scrollers, action bars, the
// data-aware control grid and image, the media player, the animation box and the OLE
// container, each drawn as a Windows 10 desktop at 96 DPI shows it at run time.
//
// Each widget copies what it draws out of its control when it is made: painting never
// reaches back into the live objects, which may go before a widget is repainted.
// Containers give the realiser a client widget inset by what Windows keeps outside a
// control's client area (borders, bevel edges, a tool window's edges), so that child
// controls sit at their own Left and Top inside it.
//
// This file holds the factory and its row table; each family draws in a file of its own
// (factory_panels, factory_shapes, factory_pages, factory_bars, factory_media).

#include "preview/containers_parts.h"

namespace fw::preview::containers {

namespace {

// ---------------------------------------------------------------------------------
// The factory

enum class Kind {
    Panel,
    ScrollBox,
    Frame,
    Bevel,
    Shape,
    Splitter,
    Image,
    PaintBox,
    Notebook,
    Page,
    TabbedNotebook,
    TabPage,
    PageControl,
    TabSheet,
    TabControl,
    TabSet,
    Header,
    HeaderControl,
    ToolBar,
    ToolButton,
    CoolBar,
    ControlBar,
    StatusBar,
    PageScroller,
    ActionBar,
    CtrlGrid,
    DBImage,
    MediaPlayer,
    Animate,
    OleContainer,
};

struct KindRow {
    std::string_view Name;
    Kind Which;
};

constexpr KindRow Kinds[] = {
    {"TPANEL", Kind::Panel},
    {"TSCROLLBOX", Kind::ScrollBox},
    {"TFRAME", Kind::Frame},
    {"TBEVEL", Kind::Bevel},
    {"TSHAPE", Kind::Shape},
    {"TSPLITTER", Kind::Splitter},
    {"TIMAGE", Kind::Image},
    {"TPAINTBOX", Kind::PaintBox},
    {"TNOTEBOOK", Kind::Notebook},
    {"TPAGE", Kind::Page},
    {"TTABBEDNOTEBOOK", Kind::TabbedNotebook},
    {"TTABPAGE", Kind::TabPage},
    {"TPAGECONTROL", Kind::PageControl},
    {"TTABSHEET", Kind::TabSheet},
    {"TTABCONTROL", Kind::TabControl},
    {"TTABSET", Kind::TabSet},
    {"THEADER", Kind::Header},
    {"THEADERCONTROL", Kind::HeaderControl},
    {"TTOOLBAR", Kind::ToolBar},
    {"TTOOLBUTTON", Kind::ToolButton},
    {"TCOOLBAR", Kind::CoolBar},
    {"TCONTROLBAR", Kind::ControlBar},
    {"TSTATUSBAR", Kind::StatusBar},
    {"TPAGESCROLLER", Kind::PageScroller},
    {"TACTIONTOOLBAR", Kind::ActionBar},
    {"TACTIONMAINMENUBAR", Kind::ActionBar},
    {"TDBCTRLGRID", Kind::CtrlGrid},
    {"TDBIMAGE", Kind::DBImage},
    {"TMEDIAPLAYER", Kind::MediaPlayer},
    {"TANIMATE", Kind::Animate},
    {"TOLECONTAINER", Kind::OleContainer},
};

std::optional<Kind> KindOf(std::string_view className) {
    if (const KindRow* row = RowNamed(Kinds, className)) return row->Which;
    return std::nullopt;
}

// The row that draws a control: its own class's, or its nearest ancestor's.
std::optional<Kind> KindOf(const rt::Object& control, const RealizeContext& context) {
    return NearestRow(&LookClass(control, context), [](std::string_view name) { return KindOf(name); });
}

class ContainerFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "containers"; }

    bool Handles(const rt::Class& cls) const override {
        return NearestRow(&cls, [](std::string_view name) { return KindOf(name); }).has_value();
    }
    bool HasRow(std::string_view className) const override { return KindOf(className).has_value(); }

    std::unique_ptr<DrawnControl> Draw(rt::Object& control, RealizeContext& context) const override {
        const auto kind = KindOf(control, context);
        if (!kind) return nullptr;
        switch (*kind) {
            case Kind::Bevel:
                return DrawBevel(control);
            case Kind::Shape:
                return DrawShape(control);
            case Kind::Splitter:
                return DrawSplitter(control);
            case Kind::Image:
                return DrawImage(control, context);
            case Kind::PaintBox:
                // A paint box draws nothing without its handler: its parent shows through.
                return std::make_unique<PaintedControl>([](QPainter&, const QRect&, const QRect&) {});
            default:
                return nullptr;
        }
    }

    Realized Create(rt::Object& control, QWidget* parent, RealizeContext& context) const override {
        const auto kind = KindOf(control, context);
        if (!kind) return {};
        switch (*kind) {
            case Kind::Panel:
                return MakePanel(control, parent);
            case Kind::ScrollBox:
                return MakeScrollingBox(control, parent, true);
            case Kind::Frame:
                return MakeScrollingBox(control, parent, false);
            case Kind::Bevel:
            case Kind::Shape:
            case Kind::Splitter:
            case Kind::Image:
            case Kind::PaintBox:
                return {};  // drawn
            case Kind::Animate:
                return MakeEmpty(control, parent);
            case Kind::Notebook: {
                auto* notebook = new Surface(parent);
                ApplyColorsAndFont(*notebook, control, false);
                const QColor color = ControlColor(control);
                notebook->SetPaint(
                    [color](QPainter& p, const QRect& whole, const QRect&) { p.fillRect(whole, color); });
                return {notebook, notebook};
            }
            case Kind::Page:
            case Kind::TabPage: {
                // Pages are transparent over their notebook; the notebook shows one.
                auto* page = new Surface(parent);
                ApplyColorsAndFont(*page, control, false);
                return {page, page};
            }
            case Kind::TabSheet: {
                auto* sheet = new Surface(parent);
                ApplyColorsAndFont(*sheet, control, false);
                const int border = IntOf(control, "BorderWidth", 0, 0, 1000);
                sheet->SetNonClient(QMargins(border, border, border, border));
                return {sheet, sheet->Client()};
            }
            case Kind::TabbedNotebook: {
                TabOptions options = TabOptionsOf(control);
                options.PerRow = IntOf(control, "TabsPerRow", 3, 1, 100);
                if (const rt::Object* tabFont = ObjectOf(control, "TabFont")) {
                    options.Font = FontOf(tabFont);
                    options.Text = FontColorOf(tabFont);
                }
                TabFrame* frame = MakeTabFrame(control, parent, options);
                return {frame, frame};
            }
            case Kind::PageControl: {
                TabFrame* frame = MakeTabFrame(control, parent, TabOptionsOf(control));
                return {frame, frame};
            }
            case Kind::TabControl: {
                TabFrame* frame = MakeTabFrame(control, parent, TabOptionsOf(control));
                const QStringList tabs = LinesOf(control, "Tabs");
                frame->SetTabs(tabs);
                // A tab control selects its first tab when tabs are added; TabIndex
                // selects another one when it names one.
                const std::int64_t index = OrdinalOf(control, "TabIndex", -1);
                frame->SetCurrent(index >= 0 && index < tabs.size() ? static_cast<int>(index) : 0);
                return {frame, frame};
            }
            case Kind::TabSet:
                return MakeTabSet(control, parent);
            case Kind::Header:
                return MakeOldHeader(control, parent);
            case Kind::HeaderControl:
                return MakeHeaderControl(control, parent);
            case Kind::ToolBar:
                return MakeToolBar(control, parent);
            case Kind::ToolButton:
                return MakeToolButton(control, parent, context);
            case Kind::CoolBar:
                return MakeCoolBar(control, parent);
            case Kind::ControlBar:
                return MakeControlBar(control, parent);
            case Kind::StatusBar:
                return MakeStatusBar(control, parent, context);
            case Kind::PageScroller:
            case Kind::ActionBar:
                return MakePlainBox(control, parent);
            case Kind::CtrlGrid:
                return MakeCtrlGrid(control, parent);
            case Kind::DBImage:
            case Kind::OleContainer:
                return MakeFramedBox(control, parent);
            case Kind::MediaPlayer:
                return MakeMediaPlayer(control, parent);
        }
        return {};
    }

    void Finish(rt::Object& control, const Realized& self, RealizeContext& context) const override {
        const auto kind = KindOf(control, context);
        if (!kind || !self.Widget) return;
        // The realiser has given the widget its size by now.
        if (auto* surface = dynamic_cast<Surface*>(self.Widget)) surface->Relayout();
        if (auto* frame = dynamic_cast<TabFrame*>(self.Widget)) frame->Relayout();
        switch (*kind) {
            case Kind::PageControl:
                FinishPageControl(control, self, context);
                break;
            case Kind::Notebook:
                FinishNotebook(control, self, context, "TPage");
                break;
            case Kind::TabbedNotebook:
                FinishNotebook(control, self, context, "TTabPage");
                break;
            case Kind::ScrollBox:
            case Kind::Frame:
                if (auto* box = dynamic_cast<Surface*>(self.Widget))
                    ShowNeededScrollBars(*box, control, context);
                break;
            case Kind::ControlBar:
                if (auto* bar = dynamic_cast<Surface*>(self.Widget)) FinishControlBar(control, *bar, context);
                break;
            default:
                break;
        }
    }

    void ShowChild(rt::Object& control, const Realized& self, rt::Object& child,
                   RealizeContext& context) const override {
        const auto kind = KindOf(control, context);
        if (!kind || !self.Widget) return;
        QWidget* page = context.WidgetOf(child).Widget;
        if (!page) return;
        switch (*kind) {
            case Kind::PageControl:
            case Kind::TabbedNotebook:
                if (!child.InheritsFrom(*kind == Kind::PageControl ? "TTabSheet" : "TTabPage")) return;
                if (auto* frame = dynamic_cast<TabFrame*>(self.Widget)) frame->ShowPage(page);
                break;
            case Kind::Notebook:
                if (!child.InheritsFrom("TPage")) return;
                for (rt::Object* other : ChildrenOf(control, "TPage"))
                    if (QWidget* w = context.WidgetOf(*other).Widget) w->setVisible(w == page);
                page->raise();
                break;
            default:
                break;
        }
    }
};

}  // namespace

}  // namespace fw::preview::containers

namespace fw::preview {

std::unique_ptr<ControlFactory> MakeContainerFactory() {
    return std::make_unique<containers::ContainerFactory>();
}

}  // namespace fw::preview
