#include "cli/commands.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <istream>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <vector>

#include "base/asciitext.h"
#include "base/atomicfile.h"
#include "base/byteview.h"
#include "base/codepage.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/declaredcharset.h"
#include "codec/formformat.h"
#include "codec/formtokenizer.h"
#include "codec/jsontext.h"
#include "edit/formedit.h"
#include "packages/designpackages.h"
#include "peimage/packageinfo.h"
#include "peimage/pefile.h"
#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/formsearch.h"
#include "runtime/metadata.h"
#include "runtime/object.h"
#include "runtime/registry.h"
#include "runtime/valuetext.h"
#include "runtime/wholeform.h"

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

// Runs action and returns the message of its failure, or nothing when it succeeded.
template <typename Action>
std::optional<std::string> Attempt(Action&& action) {
    try {
        action();
    } catch (const std::bad_alloc&) {
        return "out of memory";
    } catch (const std::exception& error) {
        return error.what();
    }
    return std::nullopt;
}

// Runs action on every input file, reporting each failure and going on with the next.
template <typename Action>
int ForEachFile(const Invocation& invocation, std::ostream& out, std::ostream& err, Action action) {
    bool anyFailed = false;
    for (const std::string& path : invocation.Files) {
        if (const std::optional<std::string> failure = Attempt([&] { action(path); })) {
            ReportFailure(out, err, path, *failure);
            anyFailed = true;
        }
    }
    return anyFailed ? ExitFailed : ExitOk;
}

// As ForEachFile, with action(index) run on up to `jobs` threads at once. The failures
// are reported from this thread in the order of the files, each as soon as every file
// before it is done, so the messages are the same whatever the number of threads.
//
// warnings[index], when given, holds lines that action(index) left for its file; they
// are written to err, in the same order, before the file's failure if any.
template <typename Action>
int ForEachFileInParallel(const std::vector<std::string>& files, unsigned jobs, std::ostream& out,
                          std::ostream& err, Action action,
                          const std::vector<std::vector<std::string>>* warnings = nullptr) {
    const std::size_t count = files.size();
    const auto reportWarnings = [&](std::size_t index) {
        if (warnings == nullptr || (*warnings)[index].empty()) return;
        out.flush();
        for (const std::string& line : (*warnings)[index])
            err << line << '\n';
    };
    if (jobs <= 1 || count <= 1) {
        bool anyFailed = false;
        for (std::size_t index = 0; index < count; ++index) {
            const std::optional<std::string> failure = Attempt([&] { action(index); });
            reportWarnings(index);
            if (failure) {
                ReportFailure(out, err, files[index], *failure);
                anyFailed = true;
            }
        }
        return anyFailed ? ExitFailed : ExitOk;
    }

    struct Outcome {
        bool Done = false;
        std::optional<std::string> Failure;
    };
    std::vector<Outcome> outcomes(count);
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t index = next++; index < count; index = next++) {
            std::optional<std::string> failure = Attempt([&] { action(index); });
            {
                const std::lock_guard<std::mutex> lock(mutex);
                outcomes[index].Failure = std::move(failure);
                outcomes[index].Done = true;
            }
            finished.notify_all();
        }
    };
    bool anyFailed = false;
    {
        std::vector<std::jthread> workers;
        for (unsigned i = 0; i < std::min<std::size_t>(jobs, count); ++i)
            workers.emplace_back(work);
        for (std::size_t index = 0; index < count; ++index) {
            std::optional<std::string> failure;
            {
                std::unique_lock<std::mutex> lock(mutex);
                finished.wait(lock, [&] { return outcomes[index].Done; });
                failure = std::move(outcomes[index].Failure);
            }
            reportWarnings(index);
            if (failure) {
                ReportFailure(out, err, files[index], *failure);
                anyFailed = true;
            }
        }
    }
    return anyFailed ? ExitFailed : ExitOk;
}

bool IsStandardStream(const std::string& name) {
    return name == StandardStreamName;
}

// The whole of standard input, byte for byte.
Bytes ReadAllInput(std::istream& in) {
    Bytes bytes;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0)
        bytes.insert(bytes.end(), block, block + in.gcount());
    if (in.bad()) throw std::runtime_error("cannot read standard input");
    return bytes;
}

