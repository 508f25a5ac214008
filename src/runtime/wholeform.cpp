#include "wholeform.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <new>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "base/asciitext.h"
#include "base/errors.h"
#include "builtin.h"
#include "codec/conversion.h"
#include "codec/declaredcharset.h"
#include "codec/formformat.h"
#include "codec/textlines.h"
#include "formbuild.h"

namespace fw::rt {

int BuildOrigins::FileOf(const Object& object) const {
    const auto it = Objects.find(&object);
    return it == Objects.end() ? 0 : it->second.File;
}

int BuildOrigins::FileOfProperty(const Object& object, std::string_view path) const {
    const auto it = Objects.find(&object);
    if (it == Objects.end()) return -1;
    for (const auto& [written, file] : it->second.Properties)
        if (EqualsIgnoringCase(written, path)) return file;
    return -1;
}

namespace {

// The first word of a line of form text, and whether a '=' follows it: a property's
// name, or a keyword (object, inherited, inline, item, end).
struct LineWord {
    std::string_view Word;
    bool Assigned = false;
};

LineWord WordOn(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    line.remove_prefix(start);
    std::size_t end = 0;
    while (end < line.size() &&
           (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_' || line[end] == '.'))
        ++end;
    const std::size_t next = line.find_first_not_of(" \t", end);
    return {line.substr(0, end), next != std::string_view::npos && line[next] == '='};
}

// Form file bytes in any encoding as form text, in the code page its fonts declare,
// else in fallback (page receives the one taken). Throws when the file cannot be
// converted.
std::string FormTextOf(Bytes content, const CodePage& fallback, const CodePage*& page) {
    page = CodePage::Find(DeclaredCodePageOf(content).CodePage);
    if (!page) page = &fallback;
    if (DetectEncoding(content) != FormEncoding::Text)
        content = ConvertForm(content, FormEncoding::Text, *page);
    return std::string(reinterpret_cast<const char*>(content.data()), content.size());
}

// The kind of root a registered class makes; nullopt for a class that is none of them.
std::optional<RootBase> BaseOfClass(const Class& cls) {
    if (cls.InheritsFrom("TCustomFrame")) return RootBase::Frame;
    if (cls.InheritsFrom("TDataModule")) return RootBase::DataModule;
    if (cls.InheritsFrom("TCustomForm")) return RootBase::Form;
    return std::nullopt;
}

// The library's root classes, which a program's forms descend from without being
// registered: a declaration naming one ends the search for ancestor files.
const ClassInfo* LibraryRootClass(std::string_view name) {
    for (const ClassInfo* info :
         {&cls::TForm, &cls::TCustomForm, &cls::TFrame, &cls::TCustomFrame, &cls::TDataModule})
        if (EqualsIgnoringCase(info->Name, name)) return info;
    return nullptr;
}

std::optional<RootBase> BaseOfLibraryClass(std::string_view name) {
    if (EqualsIgnoringCase(name, "TFrame") || EqualsIgnoringCase(name, "TCustomFrame"))
        return RootBase::Frame;
    if (EqualsIgnoringCase(name, "TDataModule")) return RootBase::DataModule;
    if (EqualsIgnoringCase(name, "TForm") || EqualsIgnoringCase(name, "TCustomForm")) return RootBase::Form;
    return std::nullopt;
}

}  // namespace

std::string RootClassOf(std::string_view text) {
    std::string_view header = FirstTextLine(text);
    const std::size_t colon = header.find(':');
    if (colon == std::string_view::npos) return {};
    header.remove_prefix(colon + 1);
    header.remove_prefix(std::min(header.find_first_not_of(" \t"), header.size()));
    return std::string(header.substr(0, header.find_first_of(" \t[")));
}

RootBase StoredRootBaseOf(std::string_view text) {
    const std::string rootClass = RootClassOf(text);
    const std::vector<std::string_view> lines = TextLines(text);
    if (EqualsIgnoringCase(rootClass, "TFrame")) return RootBase::Frame;
    if (EqualsIgnoringCase(rootClass, "TDataModule")) return RootBase::DataModule;

    // What frames write of a control's and forms never publish.
    static constexpr std::string_view FrameOnly[] = {
        "TabOrder", "TabStop", "OnEnter", "OnExit", "ParentShowHint", "ParentColor", "ParentBackground"};
    bool frame = false;
    bool module = false;
    bool width = false;
    // The nesting of objects and collection items; the root's properties are at 1.
    // Values that go on over several lines never start with a word and '='.
    int depth = 1;
    for (std::size_t i = 1; i < lines.size() && depth > 0; ++i) {
        const LineWord word = WordOn(lines[i]);
        if (!word.Assigned) {
            if (word.Word == "object" || word.Word == "inherited" || word.Word == "inline" ||
                word.Word == "item")
                ++depth;
            else if (word.Word == "end")
                --depth;
            continue;
        }
        if (depth != 1) continue;
        for (const std::string_view formOnly :
             {"Caption", "ClientWidth", "ClientHeight", "TextHeight", "BorderStyle", "BorderIcons"})
            if (EqualsIgnoringCase(word.Word, formOnly)) return RootBase::Form;
        for (const std::string_view only : FrameOnly)
            frame = frame || EqualsIgnoringCase(word.Word, only);
        // A data module writes OldCreateOrder, and its Height before its Width, where
        // controls write Width first.
        module = module || EqualsIgnoringCase(word.Word, "OldCreateOrder") ||
                 (!width && EqualsIgnoringCase(word.Word, "Height"));
        width = width || EqualsIgnoringCase(word.Word, "Width");
    }
    if (frame) return RootBase::Frame;
    return module ? RootBase::DataModule : RootBase::Form;
}

namespace {

// Calls visit with each ancestor class of the text's root by the declarations the
// source knows, the nearest first, and the text of its form file when the source finds
// one (nullptr when not), until visit answers true, the chain reaches a class of the
// library or its end, loops, or goes deeper than forms may nest. Never throws.
template <typename Visit>
void ForEachAncestor(std::string_view formText, FormFileSource& source, Visit visit) {
    std::string className = RootClassOf(formText);
    std::vector<std::string> seen;
    try {
        for (int level = 0; level < MaxFormNesting && !className.empty() && !BaseOfLibraryClass(className);
             ++level) {
            if (std::any_of(seen.begin(), seen.end(),
                            [&](const std::string& s) { return EqualsIgnoringCase(s, className); }))
                return;
            seen.push_back(className);
            className = source.DeclaredAncestorOf(className);
            if (className.empty()) return;
            std::string text;
            std::optional<FormFile> file;
            if (!BaseOfLibraryClass(className)) file = source.FindFormOfClass(className);
            if (file) {
                const CodePage* page = nullptr;
                text = FormTextOf(std::move(file->Content), CodePage::Default(), page);
            }
            if (visit(std::string_view(className), file ? &text : nullptr)) return;
        }
    } catch (const std::exception&) {
        // A file or folder that cannot be read tells nothing more.
    }
}

}  // namespace

RootBase RootBaseOf(std::string_view text, const ClassRegistry& registry, FormFileSource* source) {
    const auto baseOf = [&](std::string_view className) -> std::optional<RootBase> {
        if (const Class* cls = registry.FindClassByName(className))
            if (const std::optional<RootBase> base = BaseOfClass(*cls)) return base;
        return BaseOfLibraryClass(className);
    };
    std::optional<RootBase> base = baseOf(RootClassOf(text));
    if (base) return *base;
    // The text of the most basic ancestor whose file was found: it stores the most of
    // what the root is.
    std::string basic;
    if (source)
        ForEachAncestor(text, *source, [&](std::string_view className, const std::string* ancestorText) {
            base = baseOf(className);
            if (!base && ancestorText) basic = *ancestorText;
            return base.has_value();
        });
    if (base) return *base;
    return StoredRootBaseOf(basic.empty() ? text : std::string_view(basic));
}

namespace {

// The keyword of the first line of form text: object, inherited or inline.
std::string_view RootKeywordOf(std::string_view text) {
    return WordOn(FirstTextLine(text)).Word;
}

// The last part of a path, for messages: "base.dfm".
std::string FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// Class names as keys, ignoring ASCII case.
using NameSet = std::unordered_set<std::string, IgnoringCaseHash, IgnoringCaseEqual>;

bool Contains(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return EqualsIgnoringCase(n, name); });
}

}  // namespace

struct WholeFormReading::State {
    // A form file found for a class, as form text in the code page of its strings.
    struct FormText {
        std::string Path;
        std::string Name;  // the file's name, for messages
        std::string Text;
        const CodePage* Page = nullptr;
    };
    // The files of a class's ancestors, the nearest first, and the registered class
    // the most basic one descends from (nullptr when none is known).
    struct Ancestry {
        std::vector<const FormText*> Files;
        std::vector<std::string> Classes;
        const Class* Registered = nullptr;
    };

