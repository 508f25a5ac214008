#include "cli/commands.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "codec/codepage.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "codec/stream.h"
#include "packages/designpackages.h"
#include "peimage/asciitext.h"
#include "peimage/packageinfo.h"
#include "peimage/zentrix_pe.h"
#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/metadata.h"
#include "runtime/object.h"
#include "runtime/registry.h"
#include "runtime/valuetext.h"

namespace fw::cli {

namespace fs = std::filesystem;

namespace {

// The extension of a name is never longer than this when it goes into a backup name.
constexpr std::size_t MaxBackupExtension = 255;

// Messages can quote names read from a damaged file; control characters in them are
// written as \xNN so that every failure stays on one line for the scripts that read it.
std::string OneLine(const std::string& message) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(message.size());
    for (const char c : message) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            line += "\\x";
            line += Hex[byte >> 4];
            line += Hex[byte & 0x0F];
        } else {
            line += c;
        }
    }
    return line;
}

// Reports one file's failure. Standard output is flushed first so that, when both
// streams go to the same place, the lines stay in the order the files were taken.
void ReportFailure(std::ostream& out, std::ostream& err, const std::string& path,
                   const std::string& message) {
    out.flush();
    err << path << ": " << OneLine(message) << '\n';
}

// Runs action on every input file, reporting each failure and going on with the next.
template <typename Action>
int ForEachFile(const Invocation& invocation, std::ostream& out, std::ostream& err, Action action) {
    bool anyFailed = false;
    for (const std::string& path : invocation.Files) {
        try {
            action(path);
        } catch (const std::bad_alloc&) {
            ReportFailure(out, err, path, "out of memory");
            anyFailed = true;
        } catch (const std::exception& error) {
            ReportFailure(out, err, path, error.what());
            anyFailed = true;
        }
    }
    return anyFailed ? ExitFailed : ExitOk;
}

// Reads no more of the file than the encoding check looks at. A folder opens for
// reading like a file on Linux and reads as empty, which would make it look like an
// empty text form; it is refused by name instead.
FormEncoding DetectFileEncoding(const std::string& path) {
    std::error_code ignored;
    if (fs::is_directory(path, ignored))
        throw std::runtime_error("Cannot open file " + path + ": Is a directory");
    FileStream file(path, FileStream::Mode::Read);
    std::uint8_t head[3] = {};
    std::size_t got = 0;
    while (got < sizeof head) {
        const std::size_t n = file.Read(head + got, sizeof head - got);
        if (n == 0) break;
        got += n;
    }
    return DetectEncoding(ByteSpan(head, got));
}

int RunConvert(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    const CodePage& codePage = *CodePage::Find(invocation.CodePage);
    const FormEncoding target = *invocation.Target;

    if (invocation.Output == OutputMode::Directory) {
        std::error_code error;
        fs::create_directories(invocation.OutputPath, error);
        if (error) {
            ReportFailure(out, err, invocation.OutputPath, error.message());
            return ExitFailed;
        }
    }

    // Targets written so far. Under --out-dir two inputs with the same file name would
    // otherwise leave only the last one's result; under --in-place a file named twice
    // would be converted twice, and the second backup would replace the first, losing
    // the original content.
    std::set<fs::path> written;
    auto claim = [&written](const fs::path& destination) {
        std::error_code error;
        fs::path key = fs::weakly_canonical(destination, error);
        if (error) key = fs::absolute(destination).lexically_normal();
        if (!written.insert(key).second) {
            throw std::runtime_error("not written: " + destination.string() +
                                     " was already written in this run");
        }
    };

    return ForEachFile(invocation, out, err, [&](const std::string& path) {
        const Bytes input = ReadFileBytes(path);
        const Bytes output = ConvertForm(input, target, codePage);
        switch (invocation.Output) {
            case OutputMode::File:
                WriteFileAtomically(invocation.OutputPath, output);
                break;
            case OutputMode::Directory: {
                const fs::path destination = fs::path(invocation.OutputPath) / fs::path(path).filename();
                claim(destination);
                WriteFileAtomically(destination.string(), output);
                break;
            }
            case OutputMode::InPlace:
                claim(path);
                WriteFileAtomically(path, output, BackupPath(path));
                break;
            case OutputMode::None:
                throw std::logic_error("convert without an output");
        }
    });
}

