// Edits, masked edits, the hot-key box, labeled edits and memos, with their data-aware
// look-alikes, as a Windows 10 desktop shows them at run time.

#include "preview/standard_parts.h"

namespace fw::preview::standard {

namespace {

// Keeps the label of a labeled edit beside the edit: the label is a control of the
// edit's parent at run time, outside the edit's bounds, so it is a sibling widget that
// follows the edit's place, visibility and enabled state.
class BoundLabelFollower : public QObject {
public:
    BoundLabelFollower(QWidget* edit, QWidget* label, std::string position, int spacing)
        : QObject(edit),
          edit_(edit),
          label_(label),
          position_(std::move(position)),
          spacing_(std::clamp(spacing, -100000, 100000)) {
        edit->installEventFilter(this);
        Follow();
    }
    ~BoundLabelFollower() override {
        if (label_) label_->deleteLater();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == edit_) {
            switch (event->type()) {
                case QEvent::Move:
                case QEvent::Resize:
                case QEvent::Show:
                case QEvent::Hide:
                case QEvent::EnabledChange:
                    Follow();
                    break;
                default:
                    break;
            }
        }
        return false;
    }

private:
    void Follow() {
        QWidget* edit = edit_.data();
        QWidget* label = label_.data();
        if (!label || !edit) return;
        const QRect e = edit->geometry();
        const QSize s = label->size();
        QPoint at(e.left(), e.top() - s.height() - spacing_);
        if (position_ == "lpBelow")
            at = QPoint(e.left(), e.bottom() + 1 + spacing_);
        else if (position_ == "lpLeft")
            at = QPoint(e.left() - s.width() - spacing_, e.top() + (e.height() - s.height()) / 2);
        else if (position_ == "lpRight")
            at = QPoint(e.right() + 1 + spacing_, e.top() + (e.height() - s.height()) / 2);
        label->move(at);
        label->setVisible(!edit->isHidden());
        label->setEnabled(edit->isEnabled());
    }

    QPointer<QWidget> edit_;
    QPointer<QWidget> label_;
    std::string position_;
    int spacing_;
};

struct MaskParts {
    QString Mask;
    bool SaveLiterals = true;
    QChar Blank = QLatin1Char('_');
};

// An edit mask is "mask;save literals;blank": the last two fields are one character
// each and may be left out.
MaskParts SplitEditMask(const QString& editMask) {
    MaskParts parts;
    parts.Mask = editMask;
    const qsizetype n = editMask.size();
    if (n >= 2 && editMask[n - 2] == QLatin1Char(';')) {
        parts.Blank = editMask[n - 1];
        parts.Mask = editMask.left(n - 2);
        const qsizetype m = parts.Mask.size();
        if (m >= 2 && parts.Mask[m - 2] == QLatin1Char(';')) {
            parts.SaveLiterals = parts.Mask[m - 1] != QLatin1Char('0');
            parts.Mask = parts.Mask.left(m - 2);
        }
    }
    return parts;
}

// The text a masked edit shows: the mask's literals in place, the text's characters in
// the places for characters, and the blank character where the text has none. When
// the mask keeps its literals the text is written with them, position by position.
QString MaskedText(const QString& editMask, const QString& text) {
    const MaskParts parts = SplitEditMask(editMask);
    if (parts.Mask.isEmpty()) return text;
    static const QString placeholders = QStringLiteral("LlAaCc09#");
    QString shown;
    qsizetype next = 0;  // the next character of text
    int caseMode = 0;    // 1 upper, -1 lower
    for (qsizetype i = 0; i < parts.Mask.size(); ++i) {
        const QChar m = parts.Mask[i];
        if (m == QLatin1Char('>')) {
            if (i + 1 < parts.Mask.size() && parts.Mask[i + 1] == QLatin1Char('<')) {
                caseMode = 0;
                ++i;
            } else {
                caseMode = 1;
            }
            continue;
        }
        if (m == QLatin1Char('<')) {
            caseMode = -1;
            continue;
        }
        if (m == QLatin1Char('!')) continue;
        if (placeholders.contains(m)) {
            QChar c = next < text.size() ? text[next] : parts.Blank;
            ++next;
            if (c == QLatin1Char(' ') && parts.SaveLiterals) c = parts.Blank;
            if (caseMode > 0)
                c = c.toUpper();
            else if (caseMode < 0)
                c = c.toLower();
            shown += c;
            continue;
        }
        QChar literal = m;
        if (m == QLatin1Char('\\') && i + 1 < parts.Mask.size())
            literal = parts.Mask[++i];
        else if (m == QLatin1Char('_'))
            literal = QLatin1Char(' ');
        shown += literal;
        // A text saved with the literals has them at their places too.
        if (parts.SaveLiterals && next < text.size()) ++next;
    }
    return shown;
}

EditBox* MakeEditBox(rt::Object& control, QWidget* parent, QString text) {
    auto* edit = new EditBox(parent);
    ApplyColorsAndFont(*edit, control, true);
    edit->setAlignment(HorizontalAlignment(EnumOf(control, "Alignment")) | Qt::AlignVCenter);
    if (EnumOf(control, "BorderStyle") == "bsNone")
        edit->setFrame(false);
    else if (!BoolOf(control, "Ctl3D", true))
        edit->SetFlatBorder();
    text = ApplyCharCase(control, text);
    const std::int64_t password = OrdinalOf(control, "PasswordChar");
    if (password > 0 && password <= 0xFFFF)
        text = QString(text.size(), QChar(static_cast<char16_t>(password)));
    edit->setText(text);
    edit->setPlaceholderText(TextOf(control, "TextHint"));
    // An edit without the focus shows the start of its text.
    edit->setCursorPosition(0);
    return edit;
}

}  // namespace

