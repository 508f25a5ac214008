#include "preview/formwindow.h"

#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <variant>

#include "preview/realizer.h"
#include "preview/vcllook.h"
#include "runtime/layout.h"
#include "runtime/registry.h"

namespace fw::preview {

namespace {

// Windows 10 at 96 DPI: the widths of the caption buttons of a normal and of a tool
// window.
constexpr int CaptionButtonWidth = 46;
constexpr int SmallCaptionButtonWidth = 24;

// Deeper menus than this are cut off; a menu is read from the file and may be deep.
constexpr int MaxMenuDepth = 32;

int Clamp(std::int64_t v, int low, int high) {
    return static_cast<int>(std::clamp<std::int64_t>(v, low, high));
}

QString MenuCaption(const rt::Object& item) {
    return TextOf(item, "Caption");
}

void FillMenu(QMenu* menu, const rt::Object& parent, int depth) {
    if (depth >= MaxMenuDepth) return;
    for (const rt::Object* item : parent.ChildComponents()) {
        if (!item->InheritsFrom("TMenuItem") || !BoolOf(*item, "Visible", true)) continue;
        const QString caption = MenuCaption(*item);
        if (caption == QStringLiteral("-")) {
            menu->addSeparator();
            continue;
        }
        if (!item->ChildComponents().empty()) {
            QMenu* sub = menu->addMenu(caption);
            FillMenu(sub, *item, depth + 1);
            continue;
        }
        QAction* action = menu->addAction(caption);
        action->setCheckable(BoolOf(*item, "Checked", false));
        action->setChecked(BoolOf(*item, "Checked", false));
        action->setEnabled(BoolOf(*item, "Enabled", true));
    }
}

// A non-visual component's icon as the designer places it: a framed square with the
// first letters of its class, the component's name under it.
class ComponentIcon : public QWidget {
public:
    static constexpr int Side = 28;
    static constexpr int NameHeight = 16;
    static constexpr int Width = 96;  // room for the name under the icon

