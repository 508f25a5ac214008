#include "cli/cliargs.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "base/codepage.h"
#include "base/version.h"

namespace fw::cli {

namespace {

struct CommandEntry {
    std::string_view Name;
    CommandKind Kind;
};

constexpr CommandEntry Commands[] = {
    {"convert", CommandKind::Convert},
    {"detect", CommandKind::Detect},
    {"check", CommandKind::Check},
    {"classes", CommandKind::Classes},
    {"resources", CommandKind::Resources},
    {"forms", CommandKind::Forms},
    {"extract", CommandKind::Extract},
    {"pkginfo", CommandKind::PackageInfo},
    {"set", CommandKind::Set},
    {"get", CommandKind::Get},
    {"rename", CommandKind::Rename},
    {"remove-property", CommandKind::RemoveProperty},
};

// Every option the tool knows, so that one given to the wrong command is reported as
// misplaced rather than unknown.
constexpr std::string_view KnownOptions[] = {
    "--to",          "--codepage", "-o",     "--out-dir", "--in-place",           "--page",
    "--force",       "-j",         "--jobs", "--package", "--installed-packages", "--format",
    "--search-path", "--dry-run"};

// More workers than this would only queue for the disk.
constexpr unsigned MaxJobs = 256;

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// "874, 932, 936, 949, 950, 1250-1258": the code pages the codec has, runs of three or
// more consecutive numbers joined as ranges.
std::string SupportedCodePages() {
    const std::vector<int> numbers = CodePage::Supported();
    std::string list;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t last = i;
        while (last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1)
            ++last;
        if (!list.empty()) list += ", ";
        list += std::to_string(numbers[i]);
        if (last >= i + 2) {
            list += "-" + std::to_string(numbers[last]);
            i = last + 1;
        } else {
            ++i;
        }
    }
    return list;
}

std::optional<FormEncoding> EncodingFromName(std::string_view name) {
    if (name == "text") return FormEncoding::Text;
    if (name == "binary") return FormEncoding::Binary;
    if (name == "resource") return FormEncoding::Resource;
    return std::nullopt;
}

const char* OutputOptionName(OutputMode mode) {
    switch (mode) {
        case OutputMode::File:
            return "-o";
        case OutputMode::Directory:
            return "--out-dir";
        case OutputMode::InPlace:
            return "--in-place";
        case OutputMode::None:
            break;
    }
    return "";
}

class ArgumentParser {
public:
    explicit ArgumentParser(std::span<const std::string> args) : args_(args) {}

    Invocation Parse() {
        if (args_.empty()) {
            result_.ShowHelp = true;
            return result_;
        }
        bool optionsEnded = false;
        for (index_ = 0; index_ < args_.size(); ++index_) {
            const std::string& arg = args_[index_];
            if (!optionsEnded && arg == "--") {
                optionsEnded = true;
            } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
                if (TakeOption(arg)) return result_;
            } else if (result_.Command == CommandKind::None) {
                result_.Command = CommandFromName(arg);
            } else {
                result_.Files.push_back(arg);
            }
        }
        Validate();
        return result_;
    }

private:
    [[noreturn]] void Fail(const std::string& message) const { throw UsageError(message, result_.Command); }

    static CommandKind CommandFromName(const std::string& name) {
        for (const CommandEntry& entry : Commands) {
            if (entry.Name == name) return entry.Kind;
        }
        throw UsageError("unknown command " + Quoted(name), CommandKind::None);
    }

