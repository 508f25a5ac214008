// Scroll bars, group boxes and radio groups, spin controls and the data navigator, as
// a Windows 10 desktop shows them at run time.

#include "preview/standard_parts.h"

namespace fw::preview::standard {

namespace {

// A group box; without ShowFrame only its caption is drawn. The frame's top runs
// through the middle of the caption's line, where Windows keeps it also when there is
// no caption.
class FrameBox : public QGroupBox {
public:
    explicit FrameBox(QWidget* parent) : QGroupBox(parent) {}
    void SetShowFrame(bool show) { showFrame_ = show; }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (showFrame_ && !title().isEmpty()) {
            QGroupBox::paintEvent(event);
            return;
        }
        QPainter p(this);
        if (showFrame_) {
            QStyleOptionFrame frame;
            frame.initFrom(this);
            frame.rect = rect().adjusted(0, QFontMetrics(font()).height() / 2, 0, 0);
            if (frame.rect.width() < 2 || frame.rect.height() < 2) return;
            frame.lineWidth = 1;
            frame.midLineWidth = 0;
            style()->drawPrimitive(QStyle::PE_FrameGroupBox, &frame, &p, this);
            return;
        }
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_GroupBoxLabel;
        style()->drawComplexControl(QStyle::CC_GroupBox, &option, &p, this);
    }

private:
    bool showFrame_ = true;
};

// A radio group: a group box whose items are radio buttons in columns, filled top to
// bottom and then left to right. The buttons share the height under the caption
// evenly and each column the width inside the frame.
class RadioGroupBox : public FrameBox, public Arranged {
public:
    RadioGroupBox(int columns, QFont itemFont, QWidget* parent)
        : FrameBox(parent), columns_(std::clamp(columns, 1, 16)), itemFont_(std::move(itemFont)) {}
    void AddButton(RadioMarkButton* button) { buttons_.push_back(button); }

    void Arrange() override {
        if (buttons_.empty()) return;
        const int count = static_cast<int>(buttons_.size());
        const int perColumn = (count + columns_ - 1) / columns_;
        const int textHeight = QFontMetrics(itemFont_).height();
        const int buttonWidth = (width() - 10) / columns_;
        const int room = height() - textHeight - 5;
        const int buttonHeight = room / perColumn;
        const int topMargin = textHeight + 1 + (room % perColumn) / 2;
        for (int i = 0; i < count; ++i)
            buttons_[static_cast<std::size_t>(i)]->setGeometry(
                (i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin,
                std::max(0, buttonWidth), std::max(0, buttonHeight));
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        FrameBox::resizeEvent(event);
        Arrange();
    }

private:
    int columns_;
    QFont itemFont_;
    std::vector<RadioMarkButton*> buttons_;
};

// The two arrow buttons of a spin button, the upper half and the lower half.
class SpinButtons : public QWidget {
public:
    SpinButtons(QImage up, QImage down, QWidget* parent)
        : QWidget(parent), up_(std::move(up)), down_(std::move(down)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int half = height() / 2;
        PaintHalf(p, QRect(0, 0, width(), half), up_, QStyle::PE_IndicatorArrowUp);
        PaintHalf(p, QRect(0, half, width(), height() - half), down_, QStyle::PE_IndicatorArrowDown);
    }

private:
    void PaintHalf(QPainter& p, const QRect& area, const QImage& glyph, QStyle::PrimitiveElement arrow) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = area;
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        option.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &p, this);
        if (!glyph.isNull()) {
            const QImage shown = isEnabled() ? glyph : EtchedGlyph(glyph);
            p.drawImage(area.left() + (area.width() - shown.width()) / 2,
                        area.top() + (area.height() - shown.height()) / 2, shown);
            return;
        }
        QStyleOption arrowOption = option;
        const int side = std::max(1, std::min({area.width() - 4, area.height() - 2, 9}));
        arrowOption.rect = QRect(area.left() + (area.width() - side) / 2,
                                 area.top() + (area.height() - side) / 2, side, side);
        style()->drawPrimitive(arrow, &arrowOption, &p, this);
    }

    QImage up_, down_;
};

}  // namespace

// ---------------------------------------------------------------------------------
// Bars, boxes, spin controls, the navigator

Realized MakeScrollBar(rt::Object& control, QWidget* parent) {
    const bool vertical = EnumOf(control, "Kind") == "sbVertical";
    auto* bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, parent);
    ApplyColorsAndFont(*bar, control, false);
    std::int64_t min = ClampInt(OrdinalOf(control, "Min"));
    std::int64_t max = std::max<std::int64_t>(min, ClampInt(OrdinalOf(control, "Max", 100)));
    std::int64_t page = std::max(0, ClampInt(OrdinalOf(control, "PageSize")));
    std::int64_t position = std::clamp<std::int64_t>(OrdinalOf(control, "Position"), min, max);
    // The thumb covers a page, so the position goes up to Max - PageSize + 1.
    if (page > 0) max = std::max(min, max - page + 1);
    position = std::min(position, max);
    // Qt's scroll bar computes in int and fails on a span near the int range (Windows
    // takes any): a huge span is scaled down, which keeps the thumb's size and place.
    constexpr std::int64_t Room = 1 << 20;
    const std::int64_t total = max - min + page;
    if (total > Room) {
        const double scale = static_cast<double>(total) / static_cast<double>(Room);
        auto scaled = [&](std::int64_t v) {
            return static_cast<std::int64_t>(static_cast<double>(v) / scale);
        };
        position = scaled(position - min);
        max = scaled(max - min);
        page = scaled(page);
        min = 0;
    }
    bar->setRange(static_cast<int>(min), static_cast<int>(max));
    bar->setPageStep(static_cast<int>(page));
    bar->setValue(static_cast<int>(position));
    return {bar, nullptr};
}