    ComponentIcon(const rt::Object& component, QWidget* parent)
        : QWidget(parent), name_(Q(component.Name())), className_(Q(component.ClassName())) {
        setObjectName(name_);
        setToolTip(name_ + QStringLiteral(": ") + className_);
        resize(Width, Side + NameHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect box((width() - Side) / 2, 0, Side, Side);
        p.fillRect(box, QColor(0xF0, 0xF0, 0xF0));
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        QFont f = FontOf(nullptr);
        f.setPixelSize(9);
        p.setFont(f);
        p.setPen(QColor(0x33, 0x66, 0xAA));
        // The capitals of the class's name without its T: IL for TImageList.
        QString mark;
        for (const QChar ch : className_.mid(className_.startsWith(QLatin1Char('T')) ? 1 : 0))
            if (ch.isUpper() && mark.size() < 4) mark += ch;
        p.drawText(box, Qt::AlignCenter, mark);
        p.setFont(FontOf(nullptr));
        p.setPen(Qt::black);
        const QRect nameRect(0, Side, width(), NameHeight);
        p.drawText(nameRect, Qt::AlignHCenter | Qt::AlignVCenter,
                   p.fontMetrics().elidedText(name_, Qt::ElideRight, width()));
    }

private:
    QString name_;
    QString className_;
};

}  // namespace

std::int64_t StoredOrdinal(const rt::Object& object, std::string_view name) {
    const auto& stored = object.Stored();
    const auto it = stored.find(name);
    if (it == stored.end()) return 0;
    const std::int64_t* value = std::get_if<std::int64_t>(&it->second);
    return value ? *value : 0;
}

RootKind RootKindOfBase(rt::RootBase base) {
    switch (base) {
        case rt::RootBase::Frame:
            return RootKind::Frame;
        case rt::RootBase::DataModule:
            return RootKind::DataModule;
        case rt::RootBase::Form:
            break;
    }
    return RootKind::Form;
}

void AddComponentIcons(const rt::Object& root, QWidget* parent) {
    for (const rt::ObjectPtr& component : root.Components()) {
        if (component->InheritsFrom("TControl")) continue;
        auto* icon = new ComponentIcon(*component, parent);
        // The designer position is the icon's top-left corner; the name is centred
        // under it.
        icon->move(Clamp(StoredOrdinal(*component, "Left"), -MaxWindowSide, MaxWindowSide) -
                       (ComponentIcon::Width - ComponentIcon::Side) / 2,
                   Clamp(StoredOrdinal(*component, "Top"), -MaxWindowSide, MaxWindowSide));
        icon->show();
    }
}

bool HasMenuBar(const rt::Object& form) {
    const rt::Object* menu = ObjectOf(form, "Menu");
    if (!menu || !menu->InheritsFrom("TMainMenu")) return false;
    for (const rt::Object* item : menu->ChildComponents())
        if (BoolOf(*item, "Visible", true)) return true;
    return false;
}

FrameMetrics FrameMetricsOf(const rt::Object& form) {
    const rt::FormFrame frame = rt::FrameOf(form);
    return FrameMetrics{frame.Frame, frame.Caption, frame.MenuBar, frame.SmallCaption, frame.BorderWidth};
}

WindowChrome ChromeOf(const rt::Object& form, std::string_view borderStyle) {
    const std::string own = borderStyle.empty() ? EnumOf(form, "BorderStyle") : std::string();
    const std::string_view style = borderStyle.empty() ? std::string_view(own) : borderStyle;
    const rt::WindowMetrics& m = rt::Windows10Metrics;
    const rt::FormFrame layout = rt::FrameOf(form);
    WindowChrome c;
    c.Metrics.Menu = layout.MenuBar;
    c.Metrics.BorderWidth = layout.BorderWidth;
    if (style == "bsNone") return c;
    const bool dialog = style == "bsDialog";
    const bool tool = style == "bsToolWindow" || style == "bsSizeToolWin";
    // bsSizeable, and any other value as the default.
    c.Resizable = style == "bsSizeToolWin" || !(dialog || tool || style == "bsSingle");
    c.Metrics.Border = c.Resizable ? m.SizingFrame : m.FixedFrame;
    c.Metrics.Caption = tool ? m.SmallCaptionHeight : m.CaptionHeight;
    c.Metrics.SmallCaption = tool;
    // Without the system menu a title bar holds only the caption.
    if (!HasElement(form, "BorderIcons", "biSystemMenu")) return c;
    c.Close = true;
    if (!dialog && !tool) {
        c.Icon = true;
        c.MinimizeEnabled = HasElement(form, "BorderIcons", "biMinimize");
        c.MaximizeEnabled = HasElement(form, "BorderIcons", "biMaximize");
        c.MinMax = c.MinimizeEnabled || c.MaximizeEnabled;
    }
    // The context help button shows on dialogs and on windows without minimize and
    // maximize buttons.
    c.Help = HasElement(form, "BorderIcons", "biHelp") && (dialog || !c.MinMax);
    return c;
}

FormWindow::FormWindow(rt::Object& form, QWidget* parent, std::string_view borderStyle)
    : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("FormWindow"));
    chrome_ = ChromeOf(form, borderStyle);
    const FrameMetrics& metrics = chrome_.Metrics;
    const bool hasMenu = metrics.Menu > 0 && HasMenuBar(form);
    caption_ = TextOf(form, "Caption");
    if (const rt::Object* icon = ObjectOf(form, "Icon")) icon_ = DecodeGraphic(icon->Graphic());

    // The runtime's layout gave the form its outer size from its client size and the
    // frame it was laid out with; the drawn frame keeps that client size.
    // A frame or a data module root has no frame in the layout.
    const rt::FormFrame laidOut = form.GetClass().Has(rt::CfForm) ? rt::FrameOf(form) : rt::FormFrame{};
    const int growX = 2 * (metrics.Border - laidOut.Frame);
    const int growY = growX + metrics.Caption - laidOut.Caption;
    // A data module writes its designer size itself rather than as properties.
    const auto side = [&form](std::string_view name) {
        return form.FindProperty(name) ? OrdinalOf(form, name) : StoredOrdinal(form, name);
    };
    asked_ = QSize(Clamp(side("Width") + growX, 0, 100000), Clamp(side("Height") + growY, 0, 100000));
    const int width = std::min(asked_.width(), MaxWindowSide);
    const int height = std::min(asked_.height(), MaxWindowSide);
    resize(width, height);
    const int frameInside = metrics.Border;
    const int menuTop = frameInside + metrics.Caption;
    if (hasMenu) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        menuBar_->setFocusPolicy(Qt::NoFocus);
        menuBar_->setGeometry(frameInside, menuTop, std::max(0, width - 2 * frameInside), metrics.Menu);
        BuildMenuBar(*ObjectOf(form, "Menu"));
        if (QStyle* s = PreviewStyle()) menuBar_->setStyle(s);
        QPalette p = menuBar_->palette();
        p.setColor(QPalette::Window, ColorOf(-0x1000000 + 30));
        p.setColor(QPalette::Button, ColorOf(-0x1000000 + 30));
        menuBar_->setPalette(p);
        menuBar_->setAutoFillBackground(true);
        menuBar_->setFont(FontOf(nullptr));
    }
    // The form's own BorderWidth lies inside the frame, in the form's colour, around
    // the client area.
    auto* inner = new QWidget(this);
    inner->setGeometry(frameInside, menuTop + metrics.Menu, std::max(0, width - 2 * frameInside),
                       std::max(0, height - menuTop - metrics.Menu - frameInside));
    ApplyColorsAndFont(*inner, form, true);
    const int b = metrics.BorderWidth;
    client_ = new QWidget(inner);
    client_->setObjectName(QStringLiteral("ClientArea"));
    client_->setGeometry(b, b, std::max(0, inner->width() - 2 * b), std::max(0, inner->height() - 2 * b));
    ApplyColorsAndFont(*client_, form, true);
}