    ClassRegistry& Registry;
    const CodePage& Page;
    FormFileSource& Source;
    BuildOrigins* Origins;
    // The files looked for, by class name; nullopt for none (or one that could not be
    // read).
    std::unordered_map<std::string, std::optional<FormText>, IgnoringCaseHash, IgnoringCaseEqual> Found;
    // The classes whose files are being read, the outermost first: a class met again
    // while it is read is a cycle.
    std::vector<std::string> Reading;
    std::vector<std::string> Messages;
    std::set<std::string> Said;     // messages given, so a frame used twice says its complaints once
    NameSet Missing;                // classes whose file or declaration was said missing
    NameSet Unreadable;             // classes whose file could not be found or converted for an error
    int CurrentFile = 0;            // the origins' index of the file being read
    std::set<const Object*> Noted;  // objects whose creating file is known

    State(ClassRegistry& registry, const CodePage& page, FormFileSource& source, BuildOrigins* origins)
        : Registry(registry), Page(page), Source(source), Origins(origins) {}

    void Say(std::string message) {
        if (Said.insert(message).second) Messages.push_back(std::move(message));
    }

    // The form file of the class, converted to text once per build; nullptr when none
    // is found or it cannot be converted (which is said).
    const FormText* Find(std::string_view className) {
        const auto [it, added] = Found.try_emplace(std::string(className));
        if (!added) return it->second ? &*it->second : nullptr;
        std::optional<FormFile> file;
        try {
            file = Source.FindFormOfClass(className);
        } catch (const std::exception& error) {
            // A folder that cannot be read is no reason to stop the build.
            Unreadable.insert(std::string(className));
            Say("ERROR=Finding the form of " + std::string(className) + ": " + error.what());
            return nullptr;
        }
        if (!file) return nullptr;
        FormText text;
        text.Path = file->Path;
        text.Name = FileNameOf(file->Path);
        try {
            text.Text = FormTextOf(std::move(file->Content), Page, text.Page);
        } catch (const std::bad_alloc&) {
            Unreadable.insert(std::string(className));
            Say("ERROR=in " + text.Name + ": Reader: Out of memory");
            return nullptr;
        } catch (const std::exception& error) {
            Unreadable.insert(std::string(className));
            Say("ERROR=in " + text.Name + ": Reader: " + error.what());
            return nullptr;
        }
        it->second = std::move(text);
        return &*it->second;
    }

