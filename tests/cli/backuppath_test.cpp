#include <gtest/gtest.h>

#include <string>

#include "cli/commands.h"

namespace {

TEST(BackupPath, KeepsTheExtensionBehindATilde) {
    const std::string longExtension(300, 'e');
    const struct {
        std::string Path;
        std::string Backup;
    } cases[] = {
        {"Form1.dfm", "Form1.~dfm"},
        {"Form1", "Form1.~"},
        {"/src/app/Unit1.DFM", "/src/app/Unit1.~DFM"},
        // Only the last dot of the file name counts, never one in a folder name.
        {"forms.v2/Form1", "forms.v2/Form1.~"},
        {"a.b/Form1.old.dfm", "a.b/Form1.old.~dfm"},
        {"Form1.", "Form1.~"},
        {".dfm", ".~dfm"},
        // The extension is kept to 255 characters.
        {"Form1." + longExtension, "Form1.~" + longExtension.substr(0, 255)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::cli::BackupPath(c.Path), c.Backup) << c.Path;
    }
}

}  // namespace
