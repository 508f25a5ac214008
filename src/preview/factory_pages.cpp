// Page and tab controls: the tab frame of page controls, tab controls and notebooks,
// and tab sets.

#include "preview/containers_parts.h"

namespace fw::preview::containers {

// ---------------------------------------------------------------------------------
// Tabs

void TabFrame::Layout() {
    const int n = Count();
    const QFontMetrics fm(options_.Font);
    const int len = Length(), depth = Depth();
    const bool buttons = IsButtons();
    // Tabs are as tall as the taller of the text and the images.
    int imageHeight = 0;
    for (int i = 0; i < n; ++i)
        imageHeight = std::max(imageHeight, ImageAt(i).height());
    const int rowHeight = std::clamp(
        options_.FixedHeight > 0 ? options_.FixedHeight : std::max(fm.height() + 7, imageHeight + 6), 1,
        1000);
    const int gap = buttons ? 3 : 0;
    const int start = buttons ? 0 : 2;
    const int avail = std::max(1, len - 2 * start);
    const bool wrap = options_.MultiLine || IsVertical() || options_.PerRow > 0;

    std::vector<int> widths(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        int w;
        if (options_.PerRow > 0)
            w = (avail - gap * (options_.PerRow - 1)) / options_.PerRow;
        else if (options_.FixedWidth > 0)
            w = options_.FixedWidth;
        else
            w = TextWidth(texts_[i], fm) + (buttons ? 16 : 12) +
                (ImageAt(i).isNull() ? 0 : ImageAt(i).width() + ImageGap);
        widths[static_cast<std::size_t>(i)] = std::clamp(w, 1, MaxPixels);
    }

    // Rows of tab indexes.
    std::vector<std::vector<int>> rows;
    if (n > 0) rows.emplace_back();
    int x = 0;
    for (int i = 0; i < n; ++i) {
        const int w = widths[static_cast<std::size_t>(i)];
        bool newRow = false;
        if (options_.PerRow > 0)
            newRow = static_cast<int>(rows.back().size()) >= options_.PerRow;
        else if (wrap)
            newRow = !rows.back().empty() && x + w > avail;
        if (newRow) {
            rows.emplace_back();
            x = 0;
        }
        rows.back().push_back(i);
        x += w + gap;
    }
    // Several rows fill the width, unless ragged.
    if (rows.size() > 1 && !options_.RaggedRight && options_.PerRow == 0) {
        for (const auto& row : rows) {
            int sum = gap * (static_cast<int>(row.size()) - 1);
            for (int i : row)
                sum += widths[static_cast<std::size_t>(i)];
            const int extra = avail - sum;
            if (extra <= 0) continue;
            const int each = extra / static_cast<int>(row.size());
            int rest = extra % static_cast<int>(row.size());
            for (int i : row) {
                widths[static_cast<std::size_t>(i)] += each + (rest > 0 ? 1 : 0);
                if (rest > 0) --rest;
            }
        }
    }

    // A single row that does not fit shows scroll buttons at its end, and starts late
    // enough for the selected tab to show.
    arrows_ = QRect();
    arrowsAlong_ = len;
    if (!wrap && n > 0) {
        long long total = start;
        for (int w : widths)
            total += w + gap;
        if (total > len) {
            const int size = std::min(rowHeight, 17);
            arrowsAlong_ = len - 2 * size - 1;
            arrows_ = QRect(arrowsAlong_, 0, 2 * size, size);  // its depth follows the rows
            offset_ = std::clamp(offset_, 0, std::max(0, current_));
            long long reach = start;
            for (int i = offset_; i <= current_; ++i)
                reach += widths[static_cast<std::size_t>(i)] + gap;
            for (; offset_ < current_ && reach - gap > arrowsAlong_; ++offset_)
                reach -= widths[static_cast<std::size_t>(offset_)] + gap;
        } else {
            offset_ = 0;
        }
    }

    // The row of the selected tab comes next to the pane; the others follow it
    // outwards in turn.
    const int rowCount = static_cast<int>(rows.size());
    int selectedRow = 0;
    for (int r = 0; r < rowCount; ++r)
        for (int i : rows[static_cast<std::size_t>(r)])
            if (i == current_) selectedRow = r;
    const int rowStep = rowHeight + gap;
    strip_ = n == 0 ? 0 : buttons ? rowCount * rowStep : 2 + rowCount * rowHeight;

    tabs_.assign(static_cast<std::size_t>(n), Tab{});
    for (int r = 0; r < rowCount; ++r) {
        const int position = (r - selectedRow + rowCount) % rowCount;
        const int rowTop =
            buttons ? (rowCount - 1 - position) * rowStep : 2 + (rowCount - 1 - position) * rowHeight;
        int along = start;
        for (int i : rows[static_cast<std::size_t>(r)]) {
            Tab& t = tabs_[static_cast<std::size_t>(i)];
            const int w = widths[static_cast<std::size_t>(i)];
            t.Position = position;
            t.Shown = wrap || i >= offset_;
            if (t.Shown) {
                t.Canonical = QRect(along, rowTop, w, rowHeight);
                along += w + gap;
            }
        }
    }

    if (!arrows_.isEmpty())
        arrows_ = Map(QRect(arrows_.x(), strip_ - arrows_.height() - (buttons ? gap : 0), arrows_.width(),
                            arrows_.height()));

    if (buttons) {
        pane_ = Map(QRect(0, strip_, len, std::max(0, depth - strip_)));
        display_ = pane_;
    } else {
        pane_ = Map(QRect(0, strip_, len, std::max(0, depth - strip_)));
        const int top = n == 0 ? 4 : strip_ + 2;
        display_ = Map(QRect(4, top, std::max(0, len - 8), std::max(0, depth - top - 4)));
    }
}

void TabFrame::PaintTab(QPainter& p, int index) {
    const Tab& t = tabs_[static_cast<std::size_t>(index)];
    const bool selected = index == current_;
    const QRect c = selected ? SelectedRect(t.Canonical) : t.Canonical;
    const QRect r = Map(c);
    switch (options_.Look) {
        case TabLook::Tabs: {
            p.fillRect(r, selected ? ThemePane : ThemeTabFace);
            // The outer side and both ends; the side towards the pane stays open for the
            // selected tab and lies on the pane's border for the others.
            p.fillRect(Map(QRect(c.x(), c.y(), c.width(), 1)), ThemeBorder);
            p.fillRect(Map(QRect(c.x(), c.y(), 1, c.height())), ThemeBorder);
            p.fillRect(Map(QRect(c.right(), c.y(), 1, c.height())), ThemeBorder);
            if (!selected && t.Position > 0)
                p.fillRect(Map(QRect(c.x(), c.bottom(), c.width(), 1)), ThemeBorder);
            break;
        }
        case TabLook::Buttons:
            if (selected) {
                LatchedFace(p, r);
                SunkenEdge(p, r);
            } else {
                p.fillRect(r, ColorOf(clBtnFace));
                RaisedEdge(p, r);
            }
            break;
        case TabLook::FlatButtons: {
            if (selected) {
                LatchedFace(p, r);
                QRect frame = r;
                Frame3D(p, frame, ColorOf(clBtnShadow), ColorOf(clBtnHighlight), 1);
            }
            // A divider in the gap after each button.
            const QRect divider = Map(QRect(c.right() + 2, c.y() + 2, 2, std::max(0, c.height() - 4)));
            if (IsVertical())
                EtchedHLine(p, divider.left(), divider.right(), divider.top());
            else
                EtchedVLine(p, divider.left(), divider.top(), divider.bottom());
            break;
        }
    }
    if (options_.OwnerDraw) return;
    p.save();
    const QImage& image = ImageAt(index);
    p.setFont(options_.Font);
    p.setPen(isEnabled() ? options_.Text : ColorOf(clGrayText));
    const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextHideMnemonic;
    QRect textRect = r;
    if (selected && options_.Look == TabLook::Buttons) textRect.translate(1, 1);
    p.setClipRect(r, Qt::IntersectClip);
    if (IsVertical()) {
        // Text reads upwards on the left side, downwards on the right.
        p.translate(textRect.center());
        p.rotate(options_.Side == TabSide::Left ? -90 : 90);
        const QRect turned(-textRect.height() / 2, -textRect.width() / 2, textRect.height(),
                           textRect.width());
        p.drawText(turned, flags, texts_[index]);
    } else if (!image.isNull()) {
        // The image and the text after it, centred together.
        const int textWidth =
            texts_[index].isEmpty() ? 0 : TextWidth(texts_[index], QFontMetrics(options_.Font));
        const int total = image.width() + (textWidth > 0 ? ImageGap + textWidth : 0);
        const int left = textRect.center().x() - total / 2 + 1;
        DrawListImage(p, QPoint(left, textRect.center().y() - image.height() / 2 + 1), image, isEnabled());
        const QRect after(left + image.width() + ImageGap, textRect.top(), std::max(0, textWidth + 2),
                          textRect.height());
        p.drawText(after, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextHideMnemonic,
                   texts_[index]);
    } else {
        p.drawText(textRect, flags, texts_[index]);
    }
    p.restore();
}

void TabFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!IsButtons()) {
        p.fillRect(pane_, ThemePane);
        QRect border = pane_;
        Frame3D(p, border, ThemeBorder, ThemeBorder, 1);
    }
    p.save();
    if (!arrows_.isEmpty()) {
        // Tabs end where the scroll buttons begin.
        p.setClipRect(Map(QRect(0, 0, arrowsAlong_, strip_ + 1)));
    }
    for (int i = 0; i < Count(); ++i)
        if (i != current_ && tabs_[static_cast<std::size_t>(i)].Shown) PaintTab(p, i);
    if (current_ >= 0 && tabs_[static_cast<std::size_t>(current_)].Shown) PaintTab(p, current_);
    p.restore();
    if (!arrows_.isEmpty()) ScrollButtons(p, arrows_, !IsVertical());
}