    // "TA -> TB -> TA": the classes from the first time name was met to now.
    std::string CyclePath(const std::vector<std::string>& chain, std::string_view name) const {
        std::vector<std::string> all = Reading;
        all.insert(all.end(), chain.begin(), chain.end());
        std::size_t from = 0;
        while (from < all.size() && !EqualsIgnoringCase(all[from], name))
            ++from;
        std::string path;
        for (std::size_t i = from; i < all.size(); ++i)
            path += all[i] + " -> ";
        return path + std::string(name);
    }

    void SayTooDeep(const std::vector<std::string>& chain, std::string_view name) {
        std::vector<std::string> all = Reading;
        all.insert(all.end(), chain.begin(), chain.end());
        std::string path;
        for (const std::string& c : all)
            path += c + " -> ";
        Say("ERROR=Forms nested too deeply (more than " + std::to_string(MaxFormNesting) + "): " + path +
            std::string(name));
    }

    // The ancestors of className whose own form says it is inherited (or not), by the
    // declarations the source knows, up to a registered class or one without a file.
    // A form that says it is inherited and whose ancestor's file is not found is a
    // message; a plain one is read alone then.
    Ancestry AncestorsOf(std::string_view className, bool inherited) {
        Ancestry result;
        std::string current(className);
        while (true) {
            std::string ancestor;
            try {
                ancestor = Source.DeclaredAncestorOf(current);
            } catch (const std::exception& error) {
                Say("ERROR=Finding the declaration of " + current + ": " + error.what());
                break;
            }
            if (ancestor.empty()) {
                if (inherited && Missing.insert(current).second)
                    Say("WARN=Ancestor form of " + current +
                        " not found: its class declaration was not found; searched: " +
                        Source.SearchedText());
                break;
            }
            if (const Class* cls = Registry.FindClassByName(ancestor)) {
                result.Registered = cls;
                break;
            }
            if (const ClassInfo* info = LibraryRootClass(ancestor)) {
                result.Registered = &Registry.Of(*info);
                break;
            }
            // The class itself is being read already (the caller put it there).
            if (Contains(Reading, ancestor) || Contains(result.Classes, ancestor)) {
                Say("ERROR=Cycle in form inheritance: " + CyclePath(result.Classes, ancestor));
                break;
            }
            if (Reading.size() + result.Classes.size() >= static_cast<std::size_t>(MaxFormNesting)) {
                SayTooDeep(result.Classes, ancestor);
                break;
            }
            const FormText* file = Find(ancestor);
            if (!file) {
                if (inherited && !Unreadable.count(ancestor) && Missing.insert(ancestor).second)
                    Say("WARN=Ancestor form " + ancestor + " not found; searched: " + Source.SearchedText());
                break;
            }
            result.Files.push_back(file);
            result.Classes.push_back(ancestor);
            inherited = EqualsIgnoringCase(RootKeywordOf(file->Text), "inherited");
            current = ancestor;
        }
        return result;
    }

