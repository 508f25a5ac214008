#pragma once
// Live forms made from small form texts, realised into a plain widget, for the preview's
// tests.

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "preview/realizer.h"
#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/registry.h"

namespace fw::preview::test {

// A form read from text with the built-in classes, with the messages of the read.
struct LiveForm {
    std::unique_ptr<rt::ClassRegistry> Registry = rt::MakeBuiltinRegistry();
    rt::ObjectPtr Form;
    std::vector<std::string> Messages;

    explicit LiveForm(const std::string& text) {
        Form = rt::CreateObject(Registry->Of(rt::cls::TForm), *Registry);
        rt::FormNames names;
        rt::BuildFormFromText(*Form, text, *Registry, CodePage::Default(), Messages, &names);
    }
    // A direct child control or owned component by name.
    rt::Object& operator[](std::string_view name) const {
        rt::Object* found = Form->FindOwnedComponent(name);
        if (!found) throw std::runtime_error("no component " + std::string(name));
        return *found;
    }
};

// A form realised into a client widget of its ClientWidth x ClientHeight.
struct RealizedForm : LiveForm {
    std::unique_ptr<QWidget> Client = std::make_unique<QWidget>();
    std::unique_ptr<FormRealizer> Realizer = std::make_unique<FormRealizer>();

    explicit RealizedForm(const std::string& text) : LiveForm(text) {
        Client->resize(static_cast<int>(OrdinalOf("ClientWidth", 400)),
                       static_cast<int>(OrdinalOf("ClientHeight", 300)));
        Realizer->Realize(*Form, Client.get());
    }
    ~RealizedForm() {
        // Widgets go before the objects they show.
        Client.reset();
        Realizer.reset();
    }
    QWidget* Widget(std::string_view name) const { return Realizer->WidgetOf((*this)[name]).Widget; }
    // What draws a control drawn onto its parent, or nullptr.
    const DrawnControl* Drawing(std::string_view name) const { return Realizer->DrawingOf((*this)[name]); }
    // Where a control, widget or drawn, has its top-left corner in the client area.
    QPoint Origin(std::string_view name) const {
        const Placement place = Realizer->PlaceOf((*this)[name]);
        if (!place.Parent) throw std::runtime_error("not realised: " + std::string(name));
        return place.Parent->mapTo(Client.get(), place.Bounds.topLeft());
    }
    // What a control shows on its own: its widget grabbed, or its drawing painted over
    // white.
    QImage Look(std::string_view name) const {
        if (QWidget* widget = Widget(name)) return widget->grab().toImage();
        const Placement place = Realizer->PlaceOf((*this)[name]);
        const DrawnControl* drawing = Drawing(name);
        if (!drawing || place.Bounds.isEmpty()) return {};
        QImage image(place.Bounds.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        drawing->Paint(painter, QRect(QPoint(0, 0), place.Bounds.size()), true);
        return image;
    }

private:
    std::int64_t OrdinalOf(std::string_view property, std::int64_t fallback) const {
        const rt::Property* p = Form->FindProperty(property);
        if (!p) return fallback;
        const std::int64_t v = Form->Ordinal(*p);
        return v > 0 ? v : fallback;
    }
};

}  // namespace fw::preview::test