    // Handles one option; returns true when parsing should stop because the
    // invocation is complete (help or version).
    bool TakeOption(const std::string& arg) {
        std::string name = arg;
        inlineValue_.reset();
        if (arg.starts_with("--")) {
            const std::size_t equals = arg.find('=');
            if (equals != std::string::npos) {
                name = arg.substr(0, equals);
                inlineValue_ = arg.substr(equals + 1);
            }
        } else if (arg.starts_with("-j") && arg.size() > 2) {
            // -j4, as make takes it.
            name = "-j";
            inlineValue_ = arg.substr(2);
        }

        if (name == "--help" || name == "-h") {
            RequireNoValue(name);
            result_.ShowHelp = true;
            return true;
        }
        if (name == "--version") {
            RequireNoValue(name);
            result_.ShowVersion = true;
            return true;
        }

        const CommandKind command = result_.Command;
        const bool converting = command == CommandKind::Convert;
        const bool extracting = command == CommandKind::Extract;
        const bool readingPe = command == CommandKind::Resources || command == CommandKind::Forms ||
                               extracting || command == CommandKind::PackageInfo;
        const bool editing = IsEditCommand(command);
        if (name == "--to" && (converting || extracting)) {
            if (result_.Target) Fail(Quoted(name) + " given more than once");
            const std::string value = TakeValue(name);
            result_.Target = EncodingFromName(value);
            if (extracting && result_.Target == FormEncoding::Resource) result_.Target.reset();
            if (!result_.Target) {
                Fail("unknown encoding " + Quoted(value) +
                     (extracting ? " for --to (use text or binary)"
                                 : " for --to (use text, binary or resource)"));
            }
        } else if (name == "--page" && command == CommandKind::PackageInfo) {
            if (result_.Page) Fail(Quoted(name) + " given more than once");
            const std::string value = TakeValue(name);
            result_.Page = fw::pe::ReportPageFromName(value);
            if (!result_.Page)
                Fail("unknown page " + Quoted(value) + " for --page (use header, classes, forms or flags)");
        } else if (name == "--format" && command == CommandKind::Check) {
            if (formatGiven_) Fail(Quoted(name) + " given more than once");
            formatGiven_ = true;
            const std::string value = TakeValue(name);
            if (value != "text" && value != "json")
                Fail("unknown format " + Quoted(value) + " for --format (use text or json)");
            result_.JsonOutput = value == "json";
        } else if (name == "--search-path" && command == CommandKind::Check) {
            result_.SearchPaths.push_back(TakeValue(name));
        } else if (TakePackageOption(name)) {
            // A design package option of check or classes, taken.
        } else if (name == "--out-dir" && extracting) {
            SetOutput(OutputMode::Directory, TakeValue(name));
        } else if (name == "--dry-run" && editing && command != CommandKind::Get) {
            RequireNoValue(name);
            result_.DryRun = true;
        } else if (name == "--codepage" && (converting || command == CommandKind::Check ||
                                            command == CommandKind::Detect || readingPe || editing)) {
            if (codePageGiven_) Fail(Quoted(name) + " given more than once");
            codePageGiven_ = true;
            result_.CodePageGiven = true;
            result_.CodePage = ParseCodePage(TakeValue(name));
        } else if (name == "-o" && converting) {
            SetOutput(OutputMode::File, TakeValue(name));
        } else if (name == "--out-dir" && converting) {
            SetOutput(OutputMode::Directory, TakeValue(name));
        } else if (name == "--in-place" && converting) {
            RequireNoValue(name);
            SetOutput(OutputMode::InPlace, {});
        } else if (name == "--force" && (converting || extracting)) {
            RequireNoValue(name);
            result_.Force = true;
        } else if ((name == "-j" || name == "--jobs") && converting) {
            if (jobsGiven_) Fail(Quoted(name) + " given more than once");
            jobsGiven_ = true;
            result_.Jobs = ParseJobs(name, TakeValue(name));
        } else if (command != CommandKind::None && IsKnownOption(name)) {
            Fail("option " + Quoted(name) + " does not apply to " + CommandName(command));
        } else {
            Fail("unknown option " + Quoted(arg));
        }
        return false;
    }

    // The design package options of the commands that read forms with the component
    // runtime; false for any other option or command.
    bool TakePackageOption(const std::string& name) {
        const CommandKind command = result_.Command;
        if (command != CommandKind::Check && command != CommandKind::Classes && !IsEditCommand(command))
            return false;
        if (name == "--package") {
            result_.Packages.push_back(TakeValue(name));
            return true;
        }
        if (name == "--installed-packages") {
            RequireNoValue(name);
            result_.InstalledPackages = true;
            return true;
        }
        return false;
    }

    static bool IsEditCommand(CommandKind command) {
        return command == CommandKind::Set || command == CommandKind::Get || command == CommandKind::Rename ||
               command == CommandKind::RemoveProperty;
    }

    static bool IsKnownOption(std::string_view name) {
        for (std::string_view known : KnownOptions) {
            if (known == name) return true;
        }
        return false;
    }

