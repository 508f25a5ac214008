#pragma once
// What the standard factory's files share: limits, text and palette helpers, stock
// glyphs, the widgets more than one family uses, and the makers the factory's row table
// calls. Private to the standard factory's files.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOption>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "preview/classrows.h"
#include "preview/controlfactory.h"
#include "preview/controlvalues.h"
#include "preview/imagelists.h"
#include "preview/vcllook.h"
#include "runtime/registry.h"

namespace fw::preview::standard {

// Lists never get more rows than this, whatever the form holds: a list box of a
// million lines would only stall the preview, and nobody scrolls that far in it.
inline constexpr std::size_t MaxItems = 10000;

// Radio groups make one widget per item; past this many each would be thinner than a
// pixel anyway.
inline constexpr std::size_t MaxRadioItems = 1000;

// A widget of the preview takes no keyboard focus from the editor and offers no menu
// of its own (a line edit's would paste into the preview); the right button goes to
// the window that holds the preview.
void Quiet(QWidget* widget);

// Text with Windows line breaks as Qt reads them.
QString UnixLines(QString text);

// Text broken into lines of at most width pixels as Windows breaks words: at spaces
// only, the space at a break dropped, and a word wider than the line on a line of its
// own (cut off at the edge).
QString WrapWords(const QString& text, const QFontMetrics& metrics, int width);
void SortLikeWindows(QStringList& items);
QString ApplyCharCase(const rt::Object& control, const QString& text);

// A list's selection keeps its highlight colour when the preview does not have the
// focus, as a Windows list box keeps it.
void KeepSelectionColors(QWidget& widget);

// Check and radio boxes are white whatever colour the control has.
void WhiteIndicators(QWidget& widget);

// Check boxes, radio buttons and group boxes are drawn over their parent's background
// with themes; one with a colour of its own (and, where the class has the choice, not
// told to show its parent's background, which a stored colour overrides) fills it.
bool OwnBackground(const rt::Object& control);
QImage EmptyGlyph(int width, int height);

// The cell of a glyph strip: NumGlyphs images side by side, 0 the normal look, 1 the
// disabled one, 2 the pressed one, 3 the down one. A cell the strip does not have is
// null.
QImage GlyphCell(const QImage& strip, std::int64_t numGlyphs, int cell);

// The look Windows gives a glyph with no disabled image of its own: its dark pixels
// etched into the button face, a highlight below and right of a shadow.
QImage EtchedGlyph(const QImage& glyph);
QPen GlyphPen(const QColor& color, qreal width);
void DrawCheckMark(QPainter& p, const QColor& color, QPointF at, qreal scale = 1.0);
void DrawCircularArrow(QPainter& p, const QColor& color, const QRectF& box, qreal width);

// The stock glyph of a bitmap button kind, drawn here: a green check for OK and Yes, a
// red cross for Cancel, and so on, 18 by 18 pixels as the stock bitmaps are.
QImage StockGlyph(std::string_view kind);

// The glyphs of a data navigator's buttons, in the order of its button set.
inline constexpr std::array<std::string_view, 12> NavigatorButtons = {
    "nbFirst", "nbPrior", "nbNext",   "nbLast",    "nbInsert",       "nbDelete",
    "nbEdit",  "nbPost",  "nbCancel", "nbRefresh", "nbApplyUpdates", "nbCancelUpdates"};

QImage NavigatorGlyph(std::size_t button);

// Small pictures of the file-system boxes.
QImage DocumentIcon();
QImage FolderIcon(bool open);
QImage DriveIcon();
QImage ColorSwatch(const QColor& color, int size);

// A widget that lays out its own parts from its size: on every resize, and once when
// the realiser has given it its bounds (a widget not yet shown gets its resize event
// only when it is shown).
class Arranged {
public:
    virtual ~Arranged() = default;
    virtual void Arrange() = 0;
};

// How static text looks: a label, a static text control, the label of a labeled edit.
struct TextLook {
    enum class Border { None, Single, Sunken };
    QString Text;
    Qt::Alignment Horizontal = Qt::AlignLeft;
    Qt::Alignment Vertical = Qt::AlignTop;
    bool WordWrap = false;
    bool ShowAccelChar = true;
    bool Transparent = false;
    Qt::TextElideMode Elide = Qt::ElideNone;
    Border Frame = Border::None;

    // The text as the user reads it.
    QString Shown() const { return UnixLines(ShowAccelChar ? ShownCaption(Text) : Text); }
};

void PaintStaticText(QPainter& p, QRect area, const TextLook& look, const QString& shown, const QFont& font,
                     const QColor& back, const QColor& text, bool enabled);

// Static text with a window of its own: a static text control, the label of a labeled
// edit. The QLabel holds the text as shown (for tests and accessibility); the painting
// is the control's own.
class TextLabel : public QLabel {
public:
    using Border = TextLook::Border;
    using Look = TextLook;

