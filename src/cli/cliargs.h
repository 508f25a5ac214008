#pragma once
// The command line of formwright-cli: what the user asked for, parsed into plain values,
// and the help texts that describe it.

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "codec/formformat.h"
#include "peimage/packageinfo.h"

namespace fw::cli {

inline constexpr const char* ProgramName = "formwright-cli";

enum class CommandKind {
    None,
    Convert,
    Detect,
    Check,
    Classes,
    Resources,
    Forms,
    Extract,
    PackageInfo,
    Set,
    Get,
    Rename,
    RemoveProperty,
};

// Where convert puts its results.
enum class OutputMode { None, File, Directory, InPlace };

struct Invocation {
    CommandKind Command = CommandKind::None;
    bool ShowHelp = false;  // help for Command (for the tool when None)
    bool ShowVersion = false;
    std::optional<FormEncoding> Target;  // convert and extract --to
    int CodePage = 1252;                 // --codepage, already checked
    // Whether --codepage was given. Without it each form is read in the code page its
    // Charset values declare, and in CodePage when it declares none.
    bool CodePageGiven = false;
    OutputMode Output = OutputMode::None;
    std::string OutputPath;  // the file of -o, the folder of --out-dir
    // The input files; for classes, the class name if any; for extract, the PE file
    // followed by the names of the forms to extract.
    std::vector<std::string> Files;
    std::optional<fw::pe::ReportPage> Page;  // pkginfo --page
    // convert and extract --force: an existing file at an output path may be replaced
    // (a symbolic link there is replaced itself, never written through).
    bool Force = false;
    // convert -j: files converted at once; 0 is one per processor core.
    unsigned Jobs = 0;
    // check and classes: the design packages of --package, in the order given, and
    // whether --installed-packages asks for the editor's package list as well.
    std::vector<std::string> Packages;
    bool InstalledPackages = false;
    // check --format json: the messages as one JSON document instead of lines.
    bool JsonOutput = false;
    // check --search-path: the folders searched for ancestor and frame files after the
    // form's own folder and its parents, in the order given.
    std::vector<std::string> SearchPaths;
    // The edits of set, get, rename and remove-property, taken off the end of the
    // arguments: set's OBJECT.PROPERTY=VALUE assignments, get's OBJECT.PROPERTY,
    // rename's OLD and NEW, remove-property's PATTERN. Files holds the forms.
    std::vector<std::string> Edits;
    // The edit commands' --dry-run: print what would change, write nothing.
    bool DryRun = false;
};

// The name that stands for standard input as an input file and for standard output
// as convert's -o; "./-" names a file called "-".
inline constexpr std::string_view StandardStreamName = "-";

// A command line that cannot be run. The message names the offending argument;
// Command tells which command's help to point the user to.
class UsageError : public std::runtime_error {
public:
    UsageError(const std::string& message, CommandKind command)
        : std::runtime_error(message), command_(command) {}
    CommandKind Command() const noexcept { return command_; }

private:
    CommandKind command_;
};

// Parses the arguments that follow the program name. No arguments at all asks for the
// tool's help. Throws UsageError for an unknown command or option, a missing or bad
// value, or a combination of options that does not make sense.
Invocation ParseArguments(std::span<const std::string> args);

// The name of a command as typed on the command line ("convert"); "" for None.
const char* CommandName(CommandKind command);

// The help of one command, or of the whole tool for CommandKind::None.
std::string HelpText(CommandKind command);

// "formwright-cli <major>.<minor>".
std::string VersionText();

}  // namespace fw::cli
