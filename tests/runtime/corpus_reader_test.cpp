// The form reader over every form of the shared corpus: text forms converted to binary,
// binary forms after their resource header, and the form resources taken out of
// compiled programs. Each is read into a plain form, as the preview reads it, with
// hooks that handle every error and give every event an address.
//
// The figures (objects created, properties set, messages by kind, the biggest groups
// of messages by class and property) are printed. The bar: apart from classes that
// are not registered, at most one message per 1,000 property assignments over the
// forms the IDE wrote. Forms of the other Pascal component library (lfm/ and the forms
// that carry its properties) are counted on their own: their classes publish
// properties of another component library, so they show what a reader of these forms
// meets without being held to the bar.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "codec/formreader.h"
#include "runtime/builtin.h"
#include "runtime/reader.h"
#include "runtime/registry.h"

namespace {

namespace fs = std::filesystem;
using namespace fw::rt;

fs::path CorpusDir() {
    return fs::path(FW_CORPUS_DIR);
}

bool CorpusMissing() {
    if (fs::is_directory(CorpusDir() / "forms")) return false;
    if (std::getenv("FW_SKIP_CORPUS")) return true;
    ADD_FAILURE() << "corpus not found at " << CorpusDir()
                  << " (set FW_CORPUS_DIR at configure time, or FW_SKIP_CORPUS=1 to skip)";
    return true;
}

// The files of a folder, or with folders its sub-folders, sorted.
std::vector<fs::path> FilesIn(const fs::path& dir, bool files = true, bool folders = false) {
    std::vector<fs::path> found;
    if (!fs::is_directory(dir)) return found;
    for (const auto& e : fs::directory_iterator(dir))
        if ((files && e.is_regular_file()) || (folders && e.is_directory())) found.push_back(e.path());
    std::sort(found.begin(), found.end());
    return found;
}

class RecordingHooks : public ReaderHooks {
public:
    bool ErrorHook(const std::string& message) override {
        (void)message;
        return true;
    }
    std::optional<std::uintptr_t> MethodLookupHook(const std::string& methodName, bool& error) override {
        (void)methodName;
        error = false;
        return 0x1000;
    }
};

// A message with the names it carries replaced by "*", so that messages group by kind.
std::string KindOf(const std::string& message) {
    static const std::vector<std::pair<std::regex, std::string>> patterns = {
        {std::regex("^Class .* not found$"), "Class * not found"},
        {std::regex("^Property .* does not exist$"), "Property * does not exist"},
        {std::regex("^A component named .* already exists$"), "A component named * already exists"},
        {std::regex("^Error reading [^:]*: "), "Error reading *: "},
    };
    std::string kind = message;
    for (const auto& [re, replacement] : patterns)
        kind = std::regex_replace(kind, re, replacement);
    return kind;
}

// FW_CORPUS_VERBOSE=1 lists every message other than class not found with its file, and
// every class not found.
bool Verbose() {
    return std::getenv("FW_CORPUS_VERBOSE") != nullptr;
}

// How many of the classes not found are listed: all of them when verbose.
const std::size_t MissingClassesShown = Verbose() ? 100000 : 25;

struct Tally {
    int Files = 0;
    int Unreadable = 0;  // the stream could not be had: text that does not convert, a damaged header
    int Failed = 0;      // the reader stopped with an error of the stream
    long Objects = 0;
    long Properties = 0;
    long ClassNotFound = 0;
    long RootClass = 0;  // on a root whose own class is not registered
    long Other = 0;
    std::map<std::string, long> ByKind;
    std::map<std::string, long> ByPlace;  // class.property of the messages other than class not found
    std::map<std::string, long> ByRootProperty;
    std::map<std::string, long> MissingClasses;
    std::map<std::string, long> Failures;

