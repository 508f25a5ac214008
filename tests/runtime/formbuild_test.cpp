// Building a form from text as the preview does: the root's rewrites, the collected
// messages, and what is left when the text or the reader stops.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/registry.h"

namespace {

using namespace fw::rt;

TEST(PreviewRewrites, OnlyTheFirstMatchingLineAtTheThirdCharacterChanges) {
    const struct {
        const char* What;
        std::vector<std::string> In, Out;
    } cases[] = {
        {"root properties",
         {"object Form1: TForm1", "  ActiveControl = Edit1", "  BorderStyle = bsNone", "  FormStyle = fsMDIChild", "end"},
         {"object Form1: TForm1", "BorderStyle = bsSizeable", "FormStyle = fsNormal", "end"}},
        {"nested properties are indented further",
         {"object Form1: TForm1", "  object Panel1: TPanel", "    ActiveControl = Edit1", "    FormStyle = fsMDIChild",
          "    BorderStyle = bsNone", "  end", "end"},
         {"object Form1: TForm1", "  object Panel1: TPanel", "    ActiveControl = Edit1", "    FormStyle = fsMDIChild",
          "    BorderStyle = bsNone", "  end", "end"}},
        {"the word may go on, and only the first line is taken",
         {"  FormStyleX = 1", "  FormStyle = fsStayOnTop", "  ActiveControl = A", "  ActiveControl = B"},
         {"FormStyle = fsNormal", "  FormStyle = fsStayOnTop", "  ActiveControl = B"}},
        {"case-sensitive, and the word's first occurrence must start there",
         {"  formstyle = fsMDIChild", "  X = 'BorderStyle'", "  BorderStyle = bsDialog"},
         {"  formstyle = fsMDIChild", "  X = 'BorderStyle'", "BorderStyle = bsSizeable"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        std::vector<std::string> lines = c.In;
        ApplyPreviewRewrites(lines);
        EXPECT_EQ(lines, c.Out);
    }
}

TEST(PreviewBuild, MessagesAndWhatIsLeft) {
    const auto registry = MakeBuiltinRegistry();
    const struct {
        const char* What;
        const char* Text;
        std::vector<std::string> Messages;  // a message ending in "*" is a prefix
        std::size_t Components;
    } cases[] = {
        {"valid", "object Form1: TForm1\r\n  object B: TButton\r\n  end\r\nend\r\n", {}, 1},
        {"unknown class with children and an unknown property",
         "object Form1: TForm1\r\n  Glyph2 = 1\r\n  object B: TButton\r\n  end\r\n"
         "  object F: TFooButton\r\n    object C: TButton\r\n    end\r\n  end\r\nend\r\n",
         {"ERROR=Property Glyph2 does not exist", "ERROR=Class TFooButton not found"},
         1},
        {"syntax error", "object Form1: TForm1\r\n  Left 8\r\nend\r\n", {"ERROR=Reader: *line 2"}, 0},
        {"empty text", "", {"ERROR=Reader: *"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ObjectPtr form = CreateObject(registry->Of(cls::TForm), *registry);
        std::vector<std::string> messages;
        FormNames names;
        BuildFormFromLines(*form, SplitFormLines(c.Text), *registry, fw::CodePage::Default(), messages, &names);
        ASSERT_EQ(messages.size(), c.Messages.size()) << (messages.empty() ? "" : messages.front());
        for (std::size_t i = 0; i < messages.size(); ++i) {
            const std::string& want = c.Messages[i];
            const std::size_t star = want.find('*');
            if (star == std::string::npos) {
                EXPECT_EQ(messages[i], want);
            } else {
                EXPECT_EQ(messages[i].rfind(want.substr(0, star), 0), 0u) << messages[i];
                EXPECT_NE(messages[i].find(want.substr(star + 1)), std::string::npos) << messages[i];
            }
        }
        EXPECT_EQ(form->Components().size(), c.Components);
    }
}

TEST(PreviewBuild, SplitLinesKeepsEveryLine) {
    EXPECT_EQ(SplitFormLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitFormLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SplitFormLines("").empty());
}

}  // namespace