    TextLabel(Look look, QWidget* parent) : QLabel(parent), look_(std::move(look)) {
        setTextFormat(Qt::PlainText);
        setText(look_.Shown());
        setAlignment(look_.Horizontal | look_.Vertical);
        setWordWrap(look_.WordWrap);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        PaintStaticText(p, rect(), look_, text(), font(), palette().window().color(),
                        palette().color(QPalette::Active, QPalette::WindowText), isEnabled());
    }

private:
    Look look_;
};

// An edit box; with Ctl3D off Windows gives it a thin plain border instead of the
// sunken one.
class EditBox : public QLineEdit {
public:
    explicit EditBox(QWidget* parent) : QLineEdit(parent) {}
    void SetFlatBorder() {
        flat_ = true;
        setFrame(false);
        setTextMargins(2, 1, 1, 1);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QLineEdit::paintEvent(event);
        if (!flat_) return;
        QPainter p(this);
        p.setPen(ColorOf(clWindowFrame));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    bool flat_ = false;
};

enum class GlyphLayout { Left, Right, Top, Bottom };

struct GlyphAndText {
    QPoint Glyph;
    QRect Text;
};

GlyphAndText PlaceGlyphAndText(const QRect& client, QSize glyph, QSize text, GlyphLayout layout, int margin,
                               int spacing);

// A push, bitmap or speed button: the bevel from the style, the glyph and the caption
// placed as the control places them.
class GlyphButton : public QPushButton {
public:
    enum class Face { Push, Speed, FlatSpeed };

    explicit GlyphButton(QWidget* parent) : QPushButton(parent) {}

    void SetCaption(const QString& caption, bool wordWrap) {
        setText(QtCaption(caption));
        shown_ = ShownCaption(caption);
        wordWrap_ = wordWrap;
    }
    void SetGlyphs(QImage normal, QImage disabled, QImage down) {
        glyph_ = std::move(normal);
        disabledGlyph_ = disabled.isNull() ? EtchedGlyph(glyph_) : std::move(disabled);
        downGlyph_ = std::move(down);
        // The icon is not drawn (paintEvent places the glyph); it tells what is shown.
        setIcon(glyph_.isNull() ? QIcon() : QIcon(QPixmap::fromImage(glyph_)));
    }
    void SetPlacement(GlyphLayout layout, int margin, int spacing) {
        // Gaps beyond any screen are cut to keep the arithmetic in range.
        layout_ = layout;
        margin_ = std::clamp(margin, -100000, 100000);
        spacing_ = std::clamp(spacing, -100000, 100000);
    }
    void SetFace(Face face, bool down) {
        face_ = face;
        setCheckable(down);
        setChecked(down);
        setFlat(face == Face::FlatSpeed);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        const bool down = isChecked();
        switch (face_) {
            case Face::Push:
                style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
                break;
            case Face::Speed:
                option.state &= ~QStyle::State_Raised;
                option.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
                style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &p, this);
                break;
            case Face::FlatSpeed:
                // A flat speed button shows no frame until it is down.
                if (down) {
                    option.state |= QStyle::State_Sunken | QStyle::State_On;
                    style()->drawPrimitive(QStyle::PE_PanelButtonTool, &option, &p, this);
                }
                break;
        }
        QImage glyph = glyph_;
        if (!isEnabled())
            glyph = disabledGlyph_;
        else if (down && !downGlyph_.isNull())
            glyph = downGlyph_;