int RunDetect(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    return ForEachFile(invocation, out, err, [&](const std::string& path) {
        const FormEncoding encoding = DetectFileEncoding(path);
        out << path << '\t' << FormEncodingName(encoding) << '\n';
    });
}

// The design packages of --package and --installed-packages, loaded into registry as
// the editor loads its package list, the fallback classes after them; the editor's list
// is read only for --installed-packages. Without either option nothing is loaded, not
// even the fallback classes, and nothing is returned. Each package that failed is
// reported on err; *failed tells whether any did.
std::unique_ptr<fw::pkg::DesignPackages> LoadDesignPackages(const Invocation& invocation,
                                                            fw::rt::ClassRegistry& registry, std::ostream& out,
                                                            std::ostream& err, bool* failed) {
    *failed = false;
    if (invocation.Packages.empty() && !invocation.InstalledPackages) return nullptr;
    auto packages = std::make_unique<fw::pkg::DesignPackages>(registry, fw::pkg::UserPackageListPath());
    std::vector<std::string> files = invocation.Packages;
    if (invocation.InstalledPackages) {
        packages->ReadPackageList();
        files.insert(files.end(), packages->PackageFiles().begin(), packages->PackageFiles().end());
    }
    packages->SetPackageFiles(files);
    packages->LoadAllPackages();
    for (const std::string& entry : packages->PackageErrors()) {
        // "<path>=<message>", the path as listed; a path may hold "=" itself.
        for (const std::string& path : packages->PackageFiles()) {
            if (entry.size() > path.size() && entry.compare(0, path.size(), path) == 0 && entry[path.size()] == '=') {
                out.flush();
                // The loader's messages put the reason on a line of its own.
                std::string message = entry.substr(path.size() + 1);
                for (std::size_t at; (at = message.find("\r\n")) != std::string::npos;)
                    message.replace(at, 2, " ");
                err << ProgramName << ": package " << path << ": " << OneLine(message) << '\n';
                break;
            }
        }
        *failed = true;
    }
    return packages;
}

// Builds each form as the preview does and prints its messages, one "path: ERROR=…" line
// each, or "path: ok". Binary and resource forms are taken as the editor opens them:
// converted to text first; one that does not convert is a failure of the file.
int RunCheck(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    const CodePage& codePage = *CodePage::Find(invocation.CodePage);
    const std::unique_ptr<fw::rt::ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();
    bool packageFailed = false;
    const auto packages = LoadDesignPackages(invocation, *registry, out, err, &packageFailed);
    bool anyMessage = packageFailed;
    const int status = ForEachFile(invocation, out, err, [&](const std::string& path) {
        Bytes input = ReadFileBytes(path);
        if (DetectEncoding(input) != FormEncoding::Text) input = ConvertForm(input, FormEncoding::Text, codePage);
        const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
        std::vector<std::string> messages;
        {
            const fw::rt::ObjectPtr form = fw::rt::CreateObject(registry->Of(fw::rt::cls::TForm), *registry);
            fw::rt::FormNames names;
            fw::rt::BuildFormFromLines(*form, fw::rt::SplitFormLines(text), *registry, codePage, messages,
                                       &names);
        }
        if (messages.empty()) {
            out << path << ": ok\n";
            return;
        }
        anyMessage = true;
        for (const std::string& message : messages) out << path << ": " << OneLine(message) << '\n';
    });
    return anyMessage ? ExitFailed : status;
}

constexpr const char* TypeKindNames[fw::rt::TypeKindCount] = {
    "tkUnknown", "tkInteger", "tkChar",   "tkEnumeration", "tkFloat",   "tkString",
    "tkSet",     "tkClass",   "tkMethod", "tkWChar",       "tkLString", "tkWString",
    "tkVariant", "tkArray",   "tkRecord", "tkInterface",   "tkInt64",   "tkDynArray",
};

