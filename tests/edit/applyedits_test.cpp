#include <gtest/gtest.h>

#include "edit/formedit.h"

namespace fw::edit {
namespace {

TEST(ApplyEdits, ReplacesInsertsAndRemovesInOnePass) {
    const std::vector<TextEdit> edits = {{0, 1, "X"}, {3, 0, "+"}, {5, 2, ""}};
    EXPECT_EQ(ApplyEdits("abcdefgh", edits), "Xbc+deh");
    const std::vector<TextEdit> overlapping = {{0, 3, ""}, {2, 1, ""}};
    EXPECT_THROW(ApplyEdits("abcdef", overlapping), EditError);
}

}  // namespace
}  // namespace fw::edit
