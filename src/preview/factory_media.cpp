// The media player: a row of buttons with their glyphs.

#include "preview/containers_parts.h"

namespace fw::preview::containers {

// ---------------------------------------------------------------------------------
// The media player

namespace {

// The glyph of a media player button, drawn in a 16 by 16 cell.
void PaintMediaGlyph(QPainter& p, const QRect& cell, const std::string& button, const QColor& color) {
    const int x = cell.left(), y = cell.top();
    auto triangle = [&](int left, bool right) {
        for (int i = 0; i < 6; ++i) {
            const int col = right ? left + i : left + 5 - i;
            VLine(p, col, y + 2 + i, y + 12 - i, color);
        }
    };
    if (button == "btPlay") {
        triangle(x + 6, true);
    } else if (button == "btPause") {
        p.fillRect(QRect(x + 5, y + 3, 2, 9), color);
        p.fillRect(QRect(x + 9, y + 3, 2, 9), color);
    } else if (button == "btStop") {
        p.fillRect(QRect(x + 4, y + 4, 8, 8), color);
    } else if (button == "btNext") {
        triangle(x + 4, true);
        p.fillRect(QRect(x + 10, y + 3, 2, 9), color);
    } else if (button == "btPrev") {
        p.fillRect(QRect(x + 4, y + 3, 2, 9), color);
        triangle(x + 7, false);
    } else if (button == "btStep") {
        triangle(x + 3, true);
        triangle(x + 8, true);
    } else if (button == "btBack") {
        triangle(x + 3, false);
        triangle(x + 8, false);
    } else if (button == "btRecord") {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(QRectF(x + 4, y + 4, 8, 8));
        p.setRenderHint(QPainter::Antialiasing, false);
    } else if (button == "btEject") {
        for (int i = 0; i < 5; ++i)
            HLine(p, x + 4 + i, x + 12 - i, y + 8 - i, color);
        p.fillRect(QRect(x + 4, y + 10, 9, 2), color);
    }
}

}  // namespace

Realized MakeMediaPlayer(rt::Object& control, QWidget* parent) {
    auto* player = new Surface(parent);
    static const std::array<const char*, 9> Buttons = {"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                                       "btStep", "btBack",  "btRecord", "btEject"};
    struct Button {
        std::string Name;
        bool Enabled;
        bool Colored;
    };
    std::vector<Button> buttons;
    // With AutoEnable the buttons follow the device, which is closed in a form that
    // has just been shown: they are all disabled.
    const bool autoEnable = BoolOf(control, "AutoEnable", true);
    for (const char* name : Buttons)
        if (HasElement(control, "VisibleButtons", name))
            buttons.push_back({name, !autoEnable && HasElement(control, "EnabledButtons", name),
                               HasElement(control, "ColoredButtons", name)});
    player->SetPaint([buttons](QPainter& p, const QRect& whole, const QRect&) {
        if (buttons.empty()) return;
        const int count = static_cast<int>(buttons.size());
        const int w = (whole.width() - 1) / count;
        for (int i = 0; i < count; ++i) {
            const Button& b = buttons[static_cast<std::size_t>(i)];
            const QRect r(i * w, 0, w + 1, whole.height());
            p.fillRect(r, ColorOf(clBtnFace));
            RaisedEdge(p, r);
            const QRect cell(r.center().x() - 7, r.center().y() - 7, 16, 16);
            if (!b.Enabled) {
                // Disabled glyphs are embossed: highlight under grey.
                PaintMediaGlyph(p, cell.translated(1, 1), b.Name, ColorOf(clBtnHighlight));
                PaintMediaGlyph(p, cell, b.Name, ColorOf(clBtnShadow));
                continue;
            }
            QColor color(Qt::black);
            if (b.Colored) {
                if (b.Name == "btPlay")
                    color = QColor(0x00, 0x80, 0x00);
                else if (b.Name == "btRecord")
                    color = QColor(0xFF, 0x00, 0x00);
                else if (b.Name == "btPause" || b.Name == "btStop")
                    color = QColor(0x80, 0x80, 0x00);
                else
                    color = QColor(0x00, 0x00, 0x80);
            }
            PaintMediaGlyph(p, cell, b.Name, color);
        }
    });
    return {player, nullptr};
}

}  // namespace fw::preview::containers
