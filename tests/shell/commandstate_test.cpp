#include <gtest/gtest.h>

#include "shell/commandstate.h"

namespace fw {
namespace {

CommandStates WithDocument() {
    CommandStates c;
    c.saveAs = c.close = c.closeAll = c.arrange = true;
    c.find = c.gotoSource = c.preview = c.rescan = c.properties = true;
    return c;
}

struct EnablingCase {
    const char* name;
    IdleState state;
    CommandStates expected;
};

TEST(CommandState, EnablingFollowsTheDocuments) {
    CommandStates modified = WithDocument();
    modified.save = true;
    CommandStates undo = WithDocument();
    undo.undo = true;
    CommandStates selection = WithDocument();
    selection.copy = selection.cut = true;
    CommandStates paste = WithDocument();
    paste.paste = true;

    const std::vector<EnablingCase> cases = {
        {"nothing open", {}, {}},
        // Without a document, stale editor flags count for nothing.
        {"no document, stale flags", {false, true, true, true, true}, {}},
        {"an unmodified document", {true, false, false, false, false}, WithDocument()},
        {"a modified document", {true, true, false, false, false}, modified},
        {"something to undo", {true, false, true, false, false}, undo},
        {"a selection", {true, false, false, true, false}, selection},
        {"text on the clipboard", {true, false, false, false, true}, paste},
    };
    for (const EnablingCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ComputeCommandStates(c.state), c.expected);
    }
}

}  // namespace
}  // namespace fw
