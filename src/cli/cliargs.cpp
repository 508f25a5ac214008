#include "cli/cliargs.h"

#include <charconv>
#include <string_view>

#include "codec/codepage.h"

#ifndef FW_VERSION_MAJOR
#error "FW_VERSION_MAJOR must be defined by the build"
#endif
#ifndef FW_VERSION_MINOR
#error "FW_VERSION_MINOR must be defined by the build"
#endif

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
};

// Every option the tool knows, so that one given to the wrong command is reported as
// misplaced rather than unknown.
constexpr std::string_view KnownOptions[] = {"--to", "--codepage", "-o", "--out-dir", "--in-place"};

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// "874, 1250-1258": the code pages the codec has, consecutive numbers joined as ranges.
std::string SupportedCodePages() {
    const std::vector<int> numbers = CodePage::Supported();
    std::string list;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t last = i;
        while (last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1)
            ++last;
        if (!list.empty()) list += ", ";
        list += std::to_string(numbers[i]);
        if (last > i) list += "-" + std::to_string(numbers[last]);
        i = last + 1;
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
        if (name == "--to" && converting) {
            if (result_.Target) Fail(Quoted(name) + " given more than once");
            const std::string value = TakeValue(name);
            result_.Target = EncodingFromName(value);
            if (!result_.Target)
                Fail("unknown encoding " + Quoted(value) + " for --to (use text, binary or resource)");
        } else if (name == "--codepage" && (converting || command == CommandKind::Check)) {
            if (codePageGiven_) Fail(Quoted(name) + " given more than once");
            codePageGiven_ = true;
            result_.CodePage = ParseCodePage(TakeValue(name));
        } else if (name == "-o" && converting) {
            SetOutput(OutputMode::File, TakeValue(name));
        } else if (name == "--out-dir" && converting) {
            SetOutput(OutputMode::Directory, TakeValue(name));
        } else if (name == "--in-place" && converting) {
            RequireNoValue(name);
            SetOutput(OutputMode::InPlace, {});
        } else if (command != CommandKind::None && IsKnownOption(name)) {
            Fail("option " + Quoted(name) + " does not apply to " + CommandName(command));
        } else {
            Fail("unknown option " + Quoted(arg));
        }
        return false;
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

    void SetOutput(OutputMode mode, std::string path) {
        if (result_.Output == mode) Fail(Quoted(OutputOptionName(mode)) + " given more than once");
        if (result_.Output != OutputMode::None) {
            Fail(Quoted(OutputOptionName(mode)) + " cannot be combined with " +
                 Quoted(OutputOptionName(result_.Output)));
        }
        result_.Output = mode;
        result_.OutputPath = std::move(path);
    }

    void Validate() const {
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
                break;
            case CommandKind::Detect:
            case CommandKind::Check:
                if (result_.Files.empty()) Fail("no input files");
                break;
            case CommandKind::Classes:
                if (result_.Files.size() > 1) Fail("classes takes at most one class name");
                break;
        }
    }

    std::span<const std::string> args_;
    std::size_t index_ = 0;
    std::optional<std::string> inlineValue_;
    bool codePageGiven_ = false;
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
                   "binary (starting FF 0A 00), and lists the component classes it knows.\n"
                   "\n"
                   "Commands:\n"
                   "  convert   convert forms to another encoding\n"
                   "  detect    print the encoding of each file\n"
                   "  check     check that each form converts cleanly, writing nothing\n"
                   "  classes   list the known component classes, or one class's properties\n"
                   "\n"
                   "Options:\n"
                   "  -h, --help   show this help; 'formwright-cli COMMAND --help' shows a\n"
                   "               command's options\n"
                   "  --version    print the version\n"
                   "\n"
                   "Exit status: 0 when every file succeeded, 1 when any file failed, 2 on a\n"
                   "command line that cannot be run.\n";
        case CommandKind::Convert:
            return "Usage: formwright-cli convert --to ENCODING [--codepage N] FILE...\n"
                   "                              (-o OUT | --out-dir DIR | --in-place)\n"
                   "\n"
                   "Converts each form file to ENCODING. The encoding of an input is taken from\n"
                   "its first bytes; an input already in ENCODING is copied unchanged.\n"
                   "\n"
                   "Options:\n"
                   "  --to ENCODING   text, binary or resource (required)\n"
                   "  --codepage N    8-bit code page of form text and of 8-bit strings:\n"
                   "                  {codepages} (default 1252). Text that starts with a UTF-8\n"
                   "                  byte-order mark is read as UTF-8 whatever the code page.\n"
                   "  -o OUT          write the result to OUT (one input file only)\n"
                   "  --out-dir DIR   write each result to DIR under the input's file name;\n"
                   "                  DIR is created when missing\n"
                   "  --in-place      replace each input and keep the previous file as its\n"
                   "                  backup: Form1.dfm -> Form1.~dfm, Form1 -> Form1.~\n"
                   "  -h, --help      show this help\n"
                   "\n"
                   "Each result is written to a temporary file beside its target and renamed\n"
                   "over it, so a failed conversion leaves the target as it was. A failure is\n"
                   "reported as 'FILE: message' on standard error and the next file is\n"
                   "converted. Exit status: 0 when every file was converted, 1 when any failed,\n"
                   "2 on a command line that cannot be run.\n";
        case CommandKind::Detect:
            return "Usage: formwright-cli detect FILE...\n"
                   "\n"
                   "Prints 'FILE<TAB>ENCODING' for each file. The encoding is decided by the\n"
                   "first bytes alone: FF 0A 00 is resource, \"TPF\" in any letter case is\n"
                   "binary, anything else is text. The content is not checked; see 'check'.\n"
                   "\n"
                   "Options:\n"
                   "  -h, --help   show this help\n"
                   "\n"
                   "Exit status: 0 when every file was read, 1 when any could not be read, 2 on\n"
                   "a command line that cannot be run.\n";
        case CommandKind::Check:
            return "Usage: formwright-cli check [--codepage N] FILE...\n"
                   "\n"
                   "Builds each form with the component runtime, as the editor's preview does,\n"
                   "and prints 'FILE: ok', or one 'FILE: ERROR=message' line for each complaint:\n"
                   "a class or property the runtime does not know, a value that does not fit,\n"
                   "or 'ERROR=Reader: ...' when the text has a syntax error. Binary and resource\n"
                   "forms are converted to text first; one that cannot be read is reported as\n"
                   "'FILE: message' on standard error. Nothing is written.\n"
                   "\n"
                   "Options:\n"
                   "  --codepage N   8-bit code page of form text and of 8-bit strings:\n"
                   "                 {codepages} (default 1252)\n"
                   "  -h, --help     show this help\n"
                   "\n"
                   "Exit status: 0 when every form built without a message, 1 when any message\n"
                   "was printed or a file could not be read, 2 on a command line that cannot be\n"
                   "run.\n";
        case CommandKind::Classes:
            return "Usage: formwright-cli classes [NAME]\n"
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
                   "  -h, --help   show this help\n"
                   "\n"
                   "Exit status: 0 on success, 1 when NAME is not a known class, 2 on a command\n"
                   "line that cannot be run.\n";
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
    return text;
}

}  // namespace fw::cli