// The name of an enumeration value, or its number when the type has no name for it.
std::string EnumText(const fw::rt::TypeInfo* type, std::int64_t ordinal) {
    if (type && ordinal >= 0 && static_cast<std::uint64_t>(ordinal) < type->EnumNames.size())
        return std::string(type->EnumNames[static_cast<std::size_t>(ordinal)]);
    return std::to_string(ordinal);
}

std::string QuotedFormString(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted + "'";
}

// A property's initial value as form text writes it: clBtnFace, [akLeft,akTop],
// 'Tahoma', 8, True.
std::string DefaultText(const fw::rt::PropInfo& info) {
    using fw::rt::DefaultValue;
    using fw::rt::TypeKind;
    const fw::rt::TypeInfo& type = *info.Type;
    const DefaultValue& value = info.Default;
    if (info.Holding == fw::rt::PropHolding::Owned && type.ClassType)
        return "(" + std::string(type.ClassType->Name) + ")";
    switch (value.Which) {
        case DefaultValue::Kind::None:
            return {};
        case DefaultValue::Kind::Float:
            return fw::rt::FormatGeneral(value.Float, 15);
        case DefaultValue::Kind::Text:
            return QuotedFormString(value.Text);
        case DefaultValue::Kind::Ordinal:
            break;
    }
    switch (type.Kind) {
        case TypeKind::tkEnumeration:
            return EnumText(&type, value.Ordinal);
        case TypeKind::tkSet: {
            std::string text = "[";
            for (int bit = 0; bit < 64; ++bit) {
                if ((value.Ordinal & (std::int64_t{1} << bit)) == 0) continue;
                if (text.size() > 1) text += ',';
                text += EnumText(type.ElementType, bit);
            }
            return text + "]";
        }
        case TypeKind::tkChar:
        case TypeKind::tkWChar:
            return "#" + std::to_string(value.Ordinal);
        default:
            for (const fw::rt::IdentEntry& e : type.Idents)
                if (e.Value == value.Ordinal) return std::string(e.Name);
            return std::to_string(value.Ordinal);
    }
}

int RunClasses(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<fw::rt::ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();
    bool packageFailed = false;
    const auto packages = LoadDesignPackages(invocation, *registry, out, err, &packageFailed);
    const int success = packageFailed ? ExitFailed : ExitOk;
    if (invocation.Files.empty()) {
        for (const fw::rt::Class* cls : registry->RegisteredClasses()) {
            out << cls->Name() << '\t' << cls->Unit() << '\t' << (cls->Parent() ? cls->Parent()->Name() : "")
                << '\n';
        }
        return success;
    }
    const std::string& name = invocation.Files.front();
    const fw::rt::Class* cls = registry->FindClassByName(name);
    if (!cls) {
        out.flush();
        err << ProgramName << ": class " << OneLine(name) << " not found\n";
        return ExitFailed;
    }
    out << "class: " << cls->Name() << '\n' << "unit: " << cls->Unit() << '\n' << "ancestry: ";
    for (const fw::rt::Class* c = cls; c; c = c->Parent())
        out << c->Name() << (c->Parent() ? " > " : "\n");
    out << "published properties: " << cls->Properties().size() << "\n\n";
    for (const fw::rt::Property& p : cls->Properties()) {
        out << p.Name() << '\t' << p.Type().Name << '\t' << TypeKindNames[static_cast<int>(p.Kind())] << '\t'
            << OneLine(DefaultText(*p.Info)) << '\n';
    }
    return success;
}

// Opens a PE file for the commands that read one; throws when the file cannot be read or
// is not a PE file, since an empty listing would then say something untrue.
void OpenPeFile(fw::pe::TZentrix_PE& pe, const std::string& path) {
    pe.Open(path);
    if (!pe.FileError().empty()) throw std::runtime_error("Cannot open file " + path + ": " + pe.FileError());
    if (!pe.IsPEImage()) throw std::runtime_error("not a PE file (no MZ and PE headers)");
}

