// What the previews of one context share, and what separate contexts keep apart: the
// names of the live forms and the look-alike rules the context was made with.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/codepage.h"
#include "preview/previewcontext.h"
#include "preview/virtualdesktop.h"
#include "runtime/formbuild.h"

namespace {

using fw::preview::PreviewContext;
using fw::preview::VirtualDesktop;

const std::string kForm = "object Form1: TForm1\n  ClientHeight = 60\n  ClientWidth = 80\nend\n";

void Build(VirtualDesktop& desktop, const std::string& text) {
    desktop.BuildPreview(text, fw::CodePage::Default());
}

TEST(PreviewContext, FormNamesAreSharedWithinAContextOnly) {
    PreviewContext first;
    VirtualDesktop one(first);
    VirtualDesktop two(first);
    Build(one, kForm);
    Build(two, kForm);
    ASSERT_NE(one.PreviewForm(), nullptr);
    ASSERT_NE(two.PreviewForm(), nullptr);
    EXPECT_EQ(one.PreviewForm()->Name(), "Form1");
    EXPECT_EQ(two.PreviewForm()->Name(), "Form1_1");

    PreviewContext second;
    VirtualDesktop other(second);
    Build(other, kForm);
    ASSERT_NE(other.PreviewForm(), nullptr);
    EXPECT_EQ(other.PreviewForm()->Name(), "Form1");

    // A disposed preview gives its name back.
    one.DisposePreview();
    VirtualDesktop three(first);
    Build(three, kForm);
    ASSERT_NE(three.PreviewForm(), nullptr);
    EXPECT_EQ(three.PreviewForm()->Name(), "Form1");
}

TEST(PreviewContext, EveryPreviewShowsTheComplaintsAboutItsLookalikeFile) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "fw_previewcontext_test";
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "lookalikes.txt";
    {
        std::ofstream out(file, std::ios::binary);
        out << "not a rule\n";
    }
    const std::string complaint = "ERROR=lookalikes.txt line 1: expected 'PATTERN = CLASS'";
    PreviewContext withFile(file.string());
    PreviewContext without{std::string()};
    for (int build = 0; build < 2; ++build) {
        VirtualDesktop desktop(withFile);
        Build(desktop, kForm);
        const auto& messages = desktop.PreviewMessages();
        EXPECT_NE(std::find(messages.begin(), messages.end(), complaint), messages.end())
            << "build " << build;
    }
    VirtualDesktop plain(without);
    Build(plain, kForm);
    EXPECT_TRUE(plain.PreviewMessages().empty());
    std::filesystem::remove_all(dir);
}

}  // namespace
