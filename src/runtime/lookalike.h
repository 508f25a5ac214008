#pragma once
// Look-alike rules: which built-in class's look a stand-in (an object of a class the
// runtime does not know) borrows, from its class name and, when no name rule places
// it, from the values its text stores. The rules are data: a table shipped with the
// program, which a user's table in the configuration folder extends (its rules are
// asked first). Logic only; the preview draws with the answer.

#include <string>
#include <string_view>
#include <vector>

#include "runtime/rawvalue.h"

namespace fw::rt {

class Class;
class ClassRegistry;
class Object;

// A problem in a table's text: the 1-based line and what is wrong with it.
struct LookalikeError {
    int Line = 0;
    std::string Message;
};

// One rule: a class name pattern and the built-in class whose look it borrows.
struct LookalikeRule {
    enum class Match : unsigned char { Exact, Prefix, Suffix };
    Match How = Match::Exact;
    std::string Pattern;  // compared ignoring ASCII case
    std::string DrawnAs;  // a built-in class name; empty: drawn as a framed box
    int Line = 0;         // where the table's text gives it
};

class LookalikeTable {
public:
    // The rules of a table's text. Lines with errors are reported in errors and left
    // out; the rest of the table is kept. Never throws for bad text.
    static LookalikeTable Parse(std::string_view text, std::vector<LookalikeError>& errors);
    // The table shipped with the program.
    static std::string_view ShippedText();

    // The shipped table with the rules of the user's table file before its own. Problems
    // in the file come back as preview messages naming it and the line
    // ("ERROR=lookalikes.txt line 3: ..."); its bad lines are left out. A missing file is
    // no problem: the shipped table alone is returned.
    static LookalikeTable WithUserFile(const std::string& path, std::vector<std::string>& messages);

    // Puts the rules of first before this table's, so that they are asked first.
    void Prepend(const LookalikeTable& first);

    // The built-in class whose look a stand-in borrows: the first rule that matches
    // its class name, else what its stored values suggest (Columns: grid-like, Lines:
    // memo-like, ...). Empty when nothing places it: it is then drawn as a framed box
    // with its name and class. The answer is a class name to look up in the registry.
    std::string DrawnAs(const Object& standIn) const;
    // The same from a class name alone (no stored values to reason from).
    std::string DrawnAs(std::string_view className) const;
    // The same for an object being read: its class name, the values its text stores
    // and whether records (child objects) follow them.
    std::string DrawnAs(std::string_view className, const std::vector<RawProperty>& stored,
                        bool holdsRecords) const;

    const std::vector<LookalikeRule>& Rules() const { return rules_; }

private:
    std::vector<LookalikeRule> rules_;
};

// The registered class whose look the stand-in borrows, by the table, or nullptr when it
// is drawn as a framed box. A name the table gives that is not registered counts as none.
const Class* LookalikeClass(const Object& standIn, const LookalikeTable& table,
                            const ClassRegistry& registry);
// The same for an object being read (see LookalikeTable::DrawnAs), for
// ClassRegistry::SetStandInLook.
const Class* LookalikeClass(std::string_view className, const std::vector<RawProperty>& stored,
                            bool holdsRecords, const LookalikeTable& table, const ClassRegistry& registry);

}  // namespace fw::rt