int RunResources(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    fw::pe::TZentrix_PE pe(*CodePage::Find(invocation.CodePage));
    return ForEachFile(invocation, out, err, [&](const std::string& path) {
        OpenPeFile(pe, path);
        for (const fw::pe::TResourceItem& item : pe.Resources()) {
            out << OneLine(item.TypeName) << '\t' << OneLine(item.Name) << '\t' << OneLine(item.Language)
                << '\t' << item.CodePage << '\t' << item.Size << '\n';
        }
    });
}

int RunForms(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    fw::pe::TZentrix_PE pe(*CodePage::Find(invocation.CodePage));
    return ForEachFile(invocation, out, err, [&](const std::string& path) {
        OpenPeFile(pe, path);
        for (const std::string& name : pe.FormNames())
            out << OneLine(name) << '\n';
    });
}

// A resource label as a file name: no folder separators, control characters or names
// that mean the folder itself, and short enough for any file system.
std::string FileNamePart(const std::string& label) {
    constexpr std::size_t MaxLength = 200;
    std::string name;
    for (const char c : label.substr(0, MaxLength)) {
        const auto byte = static_cast<unsigned char>(c);
        name += (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\') ? '_' : c;
    }
    if (name.empty() || name == "." || name == "..") name = "_";
    return name;
}

// Resource names are matched as the reader matches them: ASCII letters in any case.
bool SameName(const std::string& a, const std::string& b) {
    return fw::pe::EqualsIgnoringAsciiCase(a, b);
}

// Writes the form resources of one PE file. The forms are taken from the resource list
// itself (RCDATA starting "TPF0"), not looked up by name, so that a bitmap or another
// resource sharing a form's name never stands in for the form.
int RunExtract(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    const CodePage& codePage = *CodePage::Find(invocation.CodePage);
    const std::string& path = invocation.Files.front();
    const std::vector<std::string> wanted(invocation.Files.begin() + 1, invocation.Files.end());
    const bool asText = invocation.Target.value_or(FormEncoding::Text) == FormEncoding::Text;
    const fs::path folder =
        invocation.Output == OutputMode::Directory ? fs::path(invocation.OutputPath) : fs::path(".");

    fw::pe::TZentrix_PE pe(codePage);
    try {
        OpenPeFile(pe, path);
    } catch (const std::exception& error) {
        ReportFailure(out, err, path, error.what());
        return ExitFailed;
    }
    std::vector<const fw::pe::TResourceItem*> forms;
    for (const fw::pe::TResourceItem& item : pe.Resources()) {
        const bool isForm = item.ResType == fw::pe::ResourceTypeRcData && item.Data.size() >= 4 &&
                            std::equal(FormSignature.begin(), FormSignature.end(), item.Data.begin());
        if (!isForm) continue;
        const bool chosen =
            wanted.empty() || std::any_of(wanted.begin(), wanted.end(),
                                          [&](const std::string& n) { return SameName(n, item.Name); });
        if (chosen) forms.push_back(&item);
    }

    bool anyFailed = false;
    for (const std::string& name : wanted) {
        if (std::none_of(forms.begin(), forms.end(),
                         [&](const auto* item) { return SameName(name, item->Name); })) {
            ReportFailure(out, err, path, "no form resource named " + name);
            anyFailed = true;
        }
    }
    if (forms.empty()) return anyFailed ? ExitFailed : ExitOk;

    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        ReportFailure(out, err, folder.string(), error.message());
        return ExitFailed;
    }
    // File names taken in this run, compared ignoring case, so that no form replaces
    // another, on a file system that ignores case either. A name is taken before its form
    // is converted, so that a form that fails does not pass its name to the next language.
    std::set<std::string> taken;
    const auto caseKey = [](std::string name) {
        std::transform(name.begin(), name.end(), name.begin(), fw::pe::AsciiUpper);
        return name;
    };
    for (const fw::pe::TResourceItem* item : forms) {
        try {
            // A form's further languages get the language in their names.
            std::string fileName = FileNamePart(item->Name) + ".dfm";
            if (taken.count(caseKey(fileName)))
                fileName = FileNamePart(item->Name) + "." + FileNamePart(item->Language) + ".dfm";
            if (!taken.insert(caseKey(fileName)).second)
                throw std::runtime_error(fileName + " was already written in this run");
            Bytes content;
            if (asText) {
                fw::ByteViewStream input(item->Data);
                MemoryStream text;
                BinaryFormToText(input, text, codePage);
                content = text.Take();
            } else {
                content.assign(item->Data.begin(), item->Data.end());
            }
            const fs::path target = folder / fileName;
            WriteFileAtomically(target.string(), content);
            out << target.string() << '\n';
        } catch (const std::exception& failure) {
            ReportFailure(out, err, path, item->Name + ": " + failure.what());
            anyFailed = true;
        }
    }
    return anyFailed ? ExitFailed : ExitOk;
}