    int FileIndex(const std::string& path) {
        if (!Origins) return 0;
        for (std::size_t i = 1; i < Origins->Files.size(); ++i)
            if (Origins->Files[i] == path) return static_cast<int>(i);
        Origins->Files.push_back(path);
        return static_cast<int>(Origins->Files.size()) - 1;
    }

    // Reads the file's form into target, as an ancestor's (target is the root) or a
    // frame's (target is the inline object). What was read before an error stays.
    void ReadFile(Object& target, const FormText& file, WholeFormReading& owner, int depth) {
        const int outerFile = CurrentFile;
        CurrentFile = FileIndex(file.Path);
        std::vector<std::string> texts;
        ReadSummary summary;
        std::string failure;
        try {
            std::string storage;
            const std::string_view read = WithLineFeeds(file.Text, storage);
            ByteViewStream source(ByteSpan(reinterpret_cast<const std::uint8_t*>(read.data()), read.size()));
            MemoryStream binary;
            TextToBinaryForm(source, binary, *file.Page);
            ByteViewStream form(binary.Data());
            const std::unique_ptr<ReaderHooks> hooks = owner.Hooks(texts, depth);
            ReadFormInto(target, form, *hooks, Registry, *file.Page, nullptr, summary);
        } catch (const std::bad_alloc&) {
            failure = "Reader: Out of memory";
        } catch (const std::exception& error) {
            failure = std::string("Reader: ") + error.what();
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (i < summary.Issues.size() && IsWindowSettingIssue(summary.Issues[i])) continue;
            const std::string& message = texts[i];
            const std::size_t equals = message.find('=');
            Say(message.substr(0, equals + 1) + "in " + file.Name + ": " + message.substr(equals + 1));
        }
        if (!failure.empty()) Say("ERROR=in " + file.Name + ": " + failure);
        // The objects this file's records created; its root record stands for the
        // target, which the record that asked for the file made.
        if (Origins)
            for (std::size_t i = 1; i < summary.Objects.size(); ++i)
                if (const Object* live = summary.Objects[i].Live; live && Noted.insert(live).second)
                    Origins->Objects[live].File = CurrentFile;
        CurrentFile = outerFile;
    }

    // Reads the files of the class's ancestors, then its own file when given, into target.
    void ReadWhole(Object& target, const Ancestry& ancestry, const FormText* own, WholeFormReading& owner,
                   int depth) {
        for (auto file = ancestry.Files.rbegin(); file != ancestry.Files.rend(); ++file)
            ReadFile(target, **file, owner, depth);
        if (own) ReadFile(target, *own, owner, depth);
    }