    void Print(const std::string& title) const {
        std::cout << "== " << title << ": " << Files << " forms, " << Unreadable << " without a stream, "
                  << Failed << " stopped by the reader\n"
                  << "   objects created " << Objects << ", properties set " << Properties << "\n"
                  << "   messages: class not found " << ClassNotFound
                  << ", on a root of an unregistered class " << RootClass << ", other " << Other << " ("
                  << (Properties ? 1000.0 * static_cast<double>(Other) / static_cast<double>(Properties)
                                 : 0.0)
                  << " per 1,000 properties)\n";
        auto top = [](const std::map<std::string, long>& counts, std::size_t n) {
            std::vector<std::pair<long, std::string>> v;
            for (const auto& [k, c] : counts)
                v.emplace_back(c, k);
            std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) {
                return a.first != b.first ? a.first > b.first : a.second < b.second;
            });
            if (v.size() > n) v.resize(n);
            return v;
        };
        std::cout << "   by kind:\n";
        for (const auto& [c, k] : top(ByKind, 20))
            std::cout << "     " << c << "  " << k << "\n";
        std::cout << "   other messages by class and property:\n";
        for (const auto& [c, k] : top(ByPlace, 40))
            std::cout << "     " << c << "  " << k << "\n";
        std::cout << "   messages on a root of an unregistered class, by property:\n";
        for (const auto& [c, k] : top(ByRootProperty, 20))
            std::cout << "     " << c << "  " << k << "\n";
        std::cout << "   classes not found:\n";
        for (const auto& [c, k] : top(MissingClasses, MissingClassesShown))
            std::cout << "     " << c << "  " << k << "\n";
        if (!Failures.empty()) {
            std::cout << "   reader stopped:\n";
            for (const auto& [c, k] : top(Failures, 20))
                std::cout << "     " << c << "  " << k << "\n";
        }
    }
};

// The class the root is read into: the written class when the registry has it, else
// what its name suggests (a frame, a data module), else a plain form as the preview
// uses. The preview always uses a form; here the other two keep data modules and
// frames from reporting the properties a form lacks.
const Class& RootClass(ClassRegistry& registry, fw::ByteSpan stream, std::string& className) {
    fw::ByteViewStream in(stream);
    try {
        fw::FormReader reader(in);
        reader.CheckSignature();
        reader.TakePrefix();
        className = reader.TakeName();
    } catch (const fw::Exception&) {
    }
    if (const Class* c = registry.FindClassByName(className); c && c->Has(CfComponent) && !c->Has(CfAbstract))
        return *c;
    std::string upper = className;
    for (char& ch : upper)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (upper.find("FRAME") != std::string::npos) return registry.Of(cls::TFrame);
    if (upper.find("MODULE") != std::string::npos || upper.rfind("TDM", 0) == 0)
        return registry.Of(cls::TDataModule);
    return registry.Of(cls::TForm);
}

// Whether bytes carry a property only the other component library writes.
bool HasOtherLibraryMarks(const fw::Bytes& bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    for (std::string_view mark :
         {"LCLVersion", "BorderSpacing", "ChildSizing", "AnchorSide", "DesignTimePPI"})
        if (text.find(mark) != std::string_view::npos) return true;
    return false;
}

void ReadInto(Tally& tally, ClassRegistry& registry, fw::ByteSpan stream, const fs::path& file) {
    std::string writtenClass;
    ObjectPtr root = CreateObject(RootClass(registry, stream, writtenClass), registry);
    RecordingHooks hooks;
    FormNames names;
    fw::ByteViewStream in(stream);
    ReadSummary summary;
    try {
        summary = ReadFormInto(*root, in, hooks, registry, fw::CodePage::Default(), &names);
    } catch (const fw::Exception& e) {
        ++tally.Failed;
        ++tally.Failures[e.what()];
        if (Verbose()) std::cout << file.filename().string() << ": Reader: " << e.what() << "\n";
        return;
    }
    // The root stands for the form's own class, which the registry does not have: what
    // that class adds to its ancestor is not a registered class's property.
    const bool rootClassKnown = registry.FindClassByName(writtenClass) != nullptr;
    tally.Objects += summary.ObjectsCreated;
    tally.Properties += summary.PropertiesSet;
    for (const ReadIssue& issue : summary.Issues) {
        const std::string kind = KindOf(issue.Message);
        ++tally.ByKind[kind];
        if (kind == "Class * not found") {
            ++tally.ClassNotFound;
            ++tally.MissingClasses[issue.ClassName];
        } else if (issue.Context == root->Name() && !rootClassKnown) {
            ++tally.RootClass;
            ++tally.ByRootProperty[issue.Path];
        } else {
            ++tally.Other;
            if (Verbose()) std::cout << file.filename().string() << ": " << issue.Message << "\n";
            ++tally.ByPlace[issue.ClassName + "." + issue.Path + "  (" + kind + ")"];
        }
    }
}

