// A form that uses package classes reads like one that uses built-in classes.

#include <gtest/gtest.h>

#include "base/stream.h"
#include "codec/conversion.h"
#include "fixtures.h"
#include "packages/designpackages.h"
#include "runtime/builtin.h"
#include "runtime/reader.h"
#include "runtime/registry.h"

namespace {

using namespace fwtest;

class RecordingHooks : public fw::rt::ReaderHooks {
public:
    std::vector<std::string> Messages;
    bool ErrorHook(const std::string& message) override {
        Messages.push_back(message);
        return true;
    }
    // Every handler is found, at a made-up address.
    std::optional<std::uintptr_t> MethodLookupHook(const std::string&, bool& error) override {
        error = false;
        return 0x1000;
    }
};

TEST(PackageForms, ReadWithThePackagesPublishedProperties) {
    TempDir dir;
    const std::unique_ptr<fw::rt::ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();
    fw::pkg::DesignPackages packages(*registry, "");
    ASSERT_EQ(packages.AddPackage(dir.Write("widgets.bpl", BuildTestPackage(WidgetsPackage()))),
              WidgetsNewClasses);

    const std::string text =
        "object Form1: TForm1\r\n"
        "  Caption = 'Packages'\r\n"
        "  object Widget1: TWidget\r\n"
        "    Left = 8\r\n"
        "    Top = 16\r\n"
        "    Width = 120\r\n"
        "    Height = 40\r\n"
        "    Align = alTop\r\n"
        "    Count = 7\r\n"
        "    Mode = wmThree\r\n"
        "    Styles = [wsFlat, wsBold]\r\n"
        "    Caption = 'Hello'\r\n"
        "    ShortName = 'W1'\r\n"
        "    Ratio = 1.500000000000000000\r\n"
        "    Options.Value = 42\r\n"
        "    Options.Title = 'Opts'\r\n"
        "    Buddy = Widget2\r\n"
        "    Link = Widget2\r\n"
        "    Color = clRed\r\n"
        "    OnClick = Widget1Click\r\n"
        "    OnPing = Widget1Ping\r\n"
        "  end\r\n"
        "  object Widget2: TWidgetX\r\n"
        "  end\r\n"
        "end\r\n";
    const fw::Bytes binary = fw::ConvertForm(fw::Bytes(text.begin(), text.end()), fw::FormEncoding::Binary);
    fw::ByteViewStream in(binary);
    fw::rt::ObjectPtr form = fw::rt::CreateObject(registry->Of(fw::rt::cls::TForm), *registry);
    RecordingHooks hooks;
    const fw::rt::ReadSummary summary = fw::rt::ReadFormInto(*form, in, hooks, *registry);
    EXPECT_TRUE(hooks.Messages.empty()) << hooks.Messages.front();
    EXPECT_EQ(summary.ObjectsCreated, 2);

    fw::rt::Object* widget = form->FindOwnedComponent("Widget1");
    fw::rt::Object* other = form->FindOwnedComponent("Widget2");
    ASSERT_TRUE(widget && other);
    EXPECT_EQ(widget->ClassName(), "TWidget");
    const auto property = [&](const char* name) -> const fw::rt::Property& {
        const fw::rt::Property* p = widget->FindProperty(name);
        if (!p) throw std::runtime_error(std::string("no property ") + name);
        return *p;
    };
    EXPECT_EQ(widget->Ordinal(property("Left")), 8);
    EXPECT_EQ(widget->Ordinal(property("Count")), 7);
    EXPECT_EQ(widget->Ordinal(property("Mode")), 2);
    EXPECT_EQ(widget->Ordinal(property("Styles")), 0b101);
    EXPECT_EQ(widget->String(property("Caption")), "Hello");
    EXPECT_EQ(widget->String(property("ShortName")), "W1");
    EXPECT_EQ(widget->Float(property("Ratio")), 1.5L);
    EXPECT_EQ(widget->Ordinal(property("Color")), 0x0000FF);
    EXPECT_EQ(widget->ObjectValue(property("Buddy")), other);
    EXPECT_EQ(widget->ObjectValue(property("Link")), other);
    ASSERT_TRUE(widget->Method(property("OnPing")));
    EXPECT_EQ(widget->Method(property("OnPing"))->Name, "Widget1Ping");
    const fw::rt::Object* options = widget->SubObject("Options");
    ASSERT_TRUE(options);
    EXPECT_EQ(options->Ordinal(*options->FindProperty("Value")), 42);
    EXPECT_EQ(options->String(*options->FindProperty("Title")), "Opts");
    EXPECT_EQ(other->Parent(), form.get());
}

}  // namespace