// An input file's bytes; "-" reads standard input.
Bytes ReadInput(const std::string& path, std::istream& in) {
    return IsStandardStream(path) ? ReadAllInput(in) : ReadFileBytes(path);
}

// Refuses to write over anything already at an output path unless --force was given.
// The write itself checks again in the same step as its rename; this earlier check only
// gives the clearer message. A link named by the program's own output rule (--out-dir,
// extract) is called what it is, since --force replaces the link and not its target.
void RefuseExisting(const fs::path& destination, bool linkIsReplaced) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(destination, error);
    if (error || !fs::exists(status)) return;
    if (linkIsReplaced && fs::is_symlink(status)) {
        throw std::runtime_error("not written: " + destination.string() +
                                 " is a symbolic link (--force replaces the link itself)");
    }
    throw std::runtime_error("not written: " + destination.string() +
                             " already exists (--force replaces it)");
}

// The code page a form is read in and where the choice came from: --codepage when
// given, else the page the form's Charset values declare, else the default.
struct FormCodePage {
    const CodePage* Page = nullptr;
    CodePageSource Source = CodePageSource::Default;
    DeclaredCodePage Declared;
};

FormCodePage CodePageFor(const Invocation& invocation, const Bytes& form) {
    FormCodePage chosen;
    chosen.Declared = DeclaredCodePageOf(form);
    if (invocation.CodePageGiven) {
        chosen.Source = CodePageSource::Option;
    } else if (chosen.Declared.CodePage != 0 && CodePage::Find(chosen.Declared.CodePage) != nullptr) {
        chosen.Source = CodePageSource::Declared;
        chosen.Page = CodePage::Find(chosen.Declared.CodePage);
        return chosen;
    }
    chosen.Page = CodePage::Find(invocation.CodePage);
    return chosen;
}

// "936 (declared)", as detect prints the page.
std::string CodePageLabel(const FormCodePage& chosen) {
    return std::to_string(chosen.Page->Number()) + " (" + std::string(CodePageSourceName(chosen.Source)) +
           ")";
}