    void RequireNoValue(const std::string& name) const {
        if (inlineValue_) Fail(Quoted(name) + " takes no value");
    }

    // The value of the current option: after "=" or the next argument. A following
    // argument that looks like an option is taken for a forgotten value rather than
    // swallowed; a file name starting with "-" can be written "./-name".
    std::string TakeValue(const std::string& name) {
        if (inlineValue_) {
            if (inlineValue_->empty()) Fail(Quoted(name) + " needs a value");
            return *inlineValue_;
        }
        if (index_ + 1 >= args_.size()) Fail(Quoted(name) + " needs a value");
        const std::string& next = args_[index_ + 1];
        if (next.empty() || (next.size() > 1 && next[0] == '-')) Fail(Quoted(name) + " needs a value");
        ++index_;
        return next;
    }

    int ParseCodePage(const std::string& text) const {
        int number = 0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, number);
        if (error != std::errc() || stop != end || CodePage::Find(number) == nullptr) {
            Fail("unsupported code page " + Quoted(text) + " (supported: " + SupportedCodePages() + ")");
        }
        return number;
    }

    unsigned ParseJobs(const std::string& name, const std::string& text) const {
        unsigned number = 0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, number);
        if (error != std::errc() || stop != end || number < 1 || number > MaxJobs) {
            Fail("bad value " + Quoted(text) + " for " + Quoted(name) + " (use a number from 1 to " +
                 std::to_string(MaxJobs) + ")");
        }
        return number;
    }

    void SetOutput(OutputMode mode, std::string path) {
        if (result_.Output == mode) Fail(Quoted(OutputOptionName(mode)) + " given more than once");
        if (result_.Output != OutputMode::None) {
            Fail(Quoted(OutputOptionName(mode)) + " cannot be combined with " +
                 Quoted(OutputOptionName(result_.Output)));
        }
        result_.Output = mode;
        result_.OutputPath = std::move(path);
    }

    void Validate() {
        switch (result_.Command) {
            case CommandKind::None:
                Fail("missing command");
            case CommandKind::Convert:
                if (!result_.Target) Fail("missing --to");
                if (result_.Files.empty()) Fail("no input files");
                if (result_.Output == OutputMode::None) Fail("missing -o, --out-dir or --in-place");
                if (result_.Output == OutputMode::File && result_.Files.size() != 1) {
                    Fail("-o needs exactly one input file");
                }
                if (ReadsStandardInput()) {
                    if (result_.Output == OutputMode::InPlace)
                        Fail("--in-place cannot replace standard input");
                    if (result_.Output == OutputMode::Directory)
                        Fail("--out-dir needs a file name; standard input has none (use -o)");
                }
                break;
            case CommandKind::Detect:
            case CommandKind::Check:
                if (result_.Files.empty()) Fail("no input files");
                ReadsStandardInput();
                break;
            case CommandKind::Classes:
                if (result_.Files.size() > 1) Fail("classes takes at most one class name");
                break;
            case CommandKind::Resources:
            case CommandKind::Forms:
            case CommandKind::PackageInfo:
                if (result_.Files.empty()) Fail("no input file");
                if (result_.Files.size() > 1)
                    Fail(std::string(CommandName(result_.Command)) + " takes one file");
                break;
            case CommandKind::Extract:
                if (result_.Files.empty()) Fail("no input file");
                break;
            case CommandKind::Set:
            case CommandKind::Get:
            case CommandKind::Rename:
            case CommandKind::RemoveProperty:
                SplitEdits();
                ReadsStandardInput();
                break;
        }
    }

    // Moves the edits off the end of the files: set's assignments are the arguments from
    // the first one after a file that holds "=" (file names come first); get takes one
    // OBJECT.PROPERTY, rename OLD and NEW, remove-property one PATTERN.
    void SplitEdits() {
        std::vector<std::string>& files = result_.Files;
        std::size_t editsFrom = files.size();
        switch (result_.Command) {
            case CommandKind::Set: {
                const auto first =
                    std::find_if(files.begin() + (files.empty() ? 0 : 1), files.end(),
                                 [](const std::string& arg) { return arg.find('=') != std::string::npos; });
                editsFrom = static_cast<std::size_t>(first - files.begin());
                for (auto it = first; it != files.end(); ++it) {
                    if (it->find('=') == std::string::npos)
                        Fail("file " + Quoted(*it) + " after the assignments (files come first)");
                }
                if (editsFrom == files.size()) Fail("no OBJECT.PROPERTY=VALUE given");
                break;
            }
            case CommandKind::Get:
                if (files.size() != 2) Fail("get takes one FILE and one OBJECT.PROPERTY");
                editsFrom = 1;
                break;
            case CommandKind::Rename:
                if (files.size() != 3) Fail("rename takes one FILE, the OLD name and the NEW one");
                editsFrom = 1;
                break;
            case CommandKind::RemoveProperty:
                if (files.size() < 2) Fail("remove-property takes FILE... and a PATTERN");
                editsFrom = files.size() - 1;
                break;
            default:
                return;
        }
        if (editsFrom == 0) Fail("no input files");
        result_.Edits.assign(files.begin() + static_cast<std::ptrdiff_t>(editsFrom), files.end());
        files.resize(editsFrom);
        if (result_.Command == CommandKind::Get) return;
        // Standard input gives its result on standard output; there is nothing to replace.
        if (files.size() > 1 && std::find(files.begin(), files.end(), StandardStreamName) != files.end())
            Fail("standard input ('-') cannot be edited with other files");
    }

    // Whether "-" is among the input files; it may be named once, as standard input
    // can be read only once.
    bool ReadsStandardInput() const {
        const auto count = std::count(result_.Files.begin(), result_.Files.end(), StandardStreamName);
        if (count > 1) Fail("standard input ('-') named more than once");
        return count == 1;
    }

    std::span<const std::string> args_;
    std::size_t index_ = 0;
    std::optional<std::string> inlineValue_;
    bool codePageGiven_ = false;
    bool formatGiven_ = false;
    bool jobsGiven_ = false;
    Invocation result_;
};

