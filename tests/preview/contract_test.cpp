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
#include "runtime/dynamicclasses.h"
#include "runtime/formbuild.h"
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
           "  object Subject: " +
           className +
           "\r\n"
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
            EXPECT_EQ(place.Bounds, QRect(Int(*subject, "Left"), Int(*subject, "Top"), Int(*subject, "Width"),
                                          Int(*subject, "Height")));
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
    for (const auto& [family, count] : byFamily)
        std::cout << "  " << family << ": " << count << " classes\n";
}

// Values no real form has must not make a factory throw or crash.
TEST(FactoryContract, OddValuesAreSurvived) {
    for (const std::string& name : ControlClasses()) {
        SCOPED_TRACE(name);
        RealizedForm f(
            "object Form1: TForm1\r\n"
            "  object Subject: " +
            name +
            "\r\n"
            "    Left = -50000\r\n    Top = 2147483647\r\n    Width = -5\r\n    Height = 0\r\n"
            "    ItemIndex = 99999\r\n    Columns = -3\r\n    Max = -10\r\n    Position = 2147483647\r\n"
            "    ColCount = 100000000\r\n    RowCount = -1\r\n    NumGlyphs = 0\r\n"
            "    Items.Strings = ('a' 'b')\r\n    Font.Height = -2147483647\r\n"
            "  end\r\nend\r\n");
        EXPECT_NE(f.Form, nullptr);
    }
}

// A form with one control of a class registered into the registry, read and realised.
struct OneControl {
    fw::rt::ObjectPtr Form;
    std::unique_ptr<QWidget> Client = std::make_unique<QWidget>();
    std::unique_ptr<fw::preview::FormRealizer> Realizer = std::make_unique<fw::preview::FormRealizer>();
    fw::rt::Object* Subject = nullptr;

    OneControl(fw::rt::ClassRegistry& registry, std::string_view className,
               fw::preview::FormRealizer::LookResolver resolver = {}) {
        Form = fw::rt::CreateObject(registry.Of(fw::rt::cls::TForm), registry);
        std::vector<std::string> messages;
        fw::rt::FormNames names;
        fw::rt::BuildFormFromText(*Form,
                                  "object Form1: TForm1\r\n  object Subject: " + std::string(className) +
                                      "\r\n    Left = 5\r\n    Top = 6\r\n    Width = 150\r\n"
                                      "    Height = 120\r\n  end\r\nend\r\n",
                                  registry, fw::CodePage::Default(), messages, &names);
        Subject = Form->FindOwnedComponent("Subject");
        Client->resize(400, 300);
        Realizer->SetLookResolver(std::move(resolver));
        if (Subject) Realizer->Realize(*Form, Client.get());
    }
    ~OneControl() {
        Client.reset();
        Realizer.reset();
    }
    // What the control became: the widget's type, or "drawn".
    std::string Made() const {
        if (QWidget* w = Realizer->WidgetOf(*Subject).Widget) return w->metaObject()->className();
        return Realizer->DrawingOf(*Subject) ? "drawn" : "nothing";
    }
};

// A class a design package registers as a descendant of a built-in class with a row is
// drawn by that ancestor's maker, and the realiser says so.
TEST(FactoryContract, DescendantsAreDrawnByTheirNearestAncestorsRow) {
    auto registry = fw::rt::MakeBuiltinRegistry();
    fw::rt::DynamicClassSet set("contract-test");
    int checked = 0;
    for (const std::string& name : ControlClasses()) {
        SCOPED_TRACE(name);
        const fw::rt::Class* base = registry->FindClassByName(name);
        ASSERT_NE(base, nullptr);
        OneControl native(*registry, name);
        ASSERT_NE(native.Subject, nullptr);
        const fw::preview::DrawnLook own = native.Realizer->LookOf(*native.Subject);
        if (own.How != fw::preview::DrawnLook::Kind::Native) continue;
        EXPECT_EQ(own.DrawnAs, name);

        fw::rt::ClassInfo& derived = set.NewClass();
        derived.Name = set.Keep("TPkg" + name.substr(1));
        derived.Parent = &base->Info();
        derived.Unit = "PkgControls";
        registry->RegisterClassChain(derived);
        OneControl descendant(*registry, derived.Name);
        ASSERT_NE(descendant.Subject, nullptr);
        const fw::preview::DrawnLook look = descendant.Realizer->LookOf(*descendant.Subject);
        EXPECT_EQ(look.How, fw::preview::DrawnLook::Kind::Ancestor);
        EXPECT_EQ(look.DrawnAs, name);
        EXPECT_EQ(descendant.Made(), native.Made());
        ASSERT_NE(descendant.Realizer->FactoryOf(*descendant.Subject), nullptr);
        EXPECT_EQ(descendant.Realizer->FactoryOf(*descendant.Subject)->Family(),
                  native.Realizer->FactoryOf(*native.Subject)->Family());
        ++checked;
    }
    EXPECT_GT(checked, 80);
}

// A stand-in draws with the row of the built-in class the look resolver picks, and as
// the framed box without a resolver.
TEST(FactoryContract, StandInBorrowsTheResolvedLook) {
    auto registry = fw::rt::MakeBuiltinRegistry();
    fw::rt::DynamicClassSet set("stand-ins");
    fw::rt::ClassInfo& standIn = set.NewClass();
    standIn.Name = set.Keep("TRzPanel");
    standIn.Parent = &registry->FindClassByName("TWinControl")->Info();
    standIn.Flags = fw::rt::CfStandIn;
    registry->RegisterClassChain(standIn);
    const fw::rt::Class* panel = registry->FindClassByName("TPanel");

    OneControl asPanel(*registry, "TPanel");
    OneControl borrowed(*registry, "TRzPanel", [panel](const fw::rt::Object&) { return panel; });
    ASSERT_NE(borrowed.Subject, nullptr);
    const fw::preview::DrawnLook look = borrowed.Realizer->LookOf(*borrowed.Subject);
    EXPECT_EQ(look.How, fw::preview::DrawnLook::Kind::Lookalike);
    EXPECT_EQ(look.DrawnAs, "TPanel");
    EXPECT_EQ(borrowed.Made(), asPanel.Made());

    for (const bool withResolver : {false, true}) {
        SCOPED_TRACE(withResolver);
        OneControl boxed(*registry, "TRzPanel",
                         withResolver
                             ? fw::preview::FormRealizer::LookResolver(
                                   [](const fw::rt::Object&) -> const fw::rt::Class* { return nullptr; })
                             : fw::preview::FormRealizer::LookResolver());
        EXPECT_EQ(boxed.Realizer->LookOf(*boxed.Subject).How, fw::preview::DrawnLook::Kind::Placeholder);
        EXPECT_EQ(boxed.Realizer->FactoryOf(*boxed.Subject)->Family(), "fallback");
    }
}

}  // namespace
