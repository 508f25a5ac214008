// The preview's layout of every real text form: valid JSON; no object of the text is
// lost, whatever its class; a control the text places and leaves visible, on visible
// parents and not on a page that is not shown, is not reported hidden; and one the
// text hides is.

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QJsonDocument>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/stream.h"
#include "codec/textlines.h"
#include "preview/render.h"
#include "preview/virtualdesktop.h"
#include "runtime/formbuild.h"
#include "runtime/metadata.h"
#include "runtime/object.h"
#include "runtime/registry.h"

namespace {

namespace fs = std::filesystem;
using fw::preview::LayoutKind;
using fw::rt::EqualsIgnoringCase;

// What the text says of one object record: read off its own property lines only.
struct TextObject {
    int Parent = -1;
    std::string Name;
    bool Placed = false;     // stores Left, Top, Width, Height or Align
    bool Invisible = false;  // Visible = False
    bool NoTab = false;      // TabVisible = False
    std::string ActivePage;  // as stored, for a page control
    std::string Action;      // as stored, for a control linked to an action
};

std::string_view Trimmed(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

// The object records of a form text, in the order of the text, with their properties.
// Property values that run over several lines (lists, binary data, collections) only
// hold lines that begin with a quote, a digit or letter of hex data, an 'item' or '>';
// none begins with object, inherited or inline followed by a blank, nor with end alone
// except an item's, which is tracked.
std::vector<TextObject> ObjectsOfText(const std::vector<std::string>& lines) {
    std::vector<TextObject> objects;
    std::vector<int> open;  // records being read; -2 for an open collection item
    for (const std::string& raw : lines) {
        std::string_view line = Trimmed(raw);
        if (objects.empty() && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        const std::size_t blank = line.find(' ');
        const std::string_view word = line.substr(0, blank);
        if (blank != std::string_view::npos &&
            (EqualsIgnoringCase(word, "object") || EqualsIgnoringCase(word, "inherited") ||
             EqualsIgnoringCase(word, "inline"))) {
            TextObject o;
            o.Parent = open.empty() ? -1 : open.back();
            std::string_view rest = Trimmed(line.substr(blank + 1));
            const std::size_t colon = rest.find(':');
            o.Name = std::string(Trimmed(rest.substr(0, colon == std::string_view::npos ? 0 : colon)));
            objects.push_back(std::move(o));
            open.push_back(static_cast<int>(objects.size()) - 1);
            continue;
        }
        if (EqualsIgnoringCase(line, "item")) {
            open.push_back(-2);
            continue;
        }
        if (EqualsIgnoringCase(line, "end") || EqualsIgnoringCase(line, "end>")) {
            if (!open.empty()) open.pop_back();
            continue;
        }
        if (open.empty() || open.back() < 0) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view name = Trimmed(line.substr(0, equals));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        TextObject& o = objects[static_cast<std::size_t>(open.back())];
        for (const char* placing : {"Left", "Top", "Width", "Height", "Align"})
            if (EqualsIgnoringCase(name, placing)) o.Placed = true;
        if (EqualsIgnoringCase(name, "Visible") && EqualsIgnoringCase(value, "False")) o.Invisible = true;
        if (EqualsIgnoringCase(name, "TabVisible") && EqualsIgnoringCase(value, "False")) o.NoTab = true;
        if (EqualsIgnoringCase(name, "ActivePage")) o.ActivePage = std::string(value);
        if (EqualsIgnoringCase(name, "Action")) o.Action = std::string(value);
    }
    return objects;
}

bool IsPage(const fw::rt::Object& object) {
    return object.InheritsFrom("TTabSheet") || object.InheritsFrom("TTabPage") ||
           object.InheritsFrom("TPage");
}

TEST(PreviewLayoutCorpus, EveryObjectListedAndPlacedVisibleControlsShown) {
    const fs::path corpus(FW_CORPUS_DIR);
    if (!fs::is_directory(corpus / "forms" / "text")) {
        if (std::getenv("FW_SKIP_CORPUS")) GTEST_SKIP() << "corpus not found";
        FAIL() << "corpus not found at " << corpus
               << " (set FW_CORPUS_DIR at configure time, or FW_SKIP_CORPUS=1 to skip)";
    }
    std::vector<fs::path> files;
    for (const fs::directory_entry& e : fs::directory_iterator(corpus / "forms" / "text"))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    int checked = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        const fw::Bytes bytes = fw::ReadFileBytes(path.string());
        const std::string_view formText(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        const std::vector<TextObject> text = ObjectsOfText(fw::CopyTextLines(formText));
        fw::preview::PreviewContext context;
        fw::preview::VirtualDesktop desktop(context);
        desktop.resize(1280, 1024);
        desktop.BuildPreview(formText, fw::CodePage::Default());
        QApplication::processEvents();
        const std::vector<fw::preview::LayoutEntry> layout = fw::preview::PreviewLayout(desktop);
        ++checked;
        QJsonParseError error;
        QJsonDocument::fromJson(QByteArray::fromStdString(fw::preview::LayoutJson(path.string(), layout,
                                                                                  desktop.PreviewMessages())),
                                &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        ASSERT_EQ(layout.size(), text.size()) << "objects lost or made up";
        const std::vector<fw::rt::ReadObject>& records = desktop.ReadObjects();
        ASSERT_EQ(records.size(), text.size());

        // Which records the text shows: visible (and not linked to an action that is
        // not), on shown parents, not on a page its page control does not show. Pages of controls that name
        // no active page (or name it another way) are left out of the check.
        std::vector<bool> shown(text.size(), false);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const TextObject& t = text[i];
            const fw::rt::Object* live = records[i].Live;
            const auto action = std::find_if(text.begin(), text.end(), [&](const TextObject& a) {
                return !t.Action.empty() && EqualsIgnoringCase(a.Name, t.Action);
            });
            bool on = !t.Invisible && live && (action == text.end() || !action->Invisible);
            if (on && t.Parent >= 0) {
                const TextObject& parent = text[static_cast<std::size_t>(t.Parent)];
                on = shown[static_cast<std::size_t>(t.Parent)] || t.Parent == 0;
                if (IsPage(*live))
                    on = on && !t.NoTab && !t.Name.empty() && EqualsIgnoringCase(parent.ActivePage, t.Name);
            }
            shown[i] = on;
            EXPECT_EQ(layout[i].Name, records[i].Name);
            if (!live || !live->GetClass().Has(fw::rt::CfControl) || t.Parent < 0) continue;
            // A control the text hides stays hidden, whatever its class, unless an action
            // decides.
            if (t.Invisible && t.Action.empty())
                EXPECT_EQ(layout[i].Kind, LayoutKind::Hidden) << t.Name << ": " << layout[i].ClassName;
            if (on && t.Placed)
                EXPECT_NE(layout[i].Kind, LayoutKind::Hidden) << t.Name << ": " << layout[i].ClassName;
        }
    }
    std::cout << "[ corpus   ] " << checked << " text forms laid out\n";
}

}  // namespace