// The help of each command; "{codepages}" stands for the list of code pages.
const char* HelpTemplate(CommandKind command) {
    switch (command) {
        case CommandKind::None:
            return "Usage: formwright-cli COMMAND [OPTIONS] FILE...\n"
                   "\n"
                   "Converts, identifies and checks Delphi and C++Builder form files (.dfm) in\n"
                   "their three encodings: text, binary (starting \"TPF0\") and resource-wrapped\n"
                   "binary (starting FF 0A 00), and lists the component classes it knows. Reads\n"
                   "the form resources and package information of compiled programs, DLLs and\n"
                   "packages without running them.\n"
                   "\n"
                   "Commands:\n"
                   "  convert   convert forms to another encoding\n"
                   "  detect    print the encoding of each file\n"
                   "  check     check that each form converts cleanly, writing nothing\n"
                   "  classes   list the known component classes, or one class's properties\n"
                   "  resources list the resources of a Windows executable, DLL or package\n"
                   "  forms     list the form resources of a Windows executable, DLL or package\n"
                   "  extract   write the form resources of an executable, DLL or package to files\n"
                   "  pkginfo   report a package's required packages, units, classes and flags\n"
                   "  set       set property values in forms, as the smallest change to each\n"
                   "  get       print a property value as a form stores it\n"
                   "  rename    rename an object and the references to it\n"
                   "  remove-property  remove the properties that match a pattern\n"
                   "\n"
                   "Options:\n"
                   "  -h, --help   show this help; 'formwright-cli COMMAND --help' shows a\n"
                   "               command's options\n"
                   "  --version    print the version\n"
                   "\n"
                   "Exit status: 0 when every file succeeded, 1 when any file failed, 2 on a\n"
                   "command line that cannot be run.\n";
        case CommandKind::Convert:
            return "Usage: formwright-cli convert --to ENCODING [--codepage N] [--force] [-j N]\n"
                   "                              FILE... (-o OUT | --out-dir DIR | --in-place)\n"
                   "\n"
                   "Converts each form file to ENCODING. The encoding of an input is taken from\n"
                   "its first bytes; an input already in ENCODING is read through to check that\n"
                   "it is a form, then copied unchanged. FILE '-' is standard input.\n"
                   "\n"
                   "Options:\n"
                   "  --to ENCODING   text, binary or resource (required)\n"
                   "  --codepage N    8-bit code page of form text and of 8-bit strings:\n"
                   "                  {codepages}. Without it each form is read in\n"
                   "                  the page its Charset values declare (SHIFTJIS_CHARSET:\n"
                   "                  932, ...), else 1252. A form whose bytes do not fit the\n"
                   "                  page, or that declares another, is converted byte for\n"
                   "                  byte with a warning 'FILE: warning: ...' on standard\n"
                   "                  error. Text that starts with a UTF-8 byte-order mark is\n"
                   "                  read as UTF-8 whatever the code page.\n"
                   "  -o OUT          write the result to OUT (one input file only); '-' is\n"
                   "                  standard output\n"
                   "  --out-dir DIR   write each result to DIR under the input's file name;\n"
                   "                  DIR is created when missing\n"
                   "  --in-place      replace each input and keep the previous file as its\n"
                   "                  backup: Form1.dfm -> Form1.~dfm, Form1 -> Form1.~. A file\n"
                   "                  the conversion leaves as it is is not written, and its\n"
                   "                  backup stays.\n"
                   "  --force         replace files that already exist at -o or --out-dir\n"
                   "                  names; without it they are reported and left alone\n"
                   "  -j N, --jobs N  convert N files at once (default: one per processor core)\n"
                   "  -h, --help      show this help\n"
                   "\n"
                   "Each result is written to a temporary file beside its target and renamed\n"
                   "over it, so a failed conversion leaves the target as it was. -o follows a\n"
                   "symbolic link to the file it names; under --out-dir a link is never\n"
                   "followed, and --force replaces the link itself. Runs that convert the same\n"
                   "file at once take turns. A failure is reported as 'FILE: message' on\n"
                   "standard error, in the order of the files, and the next file is converted.\n"
                   "Exit status: 0 when every file was converted, 1 when any failed, 2 on a\n"
                   "command line that cannot be run.\n";
        case CommandKind::Detect:
            return "Usage: formwright-cli detect [--codepage N] FILE...\n"
                   "\n"
                   "Prints 'FILE<TAB>ENCODING<TAB>CODEPAGE (SOURCE)' for each file. The encoding\n"
                   "is decided by the first bytes alone: FF 0A 00 is resource, \"TPF\" in any\n"
                   "letter case is binary, anything else is text. CODEPAGE is the one the other\n"
                   "commands read the form in, SOURCE where it comes from: 'option' (--codepage),\n"
                   "'declared' (the most frequent page the form's Charset values name, such as\n"
                   "SHIFTJIS_CHARSET for 932) or 'default' (1252). The content is not checked;\n"
                   "see 'check'. FILE '-' is standard input.\n"
                   "\n"
                   "Options:\n"
                   "  --codepage N   report N as the code page of every file: {codepages}\n"
                   "  -h, --help     show this help\n"
                   "\n"
                   "Exit status: 0 when every file was read, 1 when any could not be read, 2 on\n"
                   "a command line that cannot be run.\n";
        case CommandKind::Check:
            return "Usage: formwright-cli check [--codepage N] [--format text|json] [--package BPL]...\n"
                   "                            [--installed-packages] [--search-path DIR]... FILE...\n"
                   "\n"
                   "Builds each form with the component runtime, as the editor's preview does,\n"
                   "whole: the forms it inherits from and its frames are read from their own\n"
                   "files, looked for in the form's folder and its parents up to the project's\n"
                   "top, then in each --search-path DIR;\n"
                   "and prints 'FILE: ok', or one 'FILE: ERROR=message' line for each complaint:\n"
                   "a class or property the runtime does not know, a value that does not fit,\n"
                   "or 'ERROR=Reader: ...' when the text has a syntax error. Binary and resource\n"
                   "forms are converted to text first; one that cannot be read is reported as\n"
                   "'FILE: message' on standard error. Nothing is written. FILE '-' is standard\n"
                   "input.\n"
                   "\n"
                   "Options:\n"
                   "  --codepage N   8-bit code page of form text and of 8-bit strings:\n"
                   "                 {codepages}; without it, the page each form's\n"
                   "                 Charset values declare, else 1252. Bytes that do not fit\n"
                   "                 the page, or a declared page that differs from it, are\n"
                   "                 warned of as 'FILE: warning: ...' on standard error\n"
                   "  --format F     text (default) or json: one JSON document\n"
                   "                 {\"files\": [{\"file\": FILE, \"messages\": [...]}]}\n"
                   "  --search-path DIR\n"
                   "                 also look for ancestor and frame files in DIR (not its\n"
                   "                 subfolders); may be given more than once\n"
                   "{packageoptions}"
                   "  -h, --help     show this help\n"
                   "\n"
                   "Exit status: 0 when every form built without a message, 1 when any message\n"
                   "was printed, a file could not be read or a package not loaded, 2 on a\n"
                   "command line that cannot be run.\n";
        case CommandKind::Classes:
            return "Usage: formwright-cli classes [--package BPL]... [--installed-packages] [NAME]\n"
                   "\n"
                   "Without NAME, prints the component classes the form reader can create or\n"
                   "name, sorted by name, one per line as 'NAME<TAB>UNIT<TAB>PARENT'.\n"
                   "\n"
                   "With NAME (in any letter case), prints the class, its unit, its ancestry\n"
                   "up to TObject and the number of its published properties, then a blank\n"
                   "line and each published property as 'NAME<TAB>TYPE<TAB>KIND<TAB>DEFAULT',\n"
                   "sorted by name. DEFAULT is the value a new object starts with, written as\n"
                   "form text writes it; it is empty where there is none, and an object the\n"
                   "property owns shows as its class name in parentheses.\n"
                   "\n"
                   "Options:\n"
                   "{packageoptions}"
                   "  -h, --help     show this help\n"
                   "\n"
                   "Exit status: 0 on success, 1 when NAME is not a known class or a package\n"
                   "was not loaded, 2 on a command line that cannot be run.\n";
        case CommandKind::Resources:
            return "Usage: formwright-cli resources [--codepage N] FILE\n"
                   "\n"
                   "Lists every resource of a Windows PE file (executable, DLL, ActiveX control,\n"
                   "control-panel applet or package), one per line as\n"
                   "'TYPE<TAB>NAME<TAB>LANGUAGE<TAB>CODEPAGE<TAB>SIZE', in the order of the\n"
                   "file's resource directory. TYPE is the standard name of the type (RCDATA,\n"
                   "BITMAP, ...) or, for any other type, its name or number in double quotes.\n"
                   "Nothing from the file is run. A damaged file lists the resources found\n"
                   "before the damage.\n"
                   "\n"
                   "Options:\n"
                   "  --codepage N   8-bit code page for resource names:\n"
                   "                 {codepages} (default 1252)\n"
                   "  -h, --help     show this help\n"
                   "\n"
                   "Exit status: 0 on success, 1 when the file cannot be read or is not a PE\n"
                   "file, 2 on a command line that cannot be run.\n";
        case CommandKind::Forms:
            return "Usage: formwright-cli forms [--codepage N] FILE\n"
                   "\n"
                   "Prints the name of each form resource of a Windows PE file, one per line:\n"
                   "the RCDATA resources that hold a binary form stream (starting \"TPF0\"). A\n"
                   "form present in several languages is listed once per language.\n"
                   "\n"
                   "Options:\n"
                   "  --codepage N   8-bit code page for resource names:\n"
                   "                 {codepages} (default 1252)\n"
                   "  -h, --help     show this help\n"
                   "\n"
                   "Exit status: 0 on success, 1 when the file cannot be read or is not a PE\n"
                   "file, 2 on a command line that cannot be run.\n";
        case CommandKind::Extract:
            return "Usage: formwright-cli extract [--to text|binary] [--out-dir DIR] [--force]\n"
                   "                              [--codepage N] FILE [NAME...]\n"
                   "\n"
                   "Writes the form resources of a Windows PE file to files named after them:\n"
                   "NAME.dfm, or NAME.LANGUAGE.dfm for the second and further languages of a\n"
                   "form. Without NAME every form is written; names are matched in any letter\n"
                   "case. Characters that cannot stand in a file name become '_'. Each file\n"
                   "written is printed on its own line.\n"
                   "\n"
                   "Options:\n"
                   "  --to text|binary  form text (the default), or the binary form stream as\n"
                   "                    stored in the file\n"
                   "  --out-dir DIR     folder for the files (default: the current folder); it\n"
                   "                    is created when missing\n"
                   "  --force           replace files that already exist; without it they are\n"
                   "                    reported and left alone\n"
                   "  --codepage N      8-bit code page of the form text and of resource names:\n"
                   "                    {codepages} (default 1252)\n"
                   "  -h, --help        show this help\n"
                   "\n"
                   "A symbolic link at a name the forms are written to is never followed; with\n"
                   "--force the link itself is replaced. A form that cannot be converted or\n"
                   "written, or a NAME that is no form of the file, is reported as\n"
                   "'FILE: message' on standard error and the next form is taken. Exit status:\n"
                   "0 when every form was written, 1 when any failed or the file cannot be read\n"
                   "or is not a PE file, 2 on a command line that cannot be run.\n";
        case CommandKind::PackageInfo:
            return "Usage: formwright-cli pkginfo [--page PAGE] [--codepage N] FILE\n"
                   "\n"
                   "Reports the package information of a package, executable or DLL built by\n"
                   "Delphi or C++Builder, read from its PACKAGEINFO resource and its code:\n"
                   "  header    'requires' and the required packages, 'contains' and the units\n"
                   "  classes   the compiled classes found in the code (32-bit files only)\n"
                   "  forms     the form resources\n"
                   "  flags     the options, the module type and the producing compiler\n"
                   "Without --page every page is printed under a '[Header]'-style heading,\n"
                   "after the package description (in UTF-8) when the file has one. A file\n"
                   "without PACKAGEINFO reports empty lists, and its flags page says so.\n"
                   "\n"
                   "Options:\n"
                   "  --page PAGE    print only that page, without a heading: header, classes,\n"
                   "                 forms or flags\n"
                   "  --codepage N   8-bit code page of names:\n"
                   "                 {codepages} (default 1252)\n"
                   "  -h, --help     show this help\n"
                   "\n"
                   "Exit status: 0 on success, 1 when the file cannot be read or is not a PE\n"
                   "file, 2 on a command line that cannot be run.\n";
        case CommandKind::Set:
            return "Usage: formwright-cli set [--codepage N] [--dry-run] [--package BPL]...\n"
                   "                          FILE... OBJECT.PROPERTY=VALUE...\n"
                   "\n"
                   "Sets each property of each form to VALUE, written in form-text syntax:\n"
                   "'Text' (quoted, '' for a quote, #233 for a character code), 10, 1.5,\n"
                   "True, clRed, [akLeft, akTop], ( 'line 1' 'line 2' ). OBJECT is an object's\n"
                   "name, the form's name, or the names from the form down joined with '.'\n"
                   "where names repeat (Form1.Frame1.Button1); '#N' stands for the N-th object\n"
                   "(from 0) under the previous name when it has no name of its own. PROPERTY\n"
                   "may be nested (Font.Style, Margins.Left) or name a collection item\n"
                   "(Columns[1].Width).\n"
                   "\n"
                   "Only the value's line changes: a stored value is replaced, a new one is\n"
                   "inserted among the object's properties where the form would store it, and\n"
                   "a value equal to the property's default is removed. The file keeps its\n"
                   "encoding (text, binary or resource) and code page, and is replaced through\n"
                   "a temporary file with the previous one kept as its backup (Form1.~dfm).\n"
                   "Each change is printed as 'FILE: OBJECT.PROPERTY: OLD -> NEW'. FILE '-'\n"
                   "reads standard input and writes the result to standard output.\n"
                   "\n"
                   "{editoptions}"
                   "\n"
                   "An edit that would leave a form that does not load (an unknown property,\n"
                   "a value that is no value) is refused with the reason and the file is left\n"
                   "as it was. Exit status: 0 when every file was edited (or needed no\n"
                   "change), 1 when any failed, 2 on a command line that cannot be run.\n";
        case CommandKind::Get:
            return "Usage: formwright-cli get [--codepage N] FILE OBJECT.PROPERTY\n"
                   "\n"
                   "Prints the value of a property as the form stores it, in form-text syntax,\n"
                   "every line of a value that takes several. OBJECT and PROPERTY are named as\n"
                   "for 'set'. FILE may be in any encoding; '-' is standard input.\n"
                   "\n"
                   "{editoptions}"
                   "\n"
                   "Exit status: 0 when the value was printed, 1 when the form stores none for\n"
                   "the property (it has its default) or cannot be read, 2 on a command line\n"
                   "that cannot be run.\n";
        case CommandKind::Rename:
            return "Usage: formwright-cli rename [--codepage N] [--dry-run] FILE OLD NEW\n"
                   "\n"
                   "Renames the object OLD (named as for 'set') to NEW, and every reference to\n"
                   "it within the form (Action, FocusControl, PopupMenu, DataSource, ...).\n"
                   "Event handler names are left as they are. The file is written as 'set'\n"
                   "writes it; each changed line is printed.\n"
                   "\n"
                   "{editoptions}"
                   "\n"
                   "Exit status: 0 when renamed, 1 when OLD is no object, NEW is no name or\n"
                   "already taken, or the file cannot be read or written, 2 on a command line\n"
                   "that cannot be run.\n";
        case CommandKind::RemoveProperty:
            return "Usage: formwright-cli remove-property [--codepage N] [--dry-run] FILE... PATTERN\n"
                   "\n"
                   "Removes from each form every property whose OBJECT.PROPERTY matches PATTERN,\n"
                   "where '*' stands for any run of characters and '?' for one, in any letter\n"
                   "case: '*.Explicit*' removes the Explicit sizes that older versions of the\n"
                   "IDE cannot load, 'Form1.PixelsPerInch' one value. Quote the pattern for\n"
                   "the shell. The files are written as 'set' writes them; each removed value\n"
                   "is printed.\n"
                   "\n"
                   "{editoptions}"
                   "\n"
                   "Exit status: 0 when every file was edited (or needed no change), 1 when any\n"
                   "failed, 2 on a command line that cannot be run.\n";
    }
    return "";
}

}  // namespace