// The binary stream of a form file: text converted, a resource header skipped.
fw::Bytes StreamOf(fw::Bytes bytes) {
    const fw::FormEncoding encoding = fw::DetectEncoding(bytes);
    if (encoding == fw::FormEncoding::Text) return fw::ConvertForm(bytes, fw::FormEncoding::Binary);
    if (encoding == fw::FormEncoding::Binary) return bytes;
    fw::MemoryStream in(std::move(bytes));
    fw::SkipResourceHeader(in);
    return in.ReadToEnd();
}

struct CorpusForm {
    fs::path File;
    bool OtherLibrary;
};

// Every form of the corpus. The other library's forms are those of lfm/, those that
// carry a property only it writes, and every resource of a program one of whose forms
// does (one of its frames need not carry such a property itself).
std::vector<CorpusForm> CorpusForms() {
    std::vector<CorpusForm> forms;
    auto marked = [](const fs::path& file) {
        try {
            return HasOtherLibraryMarks(fw::ReadFileBytes(file.string()));
        } catch (const fw::Exception&) {
            return false;
        }
    };
    for (const char* folder : {"text", "binary"})
        for (const fs::path& f : FilesIn(CorpusDir() / "forms" / folder))
            forms.push_back({f, marked(f)});
    for (const fs::path& f : FilesIn(CorpusDir() / "forms" / "lfm"))
        forms.push_back({f, true});
    for (const fs::path& program : FilesIn(CorpusDir() / "pe-resources", false, true)) {
        std::vector<fs::path> streams;
        for (const fs::path& f : FilesIn(program)) {
            const std::string name = f.filename().string();
            if (f.extension() == ".bin" && name.rfind("PACKAGEINFO", 0) != 0 &&
                name.rfind("DESCRIPTION", 0) != 0)
                streams.push_back(f);
        }
        const bool otherLibrary = std::any_of(streams.begin(), streams.end(), marked);
        for (const fs::path& f : streams)
            forms.push_back({f, otherLibrary});
    }
    return forms;
}

TEST(CorpusReader, EveryFormReadsWithFewMessages) {
    if (CorpusMissing()) GTEST_SKIP() << "FW_SKIP_CORPUS is set and the corpus is absent";
    auto registry = MakeBuiltinRegistry();

    Tally ide;
    Tally otherLibrary;
    for (const CorpusForm& form : CorpusForms()) {
        Tally& tally = form.OtherLibrary ? otherLibrary : ide;
        ++tally.Files;
        fw::Bytes stream;
        try {
            stream = StreamOf(fw::ReadFileBytes(form.File.string()));
        } catch (const fw::Exception& e) {
            ++tally.Unreadable;
            if (Verbose()) std::cout << form.File.filename().string() << ": no stream: " << e.what() << "\n";
            continue;
        }
        ReadInto(tally, *registry, stream, form.File);
    }

    ide.Print("Delphi and C++Builder forms");
    otherLibrary.Print("Forms of the other component library (not held to the bar)");

    EXPECT_GT(ide.Properties, 100000) << "the corpus looks incomplete";
    EXPECT_LE(ide.Other * 1000, ide.Properties)
        << ide.Other << " messages on objects of registered classes for " << ide.Properties
        << " properties; the groups are printed above";
}

}  // namespace