Realized MakeEdit(rt::Object& control, QWidget* parent) {
    const std::string_view cls = control.ClassName();
    QString text;
    if (rt::EqualsIgnoringCase(cls, "TMaskEdit"))
        text = MaskedText(TextOf(control, "EditMask"), TextOf(control, "Text"));
    else if (!rt::EqualsIgnoringCase(cls, "TDBEdit"))
        text = UnixLines(TextOf(control, "Text"));
    return {MakeEditBox(control, parent, text), nullptr};
}

namespace {

// The name a Windows hot-key box gives a virtual key.
QString KeyName(int key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return QString(QChar(key));
    if (key >= 0x70 && key <= 0x87) return QStringLiteral("F%1").arg(key - 0x6F);
    if (key >= 0x60 && key <= 0x69) return QStringLiteral("Num %1").arg(key - 0x60);
    switch (key) {
        case 0x08:
            return QStringLiteral("Backspace");
        case 0x09:
            return QStringLiteral("Tab");
        case 0x0D:
            return QStringLiteral("Enter");
        case 0x13:
            return QStringLiteral("Pause");
        case 0x14:
            return QStringLiteral("Caps Lock");
        case 0x1B:
            return QStringLiteral("Esc");
        case 0x20:
            return QStringLiteral("Space");
        case 0x21:
            return QStringLiteral("Page Up");
        case 0x22:
            return QStringLiteral("Page Down");
        case 0x23:
            return QStringLiteral("End");
        case 0x24:
            return QStringLiteral("Home");
        case 0x25:
            return QStringLiteral("Left");
        case 0x26:
            return QStringLiteral("Up");
        case 0x27:
            return QStringLiteral("Right");
        case 0x28:
            return QStringLiteral("Down");
        case 0x2C:
            return QStringLiteral("Print Screen");
        case 0x2D:
            return QStringLiteral("Insert");
        case 0x2E:
            return QStringLiteral("Delete");
        case 0x6A:
            return QStringLiteral("Num *");
        case 0x6B:
            return QStringLiteral("Num +");
        case 0x6D:
            return QStringLiteral("Num -");
        case 0x6E:
            return QStringLiteral("Num Del");
        case 0x6F:
            return QStringLiteral("Num /");
        case 0x90:
            return QStringLiteral("Num Lock");
        case 0x91:
            return QStringLiteral("Scroll Lock");
        case 0xBA:
            return QStringLiteral(";");
        case 0xBB:
            return QStringLiteral("=");
        case 0xBC:
            return QStringLiteral(",");
        case 0xBD:
            return QStringLiteral("-");
        case 0xBE:
            return QStringLiteral(".");
        case 0xBF:
            return QStringLiteral("/");
        case 0xC0:
            return QStringLiteral("`");
        case 0xDB:
            return QStringLiteral("[");
        case 0xDC:
            return QStringLiteral("\\");
        case 0xDD:
            return QStringLiteral("]");
        case 0xDE:
            return QStringLiteral("'");
        default:
            return {};
    }
}

// A shortcut as a hot-key box shows it: "Ctrl + Shift + Alt + key", "None" for none.
QString HotKeyText(std::int64_t shortcut) {
    const int key = static_cast<int>(shortcut & 0xFF);
    QStringList parts;
    if (shortcut & 0x4000) parts << QStringLiteral("Ctrl");
    if (shortcut & 0x2000) parts << QStringLiteral("Shift");
    if (shortcut & 0x8000) parts << QStringLiteral("Alt");
    if (parts.isEmpty() && key == 0) return QStringLiteral("None");
    parts << KeyName(key);
    return parts.join(QStringLiteral(" + "));
}

}  // namespace