namespace {

FrameBox* SetUpFrameBox(FrameBox* box, rt::Object& control) {
    ApplyColorsAndFont(*box, control, OwnBackground(control));
    box->setTitle(QtCaption(TextOf(control, "Caption")));
    box->SetShowFrame(BoolOf(control, "ShowFrame", true));
    // The caption may have a font of its own; the children get their fonts themselves.
    if (!BoolOf(control, "DefaultHeaderFont", true)) {
        if (const rt::Object* header = ObjectOf(control, "HeaderFont")) box->setFont(FontOf(header));
    }
    return box;
}

}  // namespace

Realized MakeGroupBox(rt::Object& control, QWidget* parent) {
    FrameBox* box = SetUpFrameBox(new FrameBox(parent), control);
    return {box, box};
}

Realized MakeRadioGroup(rt::Object& control, QWidget* parent) {
    const QFont itemFont = ControlFont(control);
    auto* box = new RadioGroupBox(ClampInt(OrdinalOf(control, "Columns", 1)), itemFont, parent);
    SetUpFrameBox(box, control);
    const bool data = rt::EqualsIgnoringCase(control.ClassName(), "TDBRadioGroup");
    // A data-aware radio group checks the item of its field's value, and there is none.
    const std::int64_t index = data ? -1 : OrdinalOf(control, "ItemIndex", -1);
    const bool wordWrap = BoolOf(control, "WordWrap");
    const QStringList items = LinesOf(control, "Items");
    for (qsizetype i = 0; i < items.size() && static_cast<std::size_t>(i) < MaxRadioItems; ++i) {
        auto* button = new RadioMarkButton(box);
        button->setFont(itemFont);
        WhiteIndicators(*button);
        button->SetCaption(items[i], false, wordWrap);
        button->setAutoExclusive(false);
        button->setChecked(i == index);
        box->AddButton(button);
    }
    return {box, box};
}

Realized MakeSpinEdit(rt::Object& control, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    ApplyColorsAndFont(*spin, control, true);
    const std::int64_t min = OrdinalOf(control, "MinValue"), max = OrdinalOf(control, "MaxValue");
    // Equal bounds mean no bounds.
    if (min == max || min > max)
        spin->setRange(INT_MIN, INT_MAX);
    else
        spin->setRange(ClampInt(min), ClampInt(max));
    spin->setSingleStep(std::max(1, ClampInt(OrdinalOf(control, "Increment", 1))));
    spin->setValue(ClampInt(OrdinalOf(control, "Value")));
    if (QLineEdit* edit = spin->findChild<QLineEdit*>()) edit->setCursorPosition(0);
    return {spin, nullptr};
}

Realized MakeSpinButton(rt::Object& control, QWidget* parent) {
    const QImage up = GlyphCell(GlyphStrip(control, "UpGlyph"), OrdinalOf(control, "UpNumGlyphs", 1), 0);
    const QImage down =
        GlyphCell(GlyphStrip(control, "DownGlyph"), OrdinalOf(control, "DownNumGlyphs", 1), 0);
    auto* buttons = new SpinButtons(up, down, parent);
    ApplyColorsAndFont(*buttons, control, false);
    return {buttons, nullptr};
}

namespace {

// A data navigator: its visible buttons side by side (or stacked), sharing its length.
class NavigatorBar : public QWidget, public Arranged {
public:
    NavigatorBar(bool vertical, QWidget* parent) : QWidget(parent), vertical_(vertical) {}
    void AddButton(GlyphButton* button) { buttons_.push_back(button); }

    void Arrange() override {
        if (buttons_.empty()) return;
        const int count = static_cast<int>(buttons_.size());
        const int length = vertical_ ? height() : width();
        const int each = length / count;
        int extra = length - each * count;
        int at = 0;
        for (GlyphButton* button : buttons_) {
            const int size = each + (extra > 0 ? 1 : 0);
            if (extra > 0) --extra;
            if (vertical_)
                button->setGeometry(0, at, width(), size);
            else
                button->setGeometry(at, 0, size, height());
            at += size;
        }
    }

protected:
    void resizeEvent(QResizeEvent*) override { Arrange(); }

private:
    bool vertical_;
    std::vector<GlyphButton*> buttons_;
};

}  // namespace

Realized MakeNavigator(rt::Object& control, QWidget* parent) {
    auto* bar = new NavigatorBar(EnumOf(control, "Kind") == "dbnVertical", parent);
    ApplyColorsAndFont(*bar, control, false);
    // Without an open dataset every button is disabled. An open one starts at its first
    // record: nothing before it, nothing being edited.
    bool open = false;
    if (const rt::Object* source = ObjectOf(control, "DataSource"))
        if (const rt::Object* dataset = ObjectOf(*source, "DataSet")) open = BoolOf(*dataset, "Active");
    const bool flat = BoolOf(control, "Flat");
    for (std::size_t i = 0; i < NavigatorButtons.size(); ++i) {
        if (!HasElement(control, "VisibleButtons", NavigatorButtons[i])) continue;
        auto* button = new GlyphButton(bar);
        button->SetFace(flat ? GlyphButton::Face::FlatSpeed : GlyphButton::Face::Speed, false);
        button->SetGlyphs(NavigatorGlyph(i), {}, {});
        const bool enabled = open && (i == 2 || i == 3 || i == 4 || i == 5 || i == 6 || i == 9);
        button->setEnabled(enabled);
        bar->AddButton(button);
    }
    return {bar, nullptr};
}

}  // namespace fw::preview::standard