TabOptions TabOptionsOf(const rt::Object& control) {
    TabOptions o;
    const std::string position = EnumOf(control, "TabPosition");
    o.Side = position == "tpBottom"  ? TabSide::Bottom
             : position == "tpLeft"  ? TabSide::Left
             : position == "tpRight" ? TabSide::Right
                                     : TabSide::Top;
    const std::string style = EnumOf(control, "Style");
    o.Look = style == "tsButtons"       ? TabLook::Buttons
             : style == "tsFlatButtons" ? TabLook::FlatButtons
                                        : TabLook::Tabs;
    o.MultiLine = BoolOf(control, "MultiLine", false);
    o.RaggedRight = BoolOf(control, "RaggedRight", false);
    o.FixedWidth = IntOf(control, "TabWidth", 0, 0, MaxPixels);
    o.FixedHeight = IntOf(control, "TabHeight", 0, 0, 1000);
    o.Font = ControlFont(control);
    o.Text = ControlFontColor(control);
    o.OwnerDraw = BoolOf(control, "OwnerDraw", false);
    return o;
}

TabFrame* MakeTabFrame(rt::Object& control, QWidget* parent, TabOptions options) {
    auto* frame = new TabFrame(parent, std::move(options));
    ApplyColorsAndFont(*frame, control, false);
    return frame;
}

