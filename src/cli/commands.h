#pragma once
// The commands of formwright-cli. Each works through its files in order (convert may
// take several at once, and reports in the same order): a file that fails is reported
// as "path: message" on the error stream and the next one is taken.

#include <iosfwd>
#include <span>
#include <string>

#include "cli/cliargs.h"

namespace fw::cli {

// Exit statuses of the tool.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;  // at least one file failed
inline constexpr int ExitUsage = 2;   // the command line cannot be run

// The whole tool: parses args (the arguments after the program name), runs what they
// ask for and returns the exit status. An input file "-" is read from in; help, version
// and convert's "-o -" go to out; usage errors, with a hint to the help, go to err.
int RunTool(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err);

// Runs a parsed invocation and returns the exit status.
int RunInvocation(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err);

// The name under which a replaced file keeps its previous content: the extension (after
// the last dot of the file name) is kept to at most 255 characters and prefixed with
// "~", so Form1.dfm becomes Form1.~dfm; a name without an extension gets ".~" appended,
// so Form1 becomes Form1.~. Only the last path component is looked at.
std::string BackupPath(const std::string& path);

}  // namespace fw::cli