void FormWindow::BuildMenuBar(const rt::Object& menu) {
    for (const rt::Object* item : menu.ChildComponents()) {
        if (!item->InheritsFrom("TMenuItem") || !BoolOf(*item, "Visible", true)) continue;
        if (item->ChildComponents().empty()) {
            QAction* a = menuBar_->addAction(MenuCaption(*item));
            a->setEnabled(BoolOf(*item, "Enabled", true));
            continue;
        }
        QMenu* sub = menuBar_->addMenu(MenuCaption(*item));
        FillMenu(sub, *item, 1);
    }
}

void FormWindow::paintEvent(QPaintEvent*) {
    const FrameMetrics& metrics = chrome_.Metrics;
    if (metrics.Border == 0 && metrics.Caption == 0) return;
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, Qt::white);
    p.setPen(QColor(0x70, 0x70, 0x70));
    p.drawRect(all.adjusted(0, 0, -1, -1));
    if (metrics.Caption == 0) return;

    const QRect bar(metrics.Border, metrics.Border, width() - 2 * metrics.Border, metrics.Caption);
    int textLeft = bar.left() + 4;
    if (chrome_.Icon) {
        const QRect iconRect(bar.left() + 1, bar.top() + (bar.height() - 16) / 2, 16, 16);
        if (!icon_.isNull()) {
            p.drawImage(iconRect, icon_.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        } else {
            // The default application icon: a small window.
            p.setPen(QColor(0x33, 0x66, 0xAA));
            p.setBrush(Qt::white);
            p.drawRect(iconRect.adjusted(1, 2, -2, -2));
            p.fillRect(QRect(iconRect.left() + 1, iconRect.top() + 2, 14, 3), QColor(0x33, 0x66, 0xAA));
        }
        textLeft = iconRect.right() + 8;
    }

    const int buttonWidth = metrics.SmallCaption ? SmallCaptionButtonWidth : CaptionButtonWidth;
    int buttonsLeft = bar.right() + 1;
    auto button = [&](auto draw) {
        buttonsLeft -= buttonWidth;
        const QRect r(buttonsLeft, bar.top() - metrics.Border + 1, buttonWidth,
                      metrics.Caption + metrics.Border - 1);
        const QPoint c = r.center();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        draw(c);
    };
    // A disabled caption button is drawn in grey.
    const auto pen = [&](bool enabled) {
        p.setPen(QPen(enabled ? QColor(Qt::black) : QColor(0xA0, 0xA0, 0xA0), 1));
    };
    if (chrome_.Close)
        button([&](QPoint c) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.drawLine(c + QPoint(-5, -5), c + QPoint(5, 5));
            p.drawLine(c + QPoint(-5, 5), c + QPoint(5, -5));
            p.setRenderHint(QPainter::Antialiasing, false);
        });
    if (chrome_.MinMax) {
        button([&](QPoint c) {
            pen(chrome_.MaximizeEnabled);
            p.drawRect(QRect(c.x() - 5, c.y() - 5, 10, 10));
        });
        button([&](QPoint c) {
            pen(chrome_.MinimizeEnabled);
            p.drawLine(c + QPoint(-5, 0), c + QPoint(5, 0));
        });
    }
    if (chrome_.Help)
        button([&](QPoint c) {
            QFont f = FontOf(nullptr);
            f.setPixelSize(13);
            p.setFont(f);
            p.drawText(QRect(c.x() - 8, c.y() - 9, 16, 18), Qt::AlignCenter, QStringLiteral("?"));
        });

    QFont titleFont(MapFontFamily("Segoe UI"));
    titleFont.setPixelSize(metrics.SmallCaption ? 11 : 12);
    p.setFont(titleFont);
    p.setPen(Qt::black);
    const QRect textRect(textLeft, bar.top(), std::max(0, buttonsLeft - textLeft - 4), bar.height());
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
               p.fontMetrics().elidedText(caption_, Qt::ElideRight, textRect.width()));
}

QImage FormWindow::GrabClient() const {
    return client_->grab().toImage();
}

QImage FormWindow::GrabWindow() const {
    return const_cast<FormWindow*>(this)->grab().toImage();
}

}  // namespace fw::preview
