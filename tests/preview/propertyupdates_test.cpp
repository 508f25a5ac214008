// The live form brought up to date with values just written to its text, without
// reading the text again: what it shows is what a build of the edited text shows, the
// objects and the selection stay, and what it cannot follow is refused untouched by a
// rebuild's rules.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <string>
#include <vector>

#include "preview/designoverlay.h"
#include "preview/previewcontext.h"
#include "preview/virtualdesktop.h"
#include "runtime/propertyaccess.h"

namespace {

using fw::preview::PreviewContext;
using fw::preview::PropertyUpdate;
using fw::preview::VirtualDesktop;

constexpr const char* UpdateForm =
    "object Form1: TForm1\n"
    "  ClientHeight = 200\n"
    "  ClientWidth = 300\n"
    "  object Panel1: TPanel\n"
    "    Left = 100\n"
    "    Top = 50\n"
    "    Width = 150\n"
    "    Height = 100\n"
    "    object Label1: TLabel\n"
    "      Left = 10\n"
    "      Top = 10\n"
    "      Caption = 'Label1'\n"
    "    end\n"
    "  end\n"
    "  object Button1: TButton\n"
    "    Left = 13\n"
    "    Top = 21\n"
    "    Width = 75\n"
    "    Height = 25\n"
    "    Caption = 'Button1'\n"
    "  end\n"
    "  object Bottom1: TPanel\n"
    "    Left = 0\n"
    "    Top = 170\n"
    "    Width = 300\n"
    "    Height = 30\n"
    "    Align = alBottom\n"
    "  end\n"
    "end\n";

// The form's text with one line replaced (or removed, for an empty replacement).
std::string Edited(const std::string& line, const std::string& replacement) {
    std::string text(UpdateForm);
    const std::size_t at = text.find(line);
    EXPECT_NE(at, std::string::npos) << line;
    text.replace(at, line.size(), replacement);
    return text;
}

std::string Inserted(const std::string& after, const std::string& line) {
    return Edited(after, after + line);
}

TEST(PropertyUpdates, TheFormShowsWhatABuildOfTheEditedTextShows) {
    const struct {
        const char* What;
        std::vector<PropertyUpdate> Updates;
        std::string EditedText;
    } cases[] = {
        {"a caption", {{"Button1", "Caption", "'Go on'"}}, Edited("'Button1'", "'Go on'")},
        // The label inside the panel moves with it.
        {"a parent's place", {{"Panel1", "Left", "40"}, {"Panel1", "Top", "8"}},
         Edited("    Left = 100\n    Top = 50\n", "    Left = 40\n    Top = 8\n")},
        // Without its alignment the panel keeps its stored place.
        {"a value removed", {{"Bottom1", "Align", std::nullopt}}, Edited("    Align = alBottom\n", "")},
        // The controls that take their parent's font follow the form's.
        {"a nested value of the root", {{"Form1", "Font.Style", "[fsBold]"}},
         Inserted("  ClientWidth = 300\n", "  Font.Style = [fsBold]\n")},
        {"the root's size", {{"Form1", "ClientWidth", "260"}}, Edited("ClientWidth = 300", "ClientWidth = 260")},
        {"a control inside another, a #code", {{"Label1", "Caption", "'Moved'#233"}},
         Edited("'Label1'", "'Moved'#233")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        PreviewContext context;
        VirtualDesktop updated(context);
        updated.BuildPreview(UpdateForm, fw::CodePage::Default());
        ASSERT_NE(updated.Overlay(), nullptr);
        fw::rt::Object* form = updated.PreviewForm();
        fw::rt::Object* button = form->FindOwnedComponent("Button1");
        updated.SelectPaths({"Button1", "Label1"});
        QSignalSpy built(&updated, &VirtualDesktop::PreviewBuilt);
        ASSERT_TRUE(updated.ApplyPropertyUpdates(c.Updates, fw::CodePage::Default()));
        EXPECT_EQ(built.count(), 1);
        // The same objects, still selected.
        EXPECT_EQ(updated.PreviewForm(), form);
        EXPECT_EQ(form->FindOwnedComponent("Button1"), button);
        EXPECT_EQ(updated.SelectedPaths(), (QStringList{"Button1", "Label1"}));

        PreviewContext otherContext;
        VirtualDesktop rebuilt(otherContext);
        rebuilt.BuildPreview(c.EditedText, fw::CodePage::Default());
        EXPECT_EQ(updated.PreviewMessages(), rebuilt.PreviewMessages());
        EXPECT_EQ(updated.Window()->size(), rebuilt.Window()->size());
        EXPECT_EQ(updated.FormWindowImage(), rebuilt.FormWindowImage());
    }
}

// What cannot be followed is refused, and the caller rebuilds from the text.
TEST(PropertyUpdates, WhatCannotBeFollowedIsRefused) {
    const struct {
        const char* What;
        PropertyUpdate Update;
    } cases[] = {
        {"an object the form does not have", {"Button9", "Caption", "'x'"}},
        {"an ambiguous path taken for another", {"Panel1.Button1", "Caption", "'x'"}},
        {"a collection item's value", {"Panel1", "Columns[1].Width", "40"}},
        {"a property the class does not have", {"Button1", "Colour", "clRed"}},
        {"a value the reader refuses", {"Button1", "Left", "'wide'"}},
        {"a value that does not convert", {"Button1", "Left", "("}},
        {"a rename", {"Button1", "Name", "'OK'"}},
        {"the root's frame, which the preview sets itself", {"Form1", "BorderStyle", "bsDialog"}},
        {"a removed value of a property the class does not have", {"Button1", "Colour", std::nullopt}},
    };
    PreviewContext context;
    VirtualDesktop desktop(context);
    EXPECT_FALSE(desktop.ApplyPropertyUpdates({{"Button1", "Left", "1"}}, fw::CodePage::Default()))
        << "before any build";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        desktop.BuildPreview(UpdateForm, fw::CodePage::Default());
        QSignalSpy built(&desktop, &VirtualDesktop::PreviewBuilt);
        EXPECT_FALSE(desktop.ApplyPropertyUpdates({c.Update}, fw::CodePage::Default()));
        EXPECT_EQ(built.count(), 0);
    }
}

}  // namespace