    ObjectPtr ReadInline(const std::string& className, int depth, WholeFormReading& owner) {
        if (Contains(Reading, className)) {
            Say("ERROR=Cycle in form inheritance: " + CyclePath({}, className));
            return CreateObject(Registry.Of(cls::TFrame), Registry);
        }
        if (Reading.size() >= static_cast<std::size_t>(MaxFormNesting)) {
            SayTooDeep({}, className);
            return CreateObject(Registry.Of(cls::TFrame), Registry);
        }
        const FormText* own = Find(className);
        if (!own) {
            if (!Unreadable.count(std::string(className)) && Missing.insert(std::string(className)).second)
                Say("WARN=Frame " + className + " not found; searched: " + Source.SearchedText());
            return nullptr;
        }
        Reading.push_back(className);
        const Ancestry ancestry =
            AncestorsOf(className, EqualsIgnoringCase(RootKeywordOf(own->Text), "inherited"));
        Reading.insert(Reading.end(), ancestry.Classes.begin(), ancestry.Classes.end());
        // The frame is made as the registered class it is or descends from, when that is
        // a frame; otherwise as a plain frame.
        const Class* frameClass = Registry.FindClassByName(className);
        if (!frameClass) frameClass = ancestry.Registered;
        if (!frameClass || !frameClass->InheritsFrom("TCustomFrame")) frameClass = &Registry.Of(cls::TFrame);
        ObjectPtr frame = CreateObject(*frameClass, Registry);
        ReadWhole(*frame, ancestry, own, owner, depth);
        Reading.resize(Reading.size() - 1 - ancestry.Classes.size());
        return frame;
    }

    void NoteProperty(const Object& object, const std::string& path) {
        // Collection items come and go with their collection, whose own entry says
        // which file stored them.
        if (!Origins || object.Collection()) return;
        auto& properties = Origins->Objects[&object].Properties;
        for (auto& [written, file] : properties)
            if (EqualsIgnoringCase(written, path)) {
                file = CurrentFile;
                return;
            }
        properties.emplace_back(path, CurrentFile);
    }
};

namespace {

// The hooks of a read within a whole-form build.
class WholeFormHooks : public MessageCollectingHooks {
public:
    WholeFormHooks(std::vector<std::string>& messages, WholeFormReading& reading,
                   WholeFormReading::State& state, int startDepth)
        : MessageCollectingHooks(messages), reading_(reading), state_(state), startDepth_(startDepth) {}

    ObjectPtr InlineHook(const std::string& className, const std::string& name, int depth) override {
        (void)name;
        return state_.ReadInline(className, depth, reading_);
    }
    void PropertyHook(const Object& object, const std::string& path) override {
        state_.NoteProperty(object, path);
    }
    int StartDepth() const override { return startDepth_; }

private:
    WholeFormReading& reading_;
    WholeFormReading::State& state_;
    int startDepth_;
};

}  // namespace

WholeFormReading::WholeFormReading(ClassRegistry& registry, const CodePage& codePage, FormFileSource& source,
                                   BuildOrigins* origins)
    : state_(std::make_unique<State>(registry, codePage, source, origins)) {
    if (origins) {
        origins->Files.assign(1, std::string());
        origins->Objects.clear();
    }
}

WholeFormReading::~WholeFormReading() = default;

void WholeFormReading::ReadAncestors(Object& root, std::string_view text) {
    const std::string className = RootClassOf(text);
    if (className.empty()) return;
    State& state = *state_;
    state.Reading.push_back(className);
    const State::Ancestry ancestry =
        state.AncestorsOf(className, EqualsIgnoringCase(RootKeywordOf(text), "inherited"));
    state.Reading.insert(state.Reading.end(), ancestry.Classes.begin(), ancestry.Classes.end());
    state.ReadWhole(root, ancestry, nullptr, *this, 0);
    // The text's own read comes next: its inline frames are read with only its class
    // being read.
    state.Reading.resize(1);
}

std::unique_ptr<ReaderHooks> WholeFormReading::Hooks(std::vector<std::string>& texts, int startDepth) {
    return std::make_unique<WholeFormHooks>(texts, *this, *state_, startDepth);
}

std::vector<std::string> WholeFormReading::TakeMessages() {
    return std::move(state_->Messages);
}

}  // namespace fw::rt