Invocation ParseArguments(std::span<const std::string> args) {
    return ArgumentParser(args).Parse();
}

const char* CommandName(CommandKind command) {
    for (const CommandEntry& entry : Commands) {
        if (entry.Kind == command) return entry.Name.data();
    }
    return "";
}

std::string VersionText() {
    return std::string(ProgramName) + " " + std::to_string(FW_VERSION_MAJOR) + "." +
           std::to_string(FW_VERSION_MINOR);
}

std::string HelpText(CommandKind command) {
    std::string text = HelpTemplate(command);
    const std::string_view placeholder = "{codepages}";
    const std::size_t at = text.find(placeholder);
    if (at != std::string::npos) text.replace(at, placeholder.size(), SupportedCodePages());
    // The design package options, shared by the commands that use the component runtime.
    const std::string_view packages = "{packageoptions}";
    const std::size_t packagesAt = text.find(packages);
    if (packagesAt != std::string::npos) {
        text.replace(packagesAt, packages.size(),
                     "  --package BPL  load the design package BPL as the editor loads its\n"
                     "                 packages (read, never run) and know its component\n"
                     "                 classes; may be given more than once, earlier packages\n"
                     "                 first; one that cannot be loaded is reported on\n"
                     "                 standard error\n"
                     "  --installed-packages\n"
                     "                 load the packages of the editor's package list as well,\n"
                     "                 after those of --package (the list is not read otherwise)\n");
    }
    const std::string_view edits = "{editoptions}";
    const std::size_t editsAt = text.find(edits);
    if (editsAt != std::string::npos) {
        std::string options =
            "Options:\n"
            "  --codepage N   8-bit code page of form text and of 8-bit strings:\n"
            "                 " +
            SupportedCodePages() +
            "; without it, the page the\n"
            "                 form's Charset values declare, else 1252\n";
        if (command != CommandKind::Get) options += "  --dry-run      print the changes, write nothing\n";
        options +=
            "  --package BPL  know the component classes of a design package (their\n"
            "                 properties, defaults and order); may be repeated\n"
            "  --installed-packages\n"
            "                 know the classes of the editor's package list as well\n"
            "  -h, --help     show this help\n";
        text.replace(editsAt, edits.size(), options);
    }
    return text;
}

}  // namespace fw::cli