namespace {

// Gives pages the control's display area when nothing placed them.
void FillEmptyPages(const std::vector<QPointer<QWidget>>& pages, const QRect& area) {
    for (const QPointer<QWidget>& page : pages)
        if (QWidget* w = page.data(); w && w->geometry().isEmpty()) w->setGeometry(area);
}

}  // namespace

// A page control: a tab for each sheet whose TabVisible is set, the active sheet shown.
void FinishPageControl(rt::Object& control, const Realized& self, RealizeContext& context) {
    auto* frame = dynamic_cast<TabFrame*>(self.Widget);
    if (!frame) return;
    QStringList texts;
    std::vector<QPointer<QWidget>> tabPages, allPages;
    // The sheets come in the order they were read: a sheet's PageIndex is not stored.
    const std::vector<rt::Object*> sheets = ChildrenOf(control, "TTabSheet");
    rt::Object* firstTabbed = nullptr;
    const rt::Object* imageList = ObjectOf(control, "Images");
    std::vector<QImage> images;
    for (rt::Object* sheet : sheets) {
        QWidget* widget = context.WidgetOf(*sheet).Widget;
        allPages.emplace_back(widget);
        if (!BoolOf(*sheet, "TabVisible", true)) continue;
        if (!firstTabbed) firstTabbed = sheet;
        texts.push_back(TextOf(*sheet, "Caption"));
        const QImage* image = context.ImageOf(imageList, IntOf(*sheet, "ImageIndex", -1, -1, MaxListImages));
        images.push_back(image ? *image : QImage());
        tabPages.emplace_back(widget);
    }
    frame->SetImages(std::move(images));
    frame->SetTabs(texts);
    frame->SetPages(tabPages, allPages);
    FillEmptyPages(allPages, frame->DisplayRect());
    // The active page, or the first with a tab when the form names none.
    rt::Object* active = ObjectOf(control, "ActivePage");
    if (std::find(sheets.begin(), sheets.end(), active) == sheets.end()) active = firstTabbed;
    frame->ShowPage(active ? context.WidgetOf(*active).Widget : nullptr);
}