        const QRect client = rect().adjusted(1, 1, -1, -1);
        const QFontMetrics metrics(font());
        QSize textSize(0, 0);
        const int textFlags = Qt::AlignCenter | Qt::TextExpandTabs;
        QString text = UnixLines(shown_);
        if (!text.isEmpty()) {
            if (wordWrap_)
                text = WrapWords(text, metrics,
                                 std::max(1, client.width() - 4 - (glyph.isNull() ? 0 : glyph.width())));
            textSize = metrics.size(Qt::TextExpandTabs, text);
        }
        const QSize glyphSize = glyph.isNull() ? QSize(0, 0) : glyph.size();
        const GlyphAndText place = PlaceGlyphAndText(client, glyphSize, textSize, layout_, margin_, spacing_);
        if (!glyph.isNull()) p.drawImage(place.Glyph, glyph);
        if (!text.isEmpty()) {
            p.setFont(font());
            p.setPen(isEnabled() ? palette().color(QPalette::Active, QPalette::ButtonText)
                                 : ColorOf(clGrayText));
            p.drawText(place.Text, textFlags, text);
        }
    }

private:
    QString shown_;
    bool wordWrap_ = false;
    QImage glyph_, disabledGlyph_, downGlyph_;
    GlyphLayout layout_ = GlyphLayout::Left;
    int margin_ = -1;
    int spacing_ = 4;
    Face face_ = Face::Push;
};

// Where a check or radio box puts its 13-pixel box and its caption: the box at the left
// and the caption after it, or with the caption left-justified the box at the right.
struct MarkAndText {
    QRect Mark;
    QRect Text;
};

inline constexpr int MarkSize = 13;
MarkAndText PlaceMark(const QRect& area, bool textLeft);

void PaintMarkText(QPainter& p, const QWidget& widget, const QRect& area, const QString& shown,
                   bool wordWrap);

// A check box or radio button: the style's box, the caption beside it as Windows
// places it.
template <typename Button, QStyle::PrimitiveElement Indicator>
class MarkButton : public Button {
public:
    explicit MarkButton(QWidget* parent) : Button(parent) {}
    void SetCaption(const QString& caption, bool textLeft, bool wordWrap) {
        this->setText(QtCaption(caption));
        shown_ = ShownCaption(caption);
        textLeft_ = textLeft;
        wordWrap_ = wordWrap;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const MarkAndText place = PlaceMark(this->rect(), textLeft_);
        QStyleOptionButton option;
        this->initStyleOption(&option);
        option.rect = place.Mark;
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        this->style()->drawPrimitive(Indicator, &option, &p, this);
        PaintMarkText(p, *this, place.Text, shown_, wordWrap_);
    }

private:
    QString shown_;
    bool textLeft_ = false;
    bool wordWrap_ = false;
};

using RadioMarkButton = MarkButton<QRadioButton, QStyle::PE_IndicatorRadioButton>;

// Labels and static text (factory_labels.cpp).
TextLabel::Look LabelLook(const rt::Object& control, QString text);
std::unique_ptr<DrawnControl> DrawLabel(const rt::Object& control);
Realized MakeStaticText(rt::Object& control, QWidget* parent);

// Edits, the hot-key box, labeled edits and memos (factory_edits.cpp).
Realized MakeEdit(rt::Object& control, QWidget* parent);
Realized MakeHotKey(rt::Object& control, QWidget* parent);
Realized MakeLabeledEdit(rt::Object& control, QWidget* parent);
void AttachBoundLabel(rt::Object& control, QWidget* edit);
Realized MakeMemo(rt::Object& control, QWidget* parent);

// Buttons, check boxes and radio buttons (factory_buttons.cpp).
Realized MakeButton(rt::Object& control, QWidget* parent);
QImage GlyphStrip(const rt::Object& control, std::string_view property);
Realized MakeBitBtn(rt::Object& control, QWidget* parent);
Realized MakeSpeedButton(rt::Object& control, QWidget* parent);
// Gives a button made above the image its ImageIndex names in its Images (buttons, bitmap
// and speed buttons that have them), with DisabledImageIndex and PressedImageIndex for
// those states; a push button places it by ImageAlignment. Nothing without a list or an
// image there.
void ShowButtonImage(const rt::Object& control, QWidget* widget, RealizeContext& context);
Realized MakeCheckBox(rt::Object& control, QWidget* parent);
Realized MakeRadioButton(rt::Object& control, QWidget* parent);

// List and combo boxes (factory_lists.cpp).
Realized MakeListBox(rt::Object& control, QWidget* parent);
Realized MakeEmptyList(rt::Object& control, QWidget* parent);
Realized MakeFileListBox(rt::Object& control, QWidget* parent);
Realized MakeDirectoryListBox(rt::Object& control, QWidget* parent);
Realized MakeComboBox(rt::Object& control, QWidget* parent);
Realized MakeComboBoxEx(rt::Object& control, QWidget* parent);
Realized MakeColorBox(rt::Object& control, QWidget* parent);
Realized MakeDriveComboBox(rt::Object& control, QWidget* parent);
Realized MakeFilterComboBox(rt::Object& control, QWidget* parent);
Realized MakeShellComboBox(rt::Object& control, QWidget* parent);
Realized MakeLookupCombo(rt::Object& control, QWidget* parent);

// Scroll bars, group boxes, spin controls and the navigator (factory_boxes.cpp).
Realized MakeScrollBar(rt::Object& control, QWidget* parent);
Realized MakeGroupBox(rt::Object& control, QWidget* parent);
Realized MakeRadioGroup(rt::Object& control, QWidget* parent);
Realized MakeSpinEdit(rt::Object& control, QWidget* parent);
Realized MakeSpinButton(rt::Object& control, QWidget* parent);
Realized MakeNavigator(rt::Object& control, QWidget* parent);

}  // namespace fw::preview::standard
