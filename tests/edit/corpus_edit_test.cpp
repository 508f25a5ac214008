// Edits of the real text forms of the shared corpus: a property set on the first
// visual object changes one line or adds one, renaming the first control changes only
// the lines that name it, and every result still converts.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "base/asciitext.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/textlines.h"
#include "edit/formedit.h"
#include "runtime/registry.h"

namespace fw::edit {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> TextForms() {
    std::vector<std::string> files;
    std::ifstream manifest(fs::path(FW_CORPUS_DIR) / "forms" / "MANIFEST.tsv");
    std::string line;
    while (std::getline(manifest, line)) {
        std::vector<std::string> fields;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, '\t');)
            fields.push_back(field);
        if (fields.size() > 5 && fields[5] == "text") files.push_back(fields[0]);
    }
    return files;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The text converts to binary; empty when it does, else the reader's message.
std::string ConversionError(const std::string& text) {
    std::string storage;
    const std::string_view read = WithLineFeeds(text, storage);
    try {
        ByteViewStream input(ByteSpan(reinterpret_cast<const std::uint8_t*>(read.data()), read.size()));
        MemoryStream binary;
        TextToBinaryForm(input, binary, CodePage::Default());
        return {};
    } catch (const Exception& e) {
        return e.what();
    }
}

// The lines of after that differ from those of before, when both have as many;
// otherwise whether after is before with exactly one line added.
struct LineDiff {
    std::vector<std::size_t> Changed;  // indexes of the lines that differ
    bool OneAdded = false;
    bool SameCount = false;
};

LineDiff Compare(std::string_view before, std::string_view after) {
    const std::vector<std::string_view> a = TextLines(before), b = TextLines(after);
    LineDiff diff;
    if (a.size() == b.size()) {
        diff.SameCount = true;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i]) diff.Changed.push_back(i);
    } else if (b.size() == a.size() + 1) {
        std::size_t i = 0;
        while (i < a.size() && a[i] == b[i])
            ++i;
        diff.OneAdded = std::equal(a.begin() + static_cast<std::ptrdiff_t>(i), a.end(),
                                   b.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
    return diff;
}

TEST(CorpusEdits, SetAndRenameChangeOnlyTheirLines) {
    if (!fs::is_directory(fs::path(FW_CORPUS_DIR) / "forms"))
        GTEST_SKIP() << "no corpus at " << FW_CORPUS_DIR;
    const std::unique_ptr<rt::ClassRegistry> registry = rt::MakeBuiltinRegistry();
    int passed = 0, unreadable = 0, childless = 0, noCaption = 0, unnamed = 0;
    const std::vector<std::string> files = TextForms();
    ASSERT_FALSE(files.empty());
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string text = ReadFile(fs::path(FW_CORPUS_DIR) / "forms" / file);
        if (!ConversionError(text).empty()) {
            ++unreadable;  // the codec's own tests cover forms it cannot read
            continue;
        }
        const FormEditor editor(text, CodePage::Default(), registry.get());
        const std::vector<ObjectEntry> objects = editor.Objects();
        // The first object below the root of a control class, else the first child.
        const ObjectEntry* target = nullptr;
        for (std::size_t i = 1; i < objects.size() && !target; ++i)
            if (const rt::Class* cls = registry->FindClassByName(objects[i].ClassName);
                cls && cls->Has(rt::CfControl))
                target = &objects[i];
        if (!target && objects.size() > 1) target = &objects[1];
        if (!target) {
            ++childless;
            continue;
        }
        bool ok = true;
        for (const auto& [property, value] :
             {std::pair<std::string, std::string>{"Caption", "'Edited by a test'"}, {"Left", "1234"}}) {
            SCOPED_TRACE(property);
            EditResult result;
            try {
                result = editor.SetProperty(target->Path, property, value);
            } catch (const EditError& e) {
                // A class the registry knows without a caption.
                EXPECT_NE(std::string(e.what()).find("has no property"), std::string::npos) << e.what();
                ++noCaption;
                continue;
            }
            const std::string after = ApplyEdits(text, result.Edits);
            const LineDiff diff = Compare(text, after);
            const bool multiLine =
                editor.GetProperty(target->Path, property).value_or("").find_first_of("\r\n") !=
                std::string::npos;
            EXPECT_EQ(result.Edits.size(), 1u);
            EXPECT_TRUE(diff.OneAdded || (diff.SameCount && diff.Changed.size() == 1) || multiLine);
            EXPECT_EQ(ConversionError(after), "");
            ok = ok && !HasFailure();
        }
        // The first control the form itself makes: one that comes from the ancestor
        // form keeps its name.
        const ObjectEntry* control = nullptr;
        for (std::size_t i = 1; i < objects.size() && !control; ++i)
            if (objects[i].Keyword != "inherited" && &objects[i] >= target) control = &objects[i];
        if (!control || control->Name.empty()) {
            ++unnamed;
        } else {
            const std::string newName = "RenamedByTest";
            const EditResult result = editor.RenameObject(control->Path, newName);
            const std::string after = ApplyEdits(text, result.Edits);
            const LineDiff diff = Compare(text, after);
            EXPECT_TRUE(diff.SameCount);
            const std::vector<std::string_view> a = TextLines(text), b = TextLines(after);
            const std::string oldUpper = AsciiUpper(control->Name);
            for (std::size_t i : diff.Changed) {
                EXPECT_NE(AsciiUpper(a[i]).find(oldUpper), std::string::npos) << a[i];
                EXPECT_NE(b[i].find(newName), std::string::npos) << b[i];
            }
            EXPECT_FALSE(diff.Changed.empty());
            EXPECT_EQ(ConversionError(after), "");
        }
        if (ok && !HasFailure()) ++passed;
    }
    std::cout << "text forms: " << files.size() << ", passed " << passed << ", not readable " << unreadable
              << ", without children " << childless << "; without a caption " << noCaption
              << ", no named control of its own to rename " << unnamed << "\n";
}

}  // namespace
}  // namespace fw::edit
