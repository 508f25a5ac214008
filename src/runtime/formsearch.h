#pragma once
// Finding the form file of a class among the files of a project: the root object of
// every form file in a folder is read from the file's first bytes and remembered while
// the file is unchanged, and a FolderFormSource walks the folders a build should look
// in (the form's own, its parents up to the project's top, then folders the user
// lists).

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/stream.h"
#include "classdeclarations.h"
#include "formsource.h"

namespace fw::rt {

// How a root object's header line begins.
enum class RootKeyword { Object, Inherited, Inline };

// The root object of a form file: "inherited FmMain: TFmMain" gives TFmMain, FmMain,
// Inherited.
struct FormRoot {
    std::string ClassName;
    std::string ObjectName;  // empty when the header has none
    RootKeyword Keyword = RootKeyword::Object;
};

enum class RootReadResult {
    Found,     // root filled in
    NeedMore,  // the header runs past the bytes given and the file goes on
    NotAForm,  // the bytes are no form file's beginning (or damaged)
};

// Reads the root object's header from the first bytes of a form file in any of the
// three encodings: text (the first line that is not blank, after an optional UTF-8
// byte-order mark), binary ("TPF0", the flags prefix, class name, object name) and
// resource-wrapped (the 16-bit resource header, then binary). atEnd tells that head is
// the whole file. Never throws.
RootReadResult ReadFormRoot(ByteSpan head, bool atEnd, FormRoot& root);

// The first read of a file's beginning, and the most that is read while the header is
// not complete. A binary header always fits in the first limit; only text with many
// blank lines before its first line needs more.
inline constexpr std::size_t RootHeadBytes = 512;
inline constexpr std::size_t RootHeadLimit = 64 * 1024;

// Reads the root of the form file at path from its first bytes, RootHeadBytes at first
// and more up to RootHeadLimit only while the header is not complete. nullopt when the
// file cannot be read or does not begin like a form.
std::optional<FormRoot> ReadFormRootOfFile(const std::string& path);

struct IndexedForm {
    std::string Path;
    FormRoot Root;
};

// The root classes of the form files of folders, remembered while a folder is
// unchanged. Owned by whoever keeps it across builds (the editor's session, one CLI
// run); not thread-safe.
class FormFolderIndex {
public:
    FormFolderIndex();

    // The form files (.dfm and .xfm, extension in any letter case) directly in folder
    // whose root could be read, in the order of their paths. The folder is listed again
    // when its modification time changed; with recheckFiles every known file is looked
    // at (modification time and size) and read again only when either changed. A folder
    // that cannot be listed has no forms. The list stays valid until the next call for
    // the same folder.
    const std::vector<IndexedForm>& FormsOf(const std::string& folder, bool recheckFiles = true);

    // Whether folder holds a project file (.dpr, .dpk, .dproj, .cbproj, .bpr, .lpi) or a
    // version-control entry (.git, .svn, .hg): the top of a search for a form's
    // ancestors.
    bool IsProjectTop(const std::string& folder);

    // The ancestor that the .pas, .h and .hpp files directly in folder declare for
    // className (ASCII case ignored); empty when none does. The sources named like a
    // form file of className that FormsOf read are read first, then the others in path
    // order, each only until the class is found; a source is read again when it changed
    // (looked at as FormsOf does).
    std::string DeclaredAncestorIn(const std::string& folder, std::string_view className,
                                   bool recheckFiles = true);

    // How many times a form file's beginning and a source file were read since the
    // index was made, to observe the caching.
    std::size_t FormReads() const { return formReads_; }
    std::size_t SourceReads() const { return sourceReads_; }

private:
    struct Stamp {
        std::filesystem::file_time_type Time{};
        std::uintmax_t Size = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct FormEntry {
        std::string Path;
        Stamp FileStamp;
        bool Read = false;
        std::optional<FormRoot> Root;
    };
    struct SourceEntry {
        std::string Path;
        SourceLanguage Language = SourceLanguage::Pascal;
        Stamp FileStamp;
        bool Read = false;
        std::vector<ClassDeclaration> Declarations;
    };
    struct Folder {
        bool Listed = false;
        std::filesystem::file_time_type Time{};
        bool ProjectTop = false;
        std::vector<FormEntry> Forms;
        std::vector<SourceEntry> Sources;
        std::vector<IndexedForm> Found;
    };

    // The folder's record, listed again when its modification time changed; fresh
    // tells whether the listing was made by this call (its stamps are then current).
    Folder& Listed(const std::string& folder, bool& fresh);

    std::unordered_map<std::string, Folder> folders_;
    std::size_t formReads_ = 0;
    std::size_t sourceReads_ = 0;
};

// Searching stops this many parent folders above the form's own when no project top
// was found, so that a form outside any project does not send the search up to the
// root of the file system.
inline constexpr int MaxParentFolders = 4;

// Searches the form's folder, its parents up to the project top, then extra folders.
// Subfolders are not searched.
class FolderFormSource : public FormFileSource {
public:
    // formPath: the form being built (may be empty: then only extraFolders are
    // searched). Lists the form's folder and its parents to find the project top.
    FolderFormSource(std::string formPath, std::vector<std::string> extraFolders, FormFolderIndex& index);

    // The first file in search order, the form itself left out, whose root class is
    // className; its whole content is read. A file that cannot be read is passed over.
    // The files of each folder are looked at once in the life of the source (one
    // build): later lookups take them as they were then, unless the folder changed.
    std::optional<FormFile> FindFormOfClass(std::string_view className) override;
    // The first declaration found in the same folders, in the same order. Reads the
    // roots of a folder's forms (as FindFormOfClass does) before its sources.
    std::string DeclaredAncestorOf(std::string_view className) override;
    // The folders searched, joined with ", ".
    std::string SearchedText() const override;

    const std::vector<std::string>& Folders() const { return folders_; }

private:
    bool IsTheFormItself(const std::string& path) const;

    std::string formPath_;
    std::vector<std::string> folders_;
    std::vector<bool> formsChecked_;    // per folder: its form files were looked at
    std::vector<bool> sourcesChecked_;  // per folder: its sources were looked at
    FormFolderIndex& index_;
};

}  // namespace fw::rt