int RunPackageInfo(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    fw::pe::TZentrix_PE pe(*CodePage::Find(invocation.CodePage));
    return ForEachFile(invocation, out, err, [&](const std::string& path) {
        OpenPeFile(pe, path);
        const fw::pe::PackageReportInputs inputs = pe.ReportInputs();
        auto printPage = [&](fw::pe::ReportPage page) {
            std::vector<std::string> lines;
            fw::pe::BuildPackageReport(page, inputs, lines);
            for (const std::string& line : lines)
                out << OneLine(line) << '\n';
        };
        if (invocation.Page) {
            printPage(*invocation.Page);
            return;
        }
        bool first = true;
        if (!pe.Description().empty()) {
            out << "[Description]\n" << OneLine(pe.Description()) << '\n';
            first = false;
        }
        for (const fw::pe::ReportPage page : {fw::pe::ReportPage::Header, fw::pe::ReportPage::Classes,
                                              fw::pe::ReportPage::Forms, fw::pe::ReportPage::Flags}) {
            if (!first) out << '\n';
            first = false;
            out << '[' << fw::pe::ReportPageName(page) << "]\n";
            printPage(page);
        }
    });
}

}  // namespace

std::string BackupPath(const std::string& path) {
    const std::size_t nameStart = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return path + ".~";
    return path.substr(0, dot) + ".~" + path.substr(dot + 1, MaxBackupExtension);
}

int RunInvocation(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (invocation.ShowVersion) {
        out << VersionText() << '\n';
        return ExitOk;
    }
    if (invocation.ShowHelp) {
        out << HelpText(invocation.Command);
        return ExitOk;
    }
    switch (invocation.Command) {
        case CommandKind::Convert:
            return RunConvert(invocation, out, err);
        case CommandKind::Detect:
            return RunDetect(invocation, out, err);
        case CommandKind::Check:
            return RunCheck(invocation, out, err);
        case CommandKind::Classes:
            return RunClasses(invocation, out, err);
        case CommandKind::Resources:
            return RunResources(invocation, out, err);
        case CommandKind::Forms:
            return RunForms(invocation, out, err);
        case CommandKind::Extract:
            return RunExtract(invocation, out, err);
        case CommandKind::PackageInfo:
            return RunPackageInfo(invocation, out, err);
        case CommandKind::None:
            break;
    }
    out << HelpText(CommandKind::None);
    return ExitOk;
}

int RunTool(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    Invocation invocation;
    try {
        invocation = ParseArguments(args);
    } catch (const UsageError& error) {
        std::string helpCommand = ProgramName;
        if (error.Command() != CommandKind::None)
            helpCommand += std::string(" ") + CommandName(error.Command());
        err << ProgramName << ": " << error.what() << '\n'
            << "Run '" << helpCommand << " --help' for usage.\n";
        return ExitUsage;
    }

    const int status = RunInvocation(invocation, out, err);
    out.flush();
    if (!out) {
        err << ProgramName << ": cannot write to standard output\n";
        return ExitFailed;
    }
    return status;
}

}  // namespace fw::cli
