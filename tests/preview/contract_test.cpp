// One contract for every family factory: each registered control class is realised by
// some factory, either as a widget or drawn onto its parent; it sits in the container it
// was given at the control's bounds; Visible = False hides it; a container's child
// controls, windowed and drawn, are realised inside its Client in their z-order; odd
// values do not throw.

#include <gtest/gtest.h>

#include <QWidget>
#include <algorithm>
#include <set>
#include <string>

#include "preview/controlfactory.h"
#include "preview/vcllook.h"
#include "previewtestsupport.h"
#include "runtime/layout.h"

namespace {

using fw::preview::test::RealizedForm;

// Classes that only stand inside a parent of their own kind; they are realised through
// their parents' tests.
const std::set<std::string> NeedsItsOwnParent = {"TTabSheet", "TPage", "TTabPage", "TToolButton"};

std::vector<std::string> ControlClasses() {
    // The classes forms create: the built-in set, not the intermediate classes
    // registered with their chains.
    std::vector<std::string> names;
    const auto registry = fw::rt::MakeBuiltinRegistry();
    std::set<const fw::rt::ClassInfo*> seen;
    for (const fw::rt::ClassInfo* info : fw::rt::BuiltinClasses()) {
        if (!seen.insert(info).second) continue;
        const fw::rt::Class* cls = registry->FindClassByName(info->Name);
        if (!cls || !cls->InheritsFrom("TControl") || cls->Has(fw::rt::CfAbstract)) continue;
        if (cls->InheritsFrom("TCustomForm")) continue;
        if (NeedsItsOwnParent.count(std::string(cls->Name()))) continue;
        names.emplace_back(cls->Name());
    }
    return names;
}

std::string FormWith(const std::string& className, bool visible) {
    return "object Form1: TForm1\r\n"
           "  ClientWidth = 400\r\n  ClientHeight = 300\r\n"
           "  object Subject: " + className + "\r\n"
           "    Left = 5\r\n    Top = 6\r\n    Width = 150\r\n    Height = 120\r\n" +
           std::string(visible ? "" : "    Visible = False\r\n") +
           "    object First: TButton\r\n      Left = 1\r\n      Top = 2\r\n    end\r\n"
           "    object Second: TEdit\r\n      Left = 3\r\n      Top = 4\r\n    end\r\n"
           "    object Third: TLabel\r\n      Left = 5\r\n      Top = 6\r\n    end\r\n"
           "  end\r\nend\r\n";
}

int Int(const fw::rt::Object& o, const char* name) {
    return static_cast<int>(fw::preview::OrdinalOf(o, name));
}

TEST(FactoryContract, EveryControlClassIsRealisedAtItsBounds) {
    const std::vector<std::string> classes = ControlClasses();
    ASSERT_GT(classes.size(), 80u);
    std::map<std::string, int> byFamily;
    for (const std::string& name : classes) {
        SCOPED_TRACE(name);
        for (const bool visible : {true, false}) {
            RealizedForm f(FormWith(name, visible));
            fw::rt::Object* subject = f.Form->FindOwnedComponent("Subject");
            if (!subject) {
                // Controls that accept no child controls skip the children with a message
                // only when the class refuses them; the subject itself must be there.
                ADD_FAILURE() << "not created: " << (f.Messages.empty() ? "" : f.Messages.front());
                continue;
            }
            // A class that does not publish Visible is always shown.
            if (!visible && !subject->FindProperty("Visible")) continue;
            const fw::preview::Realized r = f.Realizer->WidgetOf(*subject);
            const fw::preview::Placement place = f.Realizer->PlaceOf(*subject);
            const fw::preview::ControlFactory* factory = f.Realizer->FactoryOf(*subject);
            ASSERT_NE(factory, nullptr);
            if (visible) ++byFamily[std::string(factory->Family()) + (place.Drawn ? " (drawn)" : "")];
            // Widget or drawing, never both.
            EXPECT_NE(r.Widget == nullptr, f.Realizer->DrawingOf(*subject) == nullptr);
            EXPECT_EQ(place.Drawn, r.Widget == nullptr);
            EXPECT_EQ(place.Parent, f.Client.get());
            EXPECT_EQ(place.Bounds,
                      QRect(Int(*subject, "Left"), Int(*subject, "Top"), Int(*subject, "Width"), Int(*subject, "Height")));
            EXPECT_EQ(place.Visible, visible);
            if (!r.Widget) {
                // A drawn control holds no children.
                EXPECT_EQ(r.Client, nullptr);
                continue;
            }
            EXPECT_EQ(r.Widget->parentWidget(), f.Client.get());
            EXPECT_EQ(r.Widget->geometry(), place.Bounds);
            EXPECT_EQ(r.Widget->isVisibleTo(f.Client.get()), visible);
            if (!r.Client) continue;
            // Children in z-order inside the client, at their own bounds, the drawn ones
            // too.
            QPoint origin(0, 0);
            if (r.Client == r.Widget) {
                const fw::rt::Insets insets = fw::rt::NonClientInsets(*subject);
                origin = QPoint(insets.Left, insets.Top);
            }
            std::vector<QWidget*> children;
            for (const fw::rt::Object* child : subject->Controls()) {
                const fw::preview::Placement c = f.Realizer->PlaceOf(*child);
                if (!c.Parent) continue;
                EXPECT_TRUE(c.Parent == r.Client || r.Client->isAncestorOf(c.Parent)) << child->Name();
                EXPECT_EQ(c.Parent->mapTo(r.Client, c.Bounds.topLeft()),
                          origin + QPoint(Int(*child, "Left"), Int(*child, "Top")))
                    << child->Name();
                if (QWidget* w = f.Realizer->WidgetOf(*child).Widget) children.push_back(w);
            }
            if (children.size() == 2 && children[0]->parentWidget() == children[1]->parentWidget()) {
                const QObjectList& order = children[0]->parentWidget()->children();
                EXPECT_LT(order.indexOf(children[0]), order.indexOf(children[1])) << "z-order";
            }
        }
    }
    for (const auto& [family, count] : byFamily) std::cout << "  " << family << ": " << count << " classes\n";
}

// Values no real form has must not make a factory throw or crash.
TEST(FactoryContract, OddValuesAreSurvived) {
    for (const std::string& name : ControlClasses()) {
        SCOPED_TRACE(name);
        RealizedForm f("object Form1: TForm1\r\n"
                       "  object Subject: " + name + "\r\n"
                       "    Left = -50000\r\n    Top = 2147483647\r\n    Width = -5\r\n    Height = 0\r\n"
                       "    ItemIndex = 99999\r\n    Columns = -3\r\n    Max = -10\r\n    Position = 2147483647\r\n"
                       "    ColCount = 100000000\r\n    RowCount = -1\r\n    NumGlyphs = 0\r\n"
                       "    Items.Strings = ('a' 'b')\r\n    Font.Height = -2147483647\r\n"
                       "  end\r\nend\r\n");
        EXPECT_NE(f.Form, nullptr);
    }
}

}  // namespace