// The warnings about a form read in chosen's page whose strings may be in another:
// bytes the page has no character for, a declared page that is not the one used, or
// declarations of more than one page. text is the form as text in that page. The
// conversion keeps every byte either way; the warning tells that the characters shown
// may be the wrong ones.
// The line of form text on which the first byte the code page cannot map stands, 0 when
// there is none. Text converted from a binary form holds those bytes as codes (a
// control character, or a private unit in a double-byte page) within its strings, so
// there the characters of strings count.
int LineOfBytesOutsideCodePage(ByteSpan text, const CodePage& codePage, bool fromBinary) {
    const std::string_view chars(reinterpret_cast<const char*>(text.data()), text.size());
    if (chars.starts_with(Utf8ByteOrderMark)) return 0;
    if (!fromBinary) {
        const std::size_t at = FirstByteOutsideCodePage(chars, codePage);
        if (at == std::string_view::npos) return 0;
        return 1 + static_cast<int>(
                       std::count(chars.begin(), chars.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    }
    const auto unmapped = [](char16_t unit) {
        return (unit >= 0x80 && unit <= 0x9F) ||
               (unit >= CodePage::PrivateByteBase + 0x80 && unit <= CodePage::PrivateByteBase + 0xFF);
    };
    try {
        ByteViewStream input(text);
        FormTokenizer parser(input, codePage);
        for (; parser.Kind() != TokEnd; parser.Advance()) {
            if (parser.Kind() == TokString) {
                if (FirstByteOutsideCodePage(parser.TokenView(), codePage) != std::string_view::npos)
                    return parser.Line();
            } else if (parser.Kind() == TokWideString) {
                const std::u16string units = parser.TokenWide();
                if (std::any_of(units.begin(), units.end(), unmapped)) return parser.Line();
            }
        }
    } catch (const std::exception&) {
        // Text the codec wrote reads back; should it not, there is nothing to warn about.
    }
    return 0;
}

std::vector<std::string> CodePageWarnings(const std::string& path, const FormCodePage& chosen, ByteSpan text,
                                          bool fromBinary) {
    std::vector<std::string> warnings;
    const int used = chosen.Page->Number();
    const int declared = chosen.Declared.CodePage;
    const std::string prefix = path + ": warning: ";
    if (const int line = LineOfBytesOutsideCodePage(text, *chosen.Page, fromBinary); line != 0) {
        std::string message = prefix + "line " + std::to_string(line) +
                              " holds bytes that are not valid in code page " + std::to_string(used);
        if (declared != 0 && declared != used) {
            message += "; the form declares " + std::to_string(declared);
        } else {
            message += "; give the right page with --codepage";
        }
        warnings.push_back(message);
    }
    if (chosen.Source == CodePageSource::Option && declared != 0 && declared != used) {
        warnings.push_back(prefix + "read in code page " + std::to_string(used) +
                           " as --codepage says, but the form declares " + std::to_string(declared));
    }
    if (chosen.Declared.Conflicting) {
        warnings.push_back(prefix + "the form's Charset values name more than one code page; " +
                           std::to_string(declared) + " is the most frequent");
    }
    return warnings;
}

// Converts a whole form to the target encoding. An input already in that encoding is
// copied unchanged, but only once it has been read through as a conversion reads it,
// so that anything that is no form fails with the reader's message instead of being
// passed on as one.
Bytes ConvertChecked(ByteSpan input, FormEncoding target, const CodePage& codePage) {
    if (DetectEncoding(input) != target) return ConvertForm(input, target, codePage);
    ByteViewStream in(input);
    MemoryStream discard;
    switch (target) {
        case FormEncoding::Text:
            TextToBinaryForm(in, discard, codePage);
            break;
        case FormEncoding::Binary:
            BinaryFormToText(in, discard, codePage);
            break;
        case FormEncoding::Resource:
            ResourceFormToText(in, discard, codePage);
            break;
    }
    return Bytes(input.begin(), input.end());
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

// The form as text in the code page, for the checks on its 8-bit text; converted
// already when the conversion's output is text.
Bytes FormAsText(ByteSpan input, ByteSpan output, FormEncoding target, const CodePage& codePage) {
    if (DetectEncoding(input) == FormEncoding::Text) return Bytes(input.begin(), input.end());
    if (target == FormEncoding::Text) return Bytes(output.begin(), output.end());
    return ConvertForm(input, FormEncoding::Text, codePage);
}

int RunConvert(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err) {
    const FormEncoding target = *invocation.Target;
    const std::vector<std::string>& files = invocation.Files;

    if (invocation.Output == OutputMode::Directory) {
        std::error_code error;
        fs::create_directories(invocation.OutputPath, error);
        if (error) {
            ReportFailure(out, err, invocation.OutputPath, error.message());
            return ExitFailed;
        }
    }

    // Each file's destination, claimed in the order of the files before any is written.
    // Under --out-dir two inputs with the same file name would otherwise leave only the
    // last one's result; under --in-place a file named twice would be converted twice.
    std::vector<fs::path> destinations(files.size());
    std::vector<std::string> refused(files.size());
    std::set<fs::path> written;
    for (std::size_t index = 0; index < files.size(); ++index) {
        switch (invocation.Output) {
            case OutputMode::File:
                destinations[index] = invocation.OutputPath;
                continue;
            case OutputMode::Directory:
                destinations[index] = fs::path(invocation.OutputPath) / fs::path(files[index]).filename();
                break;
            case OutputMode::InPlace:
                destinations[index] = files[index];
                break;
            case OutputMode::None:
                throw std::logic_error("convert without an output");
        }
        std::error_code error;
        fs::path key = fs::weakly_canonical(destinations[index], error);
        if (error) key = fs::absolute(destinations[index]).lexically_normal();
        if (!written.insert(key).second) {
            refused[index] =
                "not written: " + destinations[index].string() + " was already written in this run";
        }
    }

    unsigned jobs = invocation.Jobs;
    if (jobs == 0) jobs = std::max(1u, std::thread::hardware_concurrency());

    // Each file's code page warnings, written by the thread that converts it.
    std::vector<std::vector<std::string>> warnings(files.size());
    const auto convert = [&](std::size_t index, const Bytes& input) {
        const FormCodePage chosen = CodePageFor(invocation, input);
        Bytes output = ConvertChecked(input, target, *chosen.Page);
        warnings[index] =
            CodePageWarnings(files[index], chosen, FormAsText(input, output, target, *chosen.Page),
                             DetectEncoding(input) != FormEncoding::Text);
        return output;
    };
    return ForEachFileInParallel(
        files, jobs, out, err,
        [&](std::size_t index) {
            if (!refused[index].empty()) throw std::runtime_error(refused[index]);
            const std::string& path = files[index];
            if (invocation.Output == OutputMode::InPlace) {
                // Locked from the read to the rename, so that a conversion of the same file
                // running at the same time waits and then reads this one's result. A file that
                // the conversion leaves as it is is not written, and its backup stays.
                LockedFile file(path);
                const Bytes output = convert(index, file.Content());
                if (output != file.Content()) file.Replace(output, BackupPath(path));
                return;
            }
            const Bytes output = convert(index, ReadInput(path, in));
            if (invocation.Output == OutputMode::File && IsStandardStream(invocation.OutputPath)) {
                out.write(reinterpret_cast<const char*>(output.data()),
                          static_cast<std::streamsize>(output.size()));
                return;
            }
            // -o is the user's own name for the output and is written through a link;
            // under --out-dir the name is the program's, and a link there is never followed.
            const bool linkIsReplaced = invocation.Output == OutputMode::Directory;
            if (!invocation.Force) RefuseExisting(destinations[index], linkIsReplaced);
            WriteOptions options;
            options.ReplaceExisting = invocation.Force;
            options.FollowLink = !linkIsReplaced;
            WriteFileAtomically(destinations[index].string(), output, options);
        },
        &warnings);
}

int RunDetect(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err) {
    return ForEachFile(invocation, out, err, [&](const std::string& path) {
        // The encoding from the first bytes; the code page needs the whole form.
        const FormEncoding encoding = IsStandardStream(path) ? FormEncoding::Text : DetectFileEncoding(path);
        const Bytes form = ReadInput(path, in);
        out << path << '\t' << FormEncodingName(IsStandardStream(path) ? DetectEncoding(form) : encoding)
            << '\t' << CodePageLabel(CodePageFor(invocation, form)) << '\n';
    });
}

// The design packages of --package and --installed-packages, loaded into registry as
// the editor loads its package list, the fallback classes after them; the editor's list
// is read only for --installed-packages. Without either option nothing is loaded, not
// even the fallback classes, and nothing is returned. Each package that failed is
// reported on err; *failed tells whether any did.
std::unique_ptr<fw::pkg::DesignPackages> LoadDesignPackages(const Invocation& invocation,
                                                            fw::rt::ClassRegistry& registry,
                                                            std::ostream& out, std::ostream& err,
                                                            bool* failed) {
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
            if (entry.size() > path.size() && entry.compare(0, path.size(), path) == 0 &&
                entry[path.size()] == '=') {
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
int RunCheck(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<fw::rt::ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();
    bool packageFailed = false;
    const auto packages = LoadDesignPackages(invocation, *registry, out, err, &packageFailed);
    bool anyMessage = packageFailed;
    bool firstFile = true;
    // The root classes of the folders searched, read once for the whole run.
    fw::rt::FormFolderIndex folders;
    if (invocation.JsonOutput) out << "{\"files\": [";
    const int status = ForEachFile(invocation, out, err, [&](const std::string& path) {
        Bytes input = ReadInput(path, in);
        const FormCodePage chosen = CodePageFor(invocation, input);
        const CodePage& codePage = *chosen.Page;
        const bool binary = DetectEncoding(input) != FormEncoding::Text;
        if (binary) input = ConvertForm(input, FormEncoding::Text, codePage);
        out.flush();
        for (const std::string& warning : CodePageWarnings(path, chosen, input, binary))
            err << warning << '\n';
        const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
        std::vector<std::string> messages;
        {
            // Ancestors and frames are looked for beside the form (standard input has no
            // folder) and in the --search-path folders, as the preview looks for them.
            std::optional<fw::rt::FolderFormSource> source;
            const std::string formPath = IsStandardStream(path) ? std::string() : path;
            if (!formPath.empty() || !invocation.SearchPaths.empty())
                source.emplace(formPath, invocation.SearchPaths, folders);
            fw::rt::FormFileSource* from = source ? &*source : nullptr;
            const fw::rt::RootBase base = fw::rt::RootBaseOf(text, *registry, from);
            const fw::rt::ClassInfo& rootClass = base == fw::rt::RootBase::Frame ? fw::rt::cls::TFrame
                                                 : base == fw::rt::RootBase::DataModule
                                                     ? fw::rt::cls::TDataModule
                                                     : fw::rt::cls::TForm;
            const fw::rt::ObjectPtr form = fw::rt::CreateObject(registry->Of(rootClass), *registry);
            fw::rt::FormNames names;
            std::vector<fw::rt::BuildMessage> built;
            fw::rt::BuildFormFromText(*form, text, *registry, codePage, built, &names, nullptr, from);
            for (fw::rt::BuildMessage& message : built)
                messages.push_back(std::move(message.Text));
        }
        if (!messages.empty()) anyMessage = true;
        if (invocation.JsonOutput) {
            out << (firstFile ? "\n" : ",\n") << "  {\"file\": " << JsonString(path) << ", \"messages\": [";
            for (std::size_t i = 0; i < messages.size(); ++i)
                out << (i ? ", " : "") << JsonString(messages[i]);
            out << "]}";
            firstFile = false;
            return;
        }
        if (messages.empty()) {
            out << path << ": ok\n";
            return;
        }
        for (const std::string& message : messages)
            out << path << ": " << OneLine(message) << '\n';
    });
    if (invocation.JsonOutput) out << (firstFile ? "]}\n" : "\n]}\n");
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
void OpenPeFile(fw::pe::PeFile& pe, const std::string& path) {
    pe.Open(path);
    if (!pe.FileError().empty()) throw std::runtime_error("Cannot open file " + path + ": " + pe.FileError());
    if (!pe.IsPEImage()) throw std::runtime_error("not a PE file (no MZ and PE headers)");
}

int RunResources(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    fw::pe::PeFile pe(*CodePage::Find(invocation.CodePage));
    return ForEachFile(invocation, out, err, [&](const std::string& path) {
        OpenPeFile(pe, path);
        for (const fw::pe::ResourceItem& item : pe.Resources()) {
            out << OneLine(item.TypeName) << '\t' << OneLine(item.Name) << '\t' << OneLine(item.Language)
                << '\t' << item.CodePage << '\t' << item.Size << '\n';
        }
    });
}

int RunForms(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    fw::pe::PeFile pe(*CodePage::Find(invocation.CodePage));
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
    return fw::EqualsIgnoringCase(a, b);
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

    fw::pe::PeFile pe(codePage);
    try {
        OpenPeFile(pe, path);
    } catch (const std::exception& error) {
        ReportFailure(out, err, path, error.what());
        return ExitFailed;
    }
    std::vector<const fw::pe::ResourceItem*> forms;
    for (const fw::pe::ResourceItem& item : pe.Resources()) {
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
    const auto caseKey = [](const std::string& name) { return fw::AsciiUpper(name); };
    for (const fw::pe::ResourceItem* item : forms) {
        try {
            // A form's further languages get the language in their names.
            std::string fileName = FileNamePart(item->Name) + ".dfm";
            if (taken.count(caseKey(fileName)))
                fileName = FileNamePart(item->Name) + "." + FileNamePart(item->Language) + ".dfm";
            if (!taken.insert(caseKey(fileName)).second)
                throw std::runtime_error(fileName + " was already written in this run");
            Bytes content;
            if (asText) {
                // Each form is read in the page --codepage gives, else in the one its
                // Charset values declare, as convert does.
                const Bytes form(item->Data.begin(), item->Data.end());
                const FormCodePage chosen = CodePageFor(invocation, form);
                fw::ByteViewStream input(item->Data);
                MemoryStream text;
                BinaryFormToText(input, text, *chosen.Page);
                content = text.Take();
                for (const std::string& warning :
                     CodePageWarnings(path + "(" + item->Name + ")", chosen, content, true))
                    err << warning << '\n';
            } else {
                content.assign(item->Data.begin(), item->Data.end());
            }
            // The name is the program's: a link there is never followed, and nothing
            // already there is replaced without --force.
            const fs::path target = folder / fileName;
            if (!invocation.Force) RefuseExisting(target, true);
            WriteOptions options;
            options.ReplaceExisting = invocation.Force;
            options.FollowLink = false;
            WriteFileAtomically(target.string(), content, options);
            out << target.string() << '\n';
        } catch (const std::exception& failure) {
            ReportFailure(out, err, path, item->Name + ": " + failure.what());
            anyFailed = true;
        }
    }
    return anyFailed ? ExitFailed : ExitOk;
}

// The package description as UTF-8, or empty text when there is none. The DESCRIPTION
// resource holds UTF-16 (up to a zero unit), which is converted as it is rather than
// through the 8-bit code page the editor shows it in, so that no character is lost and
// a terminal shows it as it is meant.
std::string DescriptionUtf8(const fw::pe::PeFile& pe) {
    const fw::pe::ResourceItem* description =
        fw::pe::FindTypedResource(pe.Resources(), fw::pe::ResourceTypeRcData, "DESCRIPTION");
    if (!description) return {};
    const fw::ByteView payload(description->Data);
    std::u16string text;
    for (std::uint64_t at = 0; payload.Contains(at, 2); at += 2) {
        const char16_t unit = payload.U16(at);
        if (unit == 0) break;
        text.push_back(unit);
    }
    return Utf8TextFromUtf16(text);
}

int RunPackageInfo(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    fw::pe::PeFile pe(*CodePage::Find(invocation.CodePage));
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
        if (const std::string description = DescriptionUtf8(pe); !description.empty()) {
            out << "[Description]\n" << OneLine(description) << '\n';
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

// ---- edits of form text ----

// A form read for editing: its text in its code page, and how to give it back in the
// encoding it came in.
struct EditedForm {
    FormEncoding Encoding = FormEncoding::Text;
    const CodePage* Page = nullptr;
    std::string Text;
};

EditedForm ReadForEditing(const Invocation& invocation, const Bytes& input) {
    EditedForm form;
    form.Page = CodePageFor(invocation, input).Page;
    form.Encoding = DetectEncoding(input);
    const Bytes text =
        form.Encoding == FormEncoding::Text ? input : ConvertForm(input, FormEncoding::Text, *form.Page);
    form.Text.assign(reinterpret_cast<const char*>(text.data()), text.size());
    return form;
}

// The edited text in the form's own encoding.
Bytes WriteBack(const EditedForm& form, std::string_view text) {
    const Bytes bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                      reinterpret_cast<const std::uint8_t*>(text.data()) + text.size());
    if (form.Encoding == FormEncoding::Text) return bytes;
    return ConvertForm(bytes, form.Encoding, *form.Page);
}

// The edits one command makes to one form's text, applied one after the other (each on
// the text the one before left); the changes they made are added to changes.
using FormEdits =
    std::function<std::string(const std::string& text, const CodePage& page, fw::rt::ClassRegistry& registry,
                              std::vector<std::string>& changes)>;

// Runs the edits on every file: read (any encoding), edit, write back in the same
// encoding and code page through a temporary file with the previous file kept as its
// backup, and print each change as "FILE: change". Standard input's result goes to
// standard output, and its changes to standard error. A file the edits leave as it is
// is not written.
int RunEdits(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err,
             const FormEdits& edits) {
    const std::unique_ptr<fw::rt::ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();
    bool packageFailed = false;
    const auto packages = LoadDesignPackages(invocation, *registry, out, err, &packageFailed);
    const int status = ForEachFile(invocation, out, err, [&](const std::string& path) {
        const bool standard = IsStandardStream(path);
        std::optional<LockedFile> file;
        Bytes input;
        if (standard) {
            input = ReadAllInput(in);
        } else {
            // Locked from the read to the rename, as convert --in-place does.
            file.emplace(path);
        }
        const Bytes& content = standard ? input : file->Content();
        const EditedForm form = ReadForEditing(invocation, content);
        std::vector<std::string> changes;
        const std::string edited = edits(form.Text, *form.Page, *registry, changes);
        std::ostream& report = standard ? err : out;
        if (changes.empty()) report << path << ": unchanged\n";
        for (const std::string& change : changes)
            report << path << ": " << OneLine(change) << '\n';
        const Bytes output = edited == form.Text ? content : WriteBack(form, edited);
        if (standard) {
            if (!invocation.DryRun)
                out.write(reinterpret_cast<const char*>(output.data()),
                          static_cast<std::streamsize>(output.size()));
            return;
        }
        if (!invocation.DryRun && output != content) file->Replace(output, BackupPath(path));
    });
    return packageFailed ? ExitFailed : status;
}

// Applies one edit of the engine to text and collects what it changed.
std::string ApplyEngineEdit(const std::string& text, const fw::edit::EditResult& result,
                            std::vector<std::string>& changes) {
    changes.insert(changes.end(), result.Changes.begin(), result.Changes.end());
    return result.Empty() ? text : fw::edit::ApplyEdits(text, result.Edits);
}

int RunSet(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err) {
    return RunEdits(
        invocation, in, out, err,
        [&](const std::string& original, const CodePage& page, fw::rt::ClassRegistry& registry,
            std::vector<std::string>& changes) {
            std::string text = original;
            for (const std::string& assignment : invocation.Edits) {
                const fw::edit::FormEditor editor(text, page, &registry);
                const fw::edit::PropertyAssignment parts = fw::edit::SplitAssignment(editor, assignment);
                if (!parts.Value)
                    throw fw::edit::EditError("no value in " + assignment + " (use OBJECT.PROPERTY=VALUE)");
                text = ApplyEngineEdit(text, editor.SetProperty(parts.Object, parts.Property, *parts.Value),
                                       changes);
            }
            return text;
        });
}

int RunRename(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err) {
    return RunEdits(invocation, in, out, err,
                    [&](const std::string& text, const CodePage& page, fw::rt::ClassRegistry& registry,
                        std::vector<std::string>& changes) {
                        const fw::edit::FormEditor editor(text, page, &registry);
                        return ApplyEngineEdit(
                            text, editor.RenameObject(invocation.Edits[0], invocation.Edits[1]), changes);
                    });
}

int RunRemoveProperty(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err) {
    return RunEdits(invocation, in, out, err,
                    [&](const std::string& text, const CodePage& page, fw::rt::ClassRegistry& registry,
                        std::vector<std::string>& changes) {
                        const fw::edit::FormEditor editor(text, page, &registry);
                        return ApplyEngineEdit(text, editor.RemoveProperties(invocation.Edits[0]), changes);
                    });
}

// Prints the value as the form stores it; a property the form stores no value for is a
// failure of the file, reported as such.
int RunGet(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<fw::rt::ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();
    bool packageFailed = false;
    const auto packages = LoadDesignPackages(invocation, *registry, out, err, &packageFailed);
    const int status = ForEachFile(invocation, out, err, [&](const std::string& path) {
        const EditedForm form = ReadForEditing(invocation, ReadInput(path, in));
        const fw::edit::FormEditor editor(form.Text, *form.Page, registry.get());
        const fw::edit::PropertyAssignment parts = fw::edit::SplitAssignment(editor, invocation.Edits[0]);
        if (parts.Value) throw fw::edit::EditError("get takes OBJECT.PROPERTY without a value");
        const std::optional<std::string> value = editor.GetProperty(parts.Object, parts.Property);
        if (!value)
            throw fw::edit::EditError(invocation.Edits[0] + " is not stored (the property has its default)");
        out << *value << '\n';
    });
    return packageFailed ? ExitFailed : status;
}

}  // namespace

std::string BackupPath(const std::string& path) {
    const std::size_t nameStart = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return path + ".~";
    return path.substr(0, dot) + ".~" + path.substr(dot + 1, MaxBackupExtension);
}

int RunInvocation(const Invocation& invocation, std::istream& in, std::ostream& out, std::ostream& err) {
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
            return RunConvert(invocation, in, out, err);
        case CommandKind::Detect:
            return RunDetect(invocation, in, out, err);
        case CommandKind::Check:
            return RunCheck(invocation, in, out, err);
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
        case CommandKind::Set:
            return RunSet(invocation, in, out, err);
        case CommandKind::Get:
            return RunGet(invocation, in, out, err);
        case CommandKind::Rename:
            return RunRename(invocation, in, out, err);
        case CommandKind::RemoveProperty:
            return RunRemoveProperty(invocation, in, out, err);
        case CommandKind::None:
            break;
    }
    out << HelpText(CommandKind::None);
    return ExitOk;
}

int RunTool(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err) {
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

    const int status = RunInvocation(invocation, in, out, err);
    out.flush();
    if (!out) {
        err << ProgramName << ": cannot write to standard output\n";
        return ExitFailed;
    }
    return status;
}

}  // namespace fw::cli
