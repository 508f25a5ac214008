#include "formsearch.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "base/errors.h"
#include "codec/formformat.h"
#include "codec/formreader.h"
#include "codec/formtokenizer.h"
#include "registry.h"

namespace fw::rt {

namespace fs = std::filesystem;

namespace {

// The most a binary header can take: a resource header (at most 86 bytes), the
// signature, a prefix with its position (6) and two short strings (256 each). A
// binary head that fails inside this many bytes may only be cut short.
constexpr std::size_t BinaryHeaderLimit = 1024;

RootReadResult ReadBinaryRoot(Stream& stream, FormRoot& root) {
    // The signature is looked at first because the reader's own check fails the same
    // way for bytes that are too few and for bytes that are wrong.
    if (stream.Remaining() < static_cast<std::int64_t>(FormSignature.size()))
        throw EReadError("Stream read error");
    char signature[4] = {};
    const std::int64_t start = stream.Position();
    stream.Read(signature, sizeof signature);
    stream.Seek(start);
    if (std::memcmp(signature, FormSignature.data(), sizeof signature) != 0) return RootReadResult::NotAForm;
    FormReader reader(stream);
    reader.CheckSignature();
    const ObjectPrefix prefix = reader.TakePrefix();
    root.ClassName = reader.TakeName();
    root.ObjectName = reader.TakeName();
    root.Keyword = (prefix.Flags & FlagInherited) ? RootKeyword::Inherited
                   : (prefix.Flags & FlagInline)  ? RootKeyword::Inline
                                                  : RootKeyword::Object;
    return root.ClassName.empty() ? RootReadResult::NotAForm : RootReadResult::Found;
}

// The header line of text: keyword, then "Name: TClass" or "TClass" alone. Each token
// taken must end inside head (a byte follows it) unless head is the whole file, or the
// name could be cut short.
RootReadResult ReadTextRoot(ByteSpan head, bool atEnd, FormRoot& root) {
    ByteViewStream stream(head);
    FormTokenizer parser(stream);
    const auto complete = [&] {
        const std::int64_t end =
            parser.TokenPosition() + static_cast<std::int64_t>(parser.TokenView().size());
        return atEnd || end < static_cast<std::int64_t>(head.size());
    };
    const auto needMore = [&] { return atEnd ? RootReadResult::NotAForm : RootReadResult::NeedMore; };

    if (parser.Kind() == TokEnd || !complete()) return needMore();
    if (parser.IsKeyword("inherited")) {
        root.Keyword = RootKeyword::Inherited;
    } else if (parser.IsKeyword("inline")) {
        root.Keyword = RootKeyword::Inline;
    } else if (parser.IsKeyword("object")) {
        root.Keyword = RootKeyword::Object;
    } else {
        return RootReadResult::NotAForm;
    }
    if (parser.Advance() == TokEnd || !complete()) return needMore();
    if (parser.Kind() != TokIdent) return RootReadResult::NotAForm;
    std::string first = parser.TokenText();
    // Only whether a colon follows matters here. What else follows is the next line's
    // business: a string there that is cut short or damaged must not decide the root.
    int next = TokEnd;
    try {
        next = parser.Advance();
    } catch (const EParserError&) {
        next = TokString;
    }
    if (next == TokEnd) {
        if (!atEnd) return needMore();
    } else if (next == ':') {
        if (parser.Advance() == TokEnd || !complete()) return needMore();
        if (parser.Kind() != TokIdent) return RootReadResult::NotAForm;
        root.ObjectName = std::move(first);
        root.ClassName = parser.TokenText();
        return RootReadResult::Found;
    }
    root.ObjectName.clear();
    root.ClassName = std::move(first);
    return RootReadResult::Found;
}

}  // namespace

RootReadResult ReadFormRoot(ByteSpan head, bool atEnd, FormRoot& root) {
    root = FormRoot{};
    // The encoding shows only in the first three bytes.
    if (head.size() < 3 && !atEnd) return RootReadResult::NeedMore;
    const FormEncoding encoding = DetectEncoding(head);
    try {
        if (encoding == FormEncoding::Text) return ReadTextRoot(head, atEnd, root);
        ByteViewStream stream(head);
        if (encoding == FormEncoding::Resource) SkipResourceHeader(stream);
        return ReadBinaryRoot(stream, root);
    } catch (const EReadError&) {
        // Binary bytes ran out: cut short when the file goes on past a head smaller
        // than any header can be, damaged otherwise.
        return !atEnd && head.size() < BinaryHeaderLimit ? RootReadResult::NeedMore
                                                         : RootReadResult::NotAForm;
    } catch (const Exception&) {
        return RootReadResult::NotAForm;
    }
}

std::optional<FormRoot> ReadFormRootOfFile(const std::string& path) {
    try {
        FileStream file(path, FileStream::Mode::Read);
        const auto size = static_cast<std::size_t>(std::max<std::int64_t>(file.Size(), 0));
        Bytes head;
        std::size_t want = std::min(RootHeadBytes, size);
        for (;;) {
            const std::size_t had = head.size();
            head.resize(want);
            const std::size_t got = file.Read(head.data() + had, want - had);
            head.resize(had + got);
            const bool atEnd = head.size() >= size || got < want - had;
            FormRoot root;
            const RootReadResult result = ReadFormRoot(head, atEnd, root);
            if (result == RootReadResult::Found) return root;
            if (result == RootReadResult::NotAForm || atEnd || want >= RootHeadLimit) return std::nullopt;
            want = std::min({want * 8, size, RootHeadLimit});
        }
    } catch (const Exception&) {
        return std::nullopt;
    }
}

namespace {

bool HasExtension(const fs::path& name, std::initializer_list<std::string_view> extensions) {
    const std::string extension = name.extension().string();
    for (std::string_view candidate : extensions)
        if (EqualsIgnoringCase(extension, candidate)) return true;
    return false;
}

bool IsFormFileName(const fs::path& name) {
    return HasExtension(name, {".dfm", ".xfm"});
}

bool IsProjectMarker(const fs::path& name) {
    const std::string text = name.string();
    return text == ".git" || text == ".svn" || text == ".hg" ||
           HasExtension(name, {".dpr", ".dpk", ".dproj", ".cbproj", ".bpr", ".lpi"});
}

// The absolute form of a path without "." and ".." parts or a trailing separator, so
// that one folder has one key and a file one name.
std::string NormalPath(const std::string& folder) {
    std::error_code error;
    fs::path path = fs::absolute(fs::path(folder), error);
    if (error) path = fs::path(folder);
    path = path.lexically_normal();
    if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
    return path.string();
}

}  // namespace

FormFolderIndex::FormFolderIndex() = default;

FormFolderIndex::Folder& FormFolderIndex::Listed(const std::string& folderPath, bool& fresh) {
    Folder& folder = folders_[folderPath];
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(folderPath, error);
    fresh = false;
    if (folder.Listed && !error && time == folder.Time) return folder;

    fresh = true;
    std::vector<FormEntry> forms;
    std::vector<SourceEntry> sources;
    bool projectTop = false;
    if (!error) {
        for (fs::directory_iterator it(folderPath, error), end; !error && it != end; it.increment(error)) {
            const fs::path name = it->path().filename();
            if (IsProjectMarker(name)) projectTop = true;
            SourceLanguage language{};
            const bool isForm = IsFormFileName(name);
            const bool isSource = !isForm && SourceLanguageOfPath(name.string(), language);
            if (!isForm && !isSource) continue;
            std::error_code fileError;
            if (!it->is_regular_file(fileError) || fileError) continue;
            Stamp stamp{it->last_write_time(fileError), 0};
            if (!fileError) stamp.Size = it->file_size(fileError);
            if (fileError) continue;
            if (isForm) {
                forms.push_back({it->path().string(), stamp, false, std::nullopt});
            } else {
                sources.push_back({it->path().string(), language, stamp, false, {}});
            }
        }
    }
    if (error) {
        forms.clear();
        sources.clear();
        projectTop = false;
    }
    const auto byPath = [](const auto& a, const auto& b) { return a.Path < b.Path; };
    std::sort(forms.begin(), forms.end(), byPath);
    std::sort(sources.begin(), sources.end(), byPath);

    // What was read before stays as long as the file's stamp is the same.
    // Both lists are in path order.
    const auto keep = [](auto& fresher, auto& older) {
        auto old = older.begin();
        for (auto& entry : fresher) {
            while (old != older.end() && old->Path < entry.Path)
                ++old;
            if (old != older.end() && old->Path == entry.Path && old->Read &&
                old->FileStamp == entry.FileStamp)
                entry = std::move(*old);
        }
    };
    keep(forms, folder.Forms);
    keep(sources, folder.Sources);

    folder.Forms = std::move(forms);
    folder.Sources = std::move(sources);
    folder.ProjectTop = projectTop;
    folder.Listed = true;
    folder.Time = error ? fs::file_time_type{} : time;
    folder.Found.clear();
    return folder;
}

namespace {

// Looks at a file's stamp again; false when the file is gone or unreadable.
template <typename FileStamp>
bool Restat(const std::string& path, FileStamp& stamp) {
    std::error_code error;
    stamp.Time = fs::last_write_time(path, error);
    if (!error) stamp.Size = fs::file_size(path, error);
    return !error;
}

}  // namespace

const std::vector<IndexedForm>& FormFolderIndex::FormsOf(const std::string& folderPath, bool recheckFiles) {
    bool fresh = false;
    Folder& folder = Listed(NormalPath(folderPath), fresh);
    bool changed = fresh;
    for (FormEntry& entry : folder.Forms) {
        if (!fresh && recheckFiles) {
            Stamp now;
            if (!Restat(entry.Path, now)) now = Stamp{};
            if (entry.Read && !(now == entry.FileStamp)) entry.Read = false;
            entry.FileStamp = now;
        }
        if (entry.Read) continue;
        entry.Root = ReadFormRootOfFile(entry.Path);
        entry.Read = true;
        ++formReads_;
        changed = true;
    }
    if (changed) {
        folder.Found.clear();
        for (const FormEntry& entry : folder.Forms)
            if (entry.Root) folder.Found.push_back({entry.Path, *entry.Root});
    }
    return folder.Found;
}

bool FormFolderIndex::IsProjectTop(const std::string& folderPath) {
    bool fresh = false;
    return Listed(NormalPath(folderPath), fresh).ProjectTop;
}

std::string FormFolderIndex::DeclaredAncestorIn(const std::string& folderPath, std::string_view className,
                                                bool recheckFiles) {
    bool fresh = false;
    Folder& folder = Listed(NormalPath(folderPath), fresh);
    // The unit beside the class's form file (Main.pas or Main.h for Main.dfm) is read
    // first: it is where the class is declared, and a folder may hold many units.
    std::vector<std::size_t> order;
    order.reserve(folder.Sources.size());
    for (const FormEntry& form : folder.Forms) {
        if (!form.Root || !EqualsIgnoringCase(form.Root->ClassName, className)) continue;
        const std::string stem = fs::path(form.Path).stem().string();
        for (std::size_t i = 0; i < folder.Sources.size(); ++i)
            if (EqualsIgnoringCase(fs::path(folder.Sources[i].Path).stem().string(), stem) &&
                std::find(order.begin(), order.end(), i) == order.end())
                order.push_back(i);
    }
    for (std::size_t i = 0; i < folder.Sources.size(); ++i)
        if (std::find(order.begin(), order.end(), i) == order.end()) order.push_back(i);
    for (const std::size_t i : order) {
        SourceEntry& entry = folder.Sources[i];
        if (!fresh && recheckFiles) {
            Stamp now;
            if (!Restat(entry.Path, now)) now = Stamp{};
            if (entry.Read && !(now == entry.FileStamp)) entry.Read = false;
            entry.FileStamp = now;
        }
        if (!entry.Read) {
            entry.Declarations.clear();
            try {
                const Bytes content = ReadFileBytes(entry.Path);
                entry.Declarations = ScanClassDeclarations(
                    std::string_view(reinterpret_cast<const char*>(content.data()), content.size()),
                    entry.Language);
            } catch (const Exception&) {
                // An unreadable source declares nothing.
            }
            entry.Read = true;
            ++sourceReads_;
        }
        for (const ClassDeclaration& declaration : entry.Declarations)
            if (EqualsIgnoringCase(declaration.Name, className)) return declaration.Ancestor;
    }
    return {};
}

FolderFormSource::FolderFormSource(std::string formPath, std::vector<std::string> extraFolders,
                                   FormFolderIndex& index)
    : formPath_(std::move(formPath)), index_(index) {
    const auto add = [this](const std::string& folder) {
        if (std::find(folders_.begin(), folders_.end(), folder) == folders_.end()) folders_.push_back(folder);
    };
    if (!formPath_.empty()) {
        fs::path folder = fs::path(NormalPath(formPath_)).parent_path();
        for (int level = 0; level <= MaxParentFolders; ++level) {
            // The root of the file system is no project's folder: the walk ends below it.
            if (level > 0 && folder == folder.root_path()) break;
            add(folder.string());
            if (index_.IsProjectTop(folder.string())) break;
            const fs::path parent = folder.parent_path();
            if (parent == folder) break;
            folder = parent;
        }
    }
    for (const std::string& extra : extraFolders)
        if (!extra.empty()) add(NormalPath(extra));
    formsChecked_.assign(folders_.size(), false);
    sourcesChecked_.assign(folders_.size(), false);
}

bool FolderFormSource::IsTheFormItself(const std::string& path) const {
    if (formPath_.empty()) return false;
    std::error_code error;
    return NormalPath(path) == NormalPath(formPath_) || fs::equivalent(path, formPath_, error);
}

std::optional<FormFile> FolderFormSource::FindFormOfClass(std::string_view className) {
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        const std::string& folder = folders_[i];
        const bool recheck = !formsChecked_[i];
        formsChecked_[i] = true;
        for (const IndexedForm& form : index_.FormsOf(folder, recheck)) {
            if (!EqualsIgnoringCase(form.Root.ClassName, className) || IsTheFormItself(form.Path)) continue;
            try {
                return FormFile{form.Path, ReadFileBytes(form.Path)};
            } catch (const Exception&) {
                // Gone or unreadable since it was indexed: the next match may do.
            }
        }
    }
    return std::nullopt;
}

std::string FolderFormSource::DeclaredAncestorOf(std::string_view className) {
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        // The roots of the folder's forms tell which unit to read first.
        if (!formsChecked_[i]) {
            index_.FormsOf(folders_[i]);
            formsChecked_[i] = true;
        }
        const bool recheck = !sourcesChecked_[i];
        sourcesChecked_[i] = true;
        std::string ancestor = index_.DeclaredAncestorIn(folders_[i], className, recheck);
        if (!ancestor.empty()) return ancestor;
    }
    return {};
}

std::string FolderFormSource::SearchedText() const {
    std::string text;
    for (const std::string& folder : folders_) {
        if (!text.empty()) text += ", ";
        text += folder;
    }
    return text;
}

}  // namespace fw::rt
