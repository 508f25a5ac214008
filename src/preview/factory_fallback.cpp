// The factory of last resort: any control class no family knows shows as a framed box
// with its name and class, so that the user sees where it sits and how large it is.

#include <QPainter>
#include <QWidget>

#include "preview/controlfactory.h"
#include "preview/vcllook.h"

namespace fw::preview {

namespace {

class NamedBox : public QWidget {
public:
    NamedBox(QString text, QWidget* parent) : QWidget(parent), text_(std::move(text)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setPen(palette().windowText().color());
        painter.drawText(rect().adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, text_);
    }

private:
    QString text_;
};

class FallbackFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "fallback"; }
    bool Handles(const rt::Class& cls) const override { return cls.InheritsFrom("TControl"); }
    Realized Create(rt::Object& control, QWidget* parent, RealizeContext&) const override {
        auto* box = new NamedBox(Q(control.Name()) + QStringLiteral(": ") + Q(control.ClassName()), parent);
        ApplyColorsAndFont(*box, control, true);
        // Child controls of an unknown container still show inside it.
        return {box, box};
    }
};

}  // namespace

std::unique_ptr<ControlFactory> MakeFallbackFactory() {
    return std::make_unique<FallbackFactory>();
}

std::vector<std::unique_ptr<ControlFactory>> MakeAllFactories() {
    std::vector<std::unique_ptr<ControlFactory>> all;
    all.push_back(MakeStandardFactory());
    // Asked before the containers, which still keep plain-box rows for the action bars.
    all.push_back(MakeActionBarFactory());
    all.push_back(MakeContainerFactory());
    all.push_back(MakeDataViewFactory());
    all.push_back(MakeWebFactory());
    all.push_back(MakeFallbackFactory());
    return all;
}

}  // namespace fw::preview