// Notebooks: pages without tabs (TNotebook) or with a row of tabs per TabsPerRow pages
// (TTabbedNotebook). The active page is named by ActivePage (a page's caption) or
// given by PageIndex; with neither naming a page, none shows.
void FinishNotebook(rt::Object& control, const Realized& self, RealizeContext& context,
                    std::string_view pageClass) {
    std::vector<QPointer<QWidget>> pages;
    const std::vector<rt::Object*> children = ChildrenOf(control, pageClass);
    QStringList captions;
    for (rt::Object* page : children) {
        pages.emplace_back(context.WidgetOf(*page).Widget);
        captions.push_back(TextOf(*page, "Caption"));
    }
    int active = -1;
    const QString named = TextOf(control, "ActivePage");
    if (!named.isEmpty())
        for (int i = 0; i < static_cast<int>(captions.size()); ++i)
            if (captions[i].compare(named, Qt::CaseInsensitive) == 0) {
                active = i;
                break;
            }
    if (active < 0) {
        const std::int64_t index = OrdinalOf(control, "PageIndex", 0);
        if (index >= 0 && index < static_cast<std::int64_t>(children.size()))
            active = static_cast<int>(index);
    }
    QWidget* shown = active >= 0 ? pages[static_cast<std::size_t>(active)].data() : nullptr;
    if (auto* frame = dynamic_cast<TabFrame*>(self.Widget)) {
        if (children.empty()) captions = LinesOf(control, "Pages");
        frame->SetTabs(captions);
        frame->SetPages(pages, pages);
        FillEmptyPages(pages, frame->DisplayRect());
        frame->ShowPage(shown);
        // Tabs without page objects still show which one PageIndex selects.
        if (children.empty()) frame->SetCurrent(ClampInt(OrdinalOf(control, "PageIndex", 0), -1, MaxPixels));
    } else {
        FillEmptyPages(pages, QRect(QPoint(0, 0), self.Widget->size()));
        for (const QPointer<QWidget>& page : pages)
            if (QWidget* w = page.data()) w->setVisible(w == shown);
        if (shown) shown->raise();
    }
}

// ---------------------------------------------------------------------------------
// Tab sets

Realized MakeTabSet(rt::Object& control, QWidget* parent) {
    auto* set = new Surface(parent);
    ApplyColorsAndFont(*set, control, false);
    const QStringList tabs = LinesOf(control, "Tabs");
    const int selected = IntOf(control, "TabIndex", -1, -1, MaxPixels);
    const QColor background = ColorProperty(control, "BackgroundColor", ColorOf(clBtnFace));
    const QColor selectedColor = ColorProperty(control, "SelectedColor", ColorOf(clBtnFace));
    const QColor unselectedColor = ColorProperty(control, "UnselectedColor", ColorOf(clWindow));
    const bool dither = BoolOf(control, "DitherBackground", true);
    const int edge = IntOf(control, "EdgeWidth", 9, 0, 100);
    const int startMargin = IntOf(control, "StartMargin", 5, 0, MaxPixels);
    const int tabHeight = IntOf(control, "TabHeight", 20, 1, 1000);
    const bool ownerDraw = EnumOf(control, "Style") == "tsOwnerDraw";
    const QFont font = ControlFont(control);
    const QColor text = ControlFontColor(control);
    set->SetPaint([=](QPainter& p, const QRect& whole, const QRect&) {
        p.fillRect(whole, background);
        if (dither) p.fillRect(whole, QBrush(ColorOf(clBtnHighlight), Qt::Dense4Pattern));
        const QFontMetrics fm(font);
        struct Placed {
            QPolygon Outline;
            QRect TextRect;
            int Index;
        };
        std::vector<Placed> placed;
        int x = startMargin;
        const int bottom = std::min(tabHeight, whole.height()) - 1;
        const int limit = whole.width() - 2 * 15;  // room for the scroll buttons
        bool overflow = false;
        for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
            const int w = fm.horizontalAdvance(tabs[i]) + 6;
            const int right = x + 2 * edge + w;
            if (right > whole.width()) {
                overflow = true;
                break;
            }
            QPolygon outline;
            outline << QPoint(x, 0) << QPoint(x + edge, bottom) << QPoint(x + edge + w, bottom)
                    << QPoint(right, 0);
            placed.push_back({outline, QRect(x + edge, 0, w, bottom + 1), i});
            x += edge + w;
        }
        if (overflow) {
            while (!placed.empty() && placed.back().Outline.boundingRect().right() > limit)
                placed.pop_back();
        }
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setFont(font);
        auto draw = [&](const Placed& t) {
            const bool isSelected = t.Index == selected;
            p.setPen(ColorOf(clWindowFrame).darker(300));
            p.setBrush(isSelected ? selectedColor : unselectedColor);
            p.drawPolygon(t.Outline);
            if (isSelected)
                HLine(p, t.Outline.point(0).x() + 1, t.Outline.point(3).x() - 1, 0, selectedColor);
            if (!ownerDraw) {
                p.setPen(text);
                p.drawText(t.TextRect, Qt::AlignCenter | Qt::TextSingleLine, tabs[t.Index]);
            }
        };
        // The line the tabs hang from, then the tabs from last to first so that each
        // overlaps the next, the selected one on top.
        HLine(p, 0, whole.width() - 1, 0, ColorOf(clWindowFrame).darker(300));
        for (auto it = placed.rbegin(); it != placed.rend(); ++it)
            if (it->Index != selected) draw(*it);
        for (const Placed& t : placed)
            if (t.Index == selected) draw(t);
        if (overflow)
            ScrollButtons(p, QRect(whole.width() - 30, 1, 30, std::min(15, whole.height() - 1)), true);
    });
    return {set, nullptr};
}

}  // namespace fw::preview::containers