Realized MakeHotKey(rt::Object& control, QWidget* parent) {
    EditBox* edit = MakeEditBox(control, parent, HotKeyText(OrdinalOf(control, "HotKey")));
    // The box has no colour of its own to write: it is a window's colour.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, ColorOf(clWindow));
    edit->setPalette(palette);
    return {edit, nullptr};
}

Realized MakeLabeledEdit(rt::Object& control, QWidget* parent) {
    return {MakeEditBox(control, parent, UnixLines(TextOf(control, "Text"))), nullptr};
}

// The label of a labeled edit, made once the edit has its place.
void AttachBoundLabel(rt::Object& control, QWidget* edit) {
    rt::Object* bound = ObjectOf(control, "EditLabel");
    QWidget* parent = edit->parentWidget();
    if (!bound || !parent) return;
    auto* label = new TextLabel(LabelLook(*bound, TextOf(*bound, "Caption")), parent);
    // The label is a control of the edit's parent and takes that parent's colour and
    // font, unless it has its own.
    const rt::Object* owner = control.Parent();
    QPalette palette = label->palette();
    QFont font = owner ? ControlFont(*owner) : FontOf(nullptr);
    QColor text = owner ? ControlFontColor(*owner) : FontColorOf(nullptr);
    if (!BoolOf(*bound, "ParentFont", true)) {
        font = FontOf(ObjectOf(*bound, "Font"));
        text = FontColorOf(ObjectOf(*bound, "Font"));
    }
    QColor back = owner ? ControlColor(*owner) : ColorOf(clBtnFace);
    if (!BoolOf(*bound, "ParentColor", true)) {
        const QColor own = ColorOf(OrdinalOf(*bound, "Color", clBtnFace));
        if (own.isValid()) back = own;
    }
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
    label->setFont(font);
    // The label keeps the size it was given; a label without one is as large as its text.
    QSize size(ClampInt(OrdinalOf(*bound, "Width")), ClampInt(OrdinalOf(*bound, "Height")));
    if (size.width() <= 0 || size.height() <= 0) {
        const QSize measured = QFontMetrics(font).size(Qt::TextExpandTabs, label->text());
        if (size.width() <= 0) size.setWidth(measured.width());
        if (size.height() <= 0) size.setHeight(measured.height());
    }
    label->resize(std::clamp(size.width(), 0, 100000), std::clamp(size.height(), 0, 100000));
    Quiet(label);
    new BoundLabelFollower(edit, label, EnumOf(control, "LabelPosition"),
                           ClampInt(OrdinalOf(control, "LabelSpacing", 3)));
}

Realized MakeMemo(rt::Object& control, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    ApplyColorsAndFont(*memo, control, true);
    if (!rt::EqualsIgnoringCase(control.ClassName(), "TDBMemo")) {
        QStringList lines = LinesOf(control, "Lines");
        memo->setPlainText(ApplyCharCase(control, lines.join(QLatin1Char('\n'))));
    }
    memo->setPlaceholderText(TextOf(control, "TextHint"));
    memo->setLineWrapMode(BoolOf(control, "WordWrap", true) ? QPlainTextEdit::WidgetWidth
                                                            : QPlainTextEdit::NoWrap);
    // A memo's scroll bars are part of its window style: present whether needed or not.
    const std::string bars = EnumOf(control, "ScrollBars");
    const bool vertical = bars == "ssVertical" || bars == "ssBoth";
    const bool horizontal = bars == "ssHorizontal" || bars == "ssBoth";
    memo->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    if (EnumOf(control, "BorderStyle") == "bsNone") {
        memo->setFrameShape(QFrame::NoFrame);
    } else if (!BoolOf(control, "Ctl3D", true)) {
        memo->setFrameStyle(QFrame::Box | QFrame::Plain);
        memo->setLineWidth(1);
    }
    QTextOption option = memo->document()->defaultTextOption();
    option.setAlignment(HorizontalAlignment(EnumOf(control, "Alignment")));
    // Tab stops every eight average characters.
    option.setTabStopDistance(8.0 * QFontMetricsF(memo->font()).averageCharWidth());
    memo->document()->setDefaultTextOption(option);
    memo->document()->setDocumentMargin(1);
    memo->moveCursor(QTextCursor::Start);
    return {memo, nullptr};
}

}  // namespace fw::preview::standard
