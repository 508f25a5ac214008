// Finding the form file of a class: reading a root from a file's first bytes in each
// encoding, the declarations of Pascal units and C++ headers, the folders a search
// walks, and the index that re-reads only what changed.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "runtime/classdeclarations.h"
#include "runtime/formsearch.h"
#include "runtime_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace fw::rt;

fw::Bytes AsBytes(std::string_view text) {
    return fw::Bytes(text.begin(), text.end());
}

fw::Bytes Encoded(std::string_view text, fw::FormEncoding encoding) {
    return fw::ConvertForm(AsBytes(text), encoding);
}

// A small form of class className whose root line begins with keyword.
std::string FormText(std::string_view keyword, std::string_view name, std::string_view className) {
    return std::string(keyword) + " " + std::string(name) + ": " + std::string(className) +
           "\r\n  Caption = 'Form'\r\n  object Button1: TButton\r\n    Left = 8\r\n  end\r\nend\r\n";
}

// A folder made for one test and removed after it.
class TempTree {
public:
    TempTree() {
        std::string pattern = (fs::temp_directory_path() / "fw-formsearch-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
    }
    ~TempTree() {
        std::error_code error;
        fs::remove_all(root_, error);
    }
    const fs::path& Root() const { return root_; }
    fs::path Write(const fs::path& relative, const fw::Bytes& content) const {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(content.data()),
                  static_cast<std::streamsize>(content.size()));
        return path;
    }
    fs::path Write(const fs::path& relative, std::string_view text) const {
        return Write(relative, AsBytes(text));
    }
    fs::path Folder(const fs::path& relative) const {
        fs::create_directories(root_ / relative);
        return root_ / relative;
    }

private:
    fs::path root_;
};

// ---------------------------------------------------------------------------------
// The root from the first bytes

struct RootCase {
    const char* Label;
    fw::Bytes Head;
    RootReadResult Result;
    const char* ClassName;
    const char* ObjectName;
    RootKeyword Keyword;
};

TEST(FormRoot, ReadsTheRootInEachEncoding) {
    const std::string base = FormText("object", "BaseForm", "TBaseForm");
    const std::string inherited = FormText("inherited", "FmMain", "TFmMain");
    const std::string frame = FormText("inline", "Frame1", "TAddressFrame");
    const auto resource = Encoded(base, fw::FormEncoding::Resource);
    fw::Bytes badResource = resource;
    badResource[1] = 0x0B;
    fw::Bytes lowerSignature = Encoded(base, fw::FormEncoding::Binary);
    lowerSignature[0] = 't';
    const std::vector<RootCase> cases = {
        {"text", AsBytes(base), RootReadResult::Found, "TBaseForm", "BaseForm", RootKeyword::Object},
        {"text after a byte-order mark", AsBytes("\xEF\xBB\xBF" + base), RootReadResult::Found, "TBaseForm",
         "BaseForm", RootKeyword::Object},
        {"text after blank lines", AsBytes("\r\n  \r\n\t\r\n" + base), RootReadResult::Found, "TBaseForm",
         "BaseForm", RootKeyword::Object},
        {"keywords in any case", AsBytes("INHERITED FmMain : TFmMain\r\nEND\r\n"), RootReadResult::Found,
         "TFmMain", "FmMain", RootKeyword::Inherited},
        {"inherited text", AsBytes(inherited), RootReadResult::Found, "TFmMain", "FmMain",
         RootKeyword::Inherited},
        {"inline text", AsBytes(frame), RootReadResult::Found, "TAddressFrame", "Frame1",
         RootKeyword::Inline},
        {"text root without a name", AsBytes("object TForm1\r\nend\r\n"), RootReadResult::Found, "TForm1", "",
         RootKeyword::Object},
        // Found by the fuzzer: a damaged string after the root's class lost the root.
        {"text root followed by a damaged string", AsBytes("object TForm1 'x''#2\0"), RootReadResult::Found,
         "TForm1", "", RootKeyword::Object},
        {"text with a child position", AsBytes("object Form1: TForm1 [0]\r\nend\r\n"), RootReadResult::Found,
         "TForm1", "Form1", RootKeyword::Object},
        {"binary", Encoded(base, fw::FormEncoding::Binary), RootReadResult::Found, "TBaseForm", "BaseForm",
         RootKeyword::Object},
        {"inherited binary", Encoded(inherited, fw::FormEncoding::Binary), RootReadResult::Found, "TFmMain",
         "FmMain", RootKeyword::Inherited},
        {"inline binary", Encoded(frame, fw::FormEncoding::Binary), RootReadResult::Found, "TAddressFrame",
         "Frame1", RootKeyword::Inline},
        {"resource-wrapped", resource, RootReadResult::Found, "TBaseForm", "BaseForm", RootKeyword::Object},
        {"inherited resource-wrapped", Encoded(inherited, fw::FormEncoding::Resource), RootReadResult::Found,
         "TFmMain", "FmMain", RootKeyword::Inherited},
        {"empty file", {}, RootReadResult::NotAForm, "", "", RootKeyword::Object},
        {"a Pascal unit", AsBytes("unit Main;\r\ninterface\r\n"), RootReadResult::NotAForm, "", "",
         RootKeyword::Object},
        {"a keyword with nothing after it", AsBytes("object\r\n"), RootReadResult::NotAForm, "", "",
         RootKeyword::Object},
        {"a number for the name", AsBytes("object 12: TForm1\r\n"), RootReadResult::NotAForm, "", "",
         RootKeyword::Object},
        {"an unterminated string", AsBytes("object 'Form1\r\n"), RootReadResult::NotAForm, "", "",
         RootKeyword::Object},
        {"a picture", AsBytes("\x89PNG\r\n\x1A\n\0\0\0\rIHDR"), RootReadResult::NotAForm, "", "",
         RootKeyword::Object},
        {"binary signature in lower case", lowerSignature, RootReadResult::NotAForm, "", "",
         RootKeyword::Object},
        {"binary with an empty class name", AsBytes(std::string("TPF0\0\0", 6)), RootReadResult::NotAForm, "",
         "", RootKeyword::Object},
        {"binary whose name runs past the end", AsBytes("TPF0\x40TB"), RootReadResult::NotAForm, "", "",
         RootKeyword::Object},
        {"a damaged resource header", badResource, RootReadResult::NotAForm, "", "", RootKeyword::Object},
    };
    for (const RootCase& c : cases) {
        SCOPED_TRACE(c.Label);
        FormRoot root;
        ASSERT_EQ(ReadFormRoot(c.Head, true, root), c.Result);
        if (c.Result != RootReadResult::Found) continue;
        EXPECT_EQ(root.ClassName, c.ClassName);
        EXPECT_EQ(root.ObjectName, c.ObjectName);
        EXPECT_EQ(root.Keyword, c.Keyword);
    }
}

// A head cut anywhere inside the root's header must ask for more when the file goes
// on, never give a shortened class name, and be no form when it is the whole file.
TEST(FormRoot, AsksForMoreWhenTheHeaderIsCut) {
    const std::string text = FormText("object", "MainForm", "TMainForm");
    const std::vector<std::pair<const char*, fw::Bytes>> files = {
        {"text", AsBytes(text)},
        {"text after a byte-order mark", AsBytes("\xEF\xBB\xBF" + text)},
        {"binary", Encoded(text, fw::FormEncoding::Binary)},
        {"resource-wrapped", Encoded(text, fw::FormEncoding::Resource)},
    };
    for (const auto& [label, file] : files) {
        FormRoot whole;
        ASSERT_EQ(ReadFormRoot(file, true, whole), RootReadResult::Found) << label;
        for (std::size_t cut = 0; cut < file.size(); ++cut) {
            SCOPED_TRACE(std::string(label) + " cut at " + std::to_string(cut));
            const fw::ByteSpan head(file.data(), cut);
            FormRoot root;
            const RootReadResult result = ReadFormRoot(head, false, root);
            if (result == RootReadResult::Found) {
                EXPECT_EQ(root.ClassName, "TMainForm");
                EXPECT_EQ(root.ObjectName, "MainForm");
            } else {
                EXPECT_EQ(result, RootReadResult::NeedMore);
            }
        }
    }
}

TEST(FormRoot, ReadsFilesWhoseHeaderLiesPastTheFirstRead) {
    TempTree tree;
    const std::string blank(3 * RootHeadBytes, '\n');
    std::string picture(200000, 'A');
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {blank + FormText("object", "Late", "TLateForm"), "TLateForm"},
        // The class name itself straddles the end of the first read.
        {std::string(RootHeadBytes - 20, ' ') + "object Straddle: TStraddlingForm\r\nend\r\n",
         "TStraddlingForm"},
        // Blank past the most that is read: no form, and the file is not read through.
        {std::string(RootHeadLimit + 10, '\n') + FormText("object", "Far", "TFarForm"), std::nullopt},
        {"object Pic: TPictureForm\r\n  Picture.Data = {" + picture + "}\r\nend\r\n", "TPictureForm"},
    };
    int n = 0;
    for (const auto& [content, expected] : cases) {
        const fs::path path = tree.Write("f" + std::to_string(n++) + ".dfm", content);
        const auto root = ReadFormRootOfFile(path.string());
        ASSERT_EQ(root.has_value(), expected.has_value()) << path;
        if (root) EXPECT_EQ(root->ClassName, *expected);
    }
    EXPECT_FALSE(ReadFormRootOfFile((tree.Root() / "missing.dfm").string()));
}

// Every real form that the codec converts is indexed, with the root read from the
// whole file converted to the other encoding. (Files the codec refuses, such as one
// wrapped in a 32-bit resource file header, need not be found: they could not be
// built either.)
TEST(FormRoot, IndexesEveryRealFormAsItsConversionReads) {
    // The index names files by their folder's normal path.
    const fs::path forms = (fs::absolute(FW_CORPUS_DIR) / "forms").lexically_normal();
    if (fwtest::CorpusMissing(forms)) GTEST_SKIP() << "FW_SKIP_CORPUS is set and the corpus is absent";
    for (const char* sub : {"text", "binary"}) {
        FormFolderIndex index;
        std::map<std::string, FormRoot> indexed;
        for (const IndexedForm& form : index.FormsOf((forms / sub).string()))
            indexed[form.Path] = form.Root;
        std::size_t compared = 0;
        for (const auto& entry : fs::directory_iterator(forms / sub)) {
            SCOPED_TRACE(entry.path().string());
            const fw::Bytes content = fw::ReadFileBytes(entry.path().string());
            const bool isText = fw::DetectEncoding(content) == fw::FormEncoding::Text;
            fw::Bytes other;
            try {
                other = fw::ConvertForm(content, isText ? fw::FormEncoding::Binary : fw::FormEncoding::Text);
            } catch (const fw::Exception&) {
                continue;
            }
            FormRoot root;
            ASSERT_EQ(ReadFormRoot(other, true, root), RootReadResult::Found);
            const auto found = indexed.find(entry.path().string());
            ASSERT_NE(found, indexed.end());
            EXPECT_EQ(found->second.ClassName, root.ClassName);
            EXPECT_EQ(found->second.ObjectName, root.ObjectName);
            EXPECT_EQ(found->second.Keyword, root.Keyword);
            ++compared;
        }
        EXPECT_GT(compared, 0u) << sub;
    }
}

// ---------------------------------------------------------------------------------
// Declarations in sources

struct DeclarationCase {
    const char* Label;
    SourceLanguage Language;
    const char* Source;
    std::vector<std::pair<std::string, std::string>> Expected;
};

TEST(ClassDeclarations, FindsTheAncestorsDeclaredInSources) {
    const auto pascal = SourceLanguage::Pascal;
    const auto cpp = SourceLanguage::Cpp;
    const std::vector<DeclarationCase> cases = {
        {"plain", pascal, "type\n  TFmMain = class(TBaseForm)\n  end;", {{"TFmMain", "TBaseForm"}}},
        {"any spacing and case", pascal, "TFmMain=CLASS ( TBaseForm )", {{"TFmMain", "TBaseForm"}}},
        {"interfaces after the ancestor",
         pascal,
         "TFrame1 = class(TFrame, IInterface, IOther)",
         {{"TFrame1", "TFrame"}}},
        {"qualified ancestor", pascal, "TForm1 = class(Vcl.Forms.TForm)", {{"TForm1", "TForm"}}},
        {"sealed and packed",
         pascal,
         "TA = class sealed(TB); TC = packed class(TD);",
         {{"TA", "TB"}, {"TC", "TD"}}},
        {"class of", pascal, "TFormClass = class of TForm;", {}},
        {"forward declaration", pascal, "TFmMain = class;\nTOther = class(TForm)", {{"TOther", "TForm"}}},
        {"no ancestor", pascal, "TPlain = class\n  private\n  end;", {}},
        {"class helper", pascal, "TH = class helper(TBaseHelper) for TForm", {}},
        {"line comment", pascal, "// TA = class(TB)\nTC = class(TD)", {{"TC", "TD"}}},
        {"brace comment", pascal, "{ TA = class(TB) } TC = class(TD)", {{"TC", "TD"}}},
        {"paren-star comment", pascal, "(* TA = class(TB)\n *) TC = class(TD)", {{"TC", "TD"}}},
        {"comment between the parts", pascal, "TA = { why } class (* here *) (TB)", {{"TA", "TB"}}},
        {"string literal", pascal, "S := 'TA = class(TB)'; TC = class(TD)", {{"TC", "TD"}}},
        {"quote doubled in a string", pascal, "S := 'it''s TA = class(TB)'; TC = class(TD)", {{"TC", "TD"}}},
        {"unterminated comment", pascal, "TA = class(TB) { TC = class(TD)", {{"TA", "TB"}}},
        {"several in a unit",
         pascal,
         "unit Main;\ninterface\ntype\n  TBase = class(TForm)\n  end;\n  TMain = class(TBase)\n    Button1: "
         "TButton;\n"
         "  end;\nimplementation\nend.",
         {{"TBase", "TForm"}, {"TMain", "TBase"}}},
        {"C++ public base", cpp, "class TFmMain : public TBaseForm\n{\n};", {{"TFmMain", "TBaseForm"}}},
        {"C++ with a package macro",
         cpp,
         "class PACKAGE TFrame1 : public TFrame {};",
         {{"TFrame1", "TFrame"}}},
        {"C++ with declspec and qualified base",
         cpp,
         "class DELPHICLASS TA;\nclass __declspec(delphiclass) PASCALIMPLEMENTATION TA : public "
         "Vcl::Forms::TForm {};",
         {{"TA", "TForm"}}},
        {"C++ global qualifier and final", cpp, "class TA final : ::TB {};", {{"TA", "TB"}}},
        {"C++ forward declaration", cpp, "class TA;\nclass TB : public TC {};", {{"TB", "TC"}}},
        {"C++ enum class", cpp, "enum class TKind : int { A };", {}},
        {"C++ template parameter",
         cpp,
         "template <class T> class TList : public TBase {};",
         {{"TList", "TBase"}}},
        {"C++ comments",
         cpp,
         "// class TA : public TB\n/* class TC : public TD */ class TE : public TF {};",
         {{"TE", "TF"}}},
        {"C++ string literal",
         cpp,
         "const char* s = \"class TA : public TB\"; class TC : public TD {};",
         {{"TC", "TD"}}},
        {"C++ access member, not a base", cpp, "class TA {\npublic:\n  int x;\n};", {}},
        {"C++ is case-sensitive", cpp, "Class TA : public TB {};", {}},
    };
    for (const DeclarationCase& c : cases) {
        SCOPED_TRACE(c.Label);
        std::vector<std::pair<std::string, std::string>> found;
        for (const ClassDeclaration& d : ScanClassDeclarations(c.Source, c.Language))
            found.emplace_back(d.Name, d.Ancestor);
        EXPECT_EQ(found, c.Expected);
    }
}

// Every cut of a declaration scans without reading past the end.
TEST(ClassDeclarations, ScansEveryCutOfASource) {
    const std::string pascal = "TA = class sealed(Vcl.Forms.TB, I) { c } (* d *) 'x''y' // e\n";
    const std::string cpp = "class __declspec(x(y)) P TA : public ::A::TB /* c */ \"s\\\"\" // e\n";
    for (std::size_t cut = 0; cut <= pascal.size(); ++cut)
        ScanClassDeclarations(std::string_view(pascal).substr(0, cut), SourceLanguage::Pascal);
    for (std::size_t cut = 0; cut <= cpp.size(); ++cut)
        ScanClassDeclarations(std::string_view(cpp).substr(0, cut), SourceLanguage::Cpp);
    EXPECT_EQ(ScanClassDeclarations(pascal, SourceLanguage::Pascal).size(), 1u);
    EXPECT_EQ(ScanClassDeclarations(cpp, SourceLanguage::Cpp).size(), 1u);
}

// ---------------------------------------------------------------------------------
// The folders searched

std::string FoundClassPath(FolderFormSource& source, std::string_view className, const fs::path& root) {
    const auto found = source.FindFormOfClass(className);
    if (!found) return "";
    return fs::path(found->Path).lexically_relative(root).generic_string();
}

TEST(FolderFormSource, SearchesUpToTheProjectTopThenExtraFolders) {
    TempTree tree;
    // outside/ holds forms that a search starting inside the project must not reach.
    tree.Write("outside/Stray.dfm", FormText("object", "Stray", "TStray"));
    tree.Write("outside/Base.dfm", FormText("object", "Other", "TBaseForm"));
    tree.Write("outside/project/App.dpr", "program App;");
    tree.Write("outside/project/Base.dfm",
               Encoded(FormText("object", "BaseForm", "TBaseForm"), fw::FormEncoding::Binary));
    tree.Write("outside/project/forms/Frame.dfm",
               Encoded(FormText("object", "AddressFrame", "TAddressFrame"), fw::FormEncoding::Resource));
    const fs::path main =
        tree.Write("outside/project/forms/Main.dfm", FormText("inherited", "FmMain", "TFmMain"));
    tree.Write("outside/project/forms/Broken.dfm", "TPF0\x01");
    tree.Write("outside/project/forms/sub/Deep.dfm", FormText("object", "Deep", "TDeep"));
    tree.Write("shared1/Shared.DFM", FormText("object", "Shared", "TShared"));
    tree.Write("shared1/Late.xfm", FormText("object", "Late", "TLate"));
    tree.Write("shared2/Shared.dfm", FormText("object", "Shared", "TShared"));
    tree.Write("shared2/Stray.dfm", FormText("object", "Stray", "TStray"));

    FormFolderIndex index;
    FolderFormSource source(main.string(),
                            {(tree.Root() / "shared1").string(), (tree.Root() / "shared2/").string()}, index);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"TAddressFrame", "outside/project/forms/Frame.dfm"},  // the form's folder, resource-wrapped
        {"tbaseform", "outside/project/Base.dfm"},             // the project top, binary; case ignored
        {"TShared", "shared1/Shared.DFM"},                     // the first extra folder first
        {"TLate", "shared1/Late.xfm"},
        {"TStray", "shared2/Stray.dfm"},  // past the project top only through an extra folder
        {"TFmMain", ""},                  // the form itself is left out
        {"TDeep", ""},                    // subfolders are not searched
        {"TNowhere", ""},
    };
    for (const auto& [className, expected] : cases)
        EXPECT_EQ(FoundClassPath(source, className, tree.Root()), expected) << className;

    const auto found = source.FindFormOfClass("TAddressFrame");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Content,
              Encoded(FormText("object", "AddressFrame", "TAddressFrame"), fw::FormEncoding::Resource));

    const std::vector<std::string> folders = {
        (tree.Root() / "outside/project/forms").string(), (tree.Root() / "outside/project").string(),
        (tree.Root() / "shared1").string(), (tree.Root() / "shared2").string()};
    EXPECT_EQ(source.Folders(), folders);
    EXPECT_EQ(source.SearchedText(), folders[0] + ", " + folders[1] + ", " + folders[2] + ", " + folders[3]);
}

TEST(FolderFormSource, StopsAtEachKindOfProjectTop) {
    const std::vector<std::pair<const char*, bool>> markers = {
        {"App.dpr", false}, {"Pkg.DPK", false}, {"App.dproj", false}, {"App.cbproj", false},
        {"App.bpr", false}, {"App.lpi", false}, {".git", true},       {".svn", true},
        {".hg", true},      {".git", false},  // a worktree's .git is a file
    };
    for (const auto& [marker, isFolder] : markers) {
        SCOPED_TRACE(std::string(marker) + (isFolder ? " folder" : " file"));
        TempTree tree;
        tree.Write("Above.dfm", FormText("object", "Above", "TAbove"));
        tree.Write("top/Top.dfm", FormText("object", "Top", "TTop"));
        if (isFolder) {
            tree.Folder(fs::path("top") / marker);
        } else {
            tree.Write(fs::path("top") / marker, "x");
        }
        const fs::path form = tree.Write("top/a/Form.dfm", FormText("object", "Form", "TForm1"));
        FormFolderIndex index;
        FolderFormSource source(form.string(), {}, index);
        EXPECT_TRUE(source.FindFormOfClass("TTop"));
        EXPECT_FALSE(source.FindFormOfClass("TAbove"));
        EXPECT_EQ(source.Folders().size(), 2u);
    }
}

TEST(FolderFormSource, StopsAfterSomeLevelsWithoutAProjectTop) {
    TempTree tree;
    fs::path deep;
    for (int level = 0; level <= MaxParentFolders + 2; ++level)
        deep /= "d" + std::to_string(level);
    // d0/d1/.../d6: the form in the deepest folder; forms at each level above it.
    fs::path folder = deep;
    for (int up = 0; up <= MaxParentFolders + 2; ++up) {
        tree.Write(folder / "Level.dfm", FormText("object", "L", "TUp" + std::to_string(up)));
        folder = folder.parent_path();
    }
    const fs::path form = tree.Write(deep / "Form.dfm", FormText("object", "Form", "TForm1"));
    FormFolderIndex index;
    FolderFormSource source(form.string(), {}, index);
    EXPECT_TRUE(source.FindFormOfClass("TUp0"));
    EXPECT_TRUE(source.FindFormOfClass("TUp" + std::to_string(MaxParentFolders)));
    EXPECT_FALSE(source.FindFormOfClass("TUp" + std::to_string(MaxParentFolders + 1)));
    EXPECT_EQ(source.Folders().size(), static_cast<std::size_t>(MaxParentFolders + 1));
}

TEST(FolderFormSource, WithoutAFormSearchesTheExtraFoldersAlone) {
    TempTree tree;
    tree.Write("lib/Base.dfm", FormText("object", "BaseForm", "TBaseForm"));
    FormFolderIndex index;
    FolderFormSource source("", {(tree.Root() / "lib").string(), (tree.Root() / "missing").string()}, index);
    EXPECT_EQ(FoundClassPath(source, "TBaseForm", tree.Root()), "lib/Base.dfm");
    EXPECT_FALSE(source.FindFormOfClass("TOther"));
    EXPECT_EQ(source.Folders().size(), 2u);
}

TEST(FolderFormSource, TellsDeclaredAncestorsFromSourcesInSearchOrder) {
    TempTree tree;
    tree.Write("top/App.dpr", "program App;");
    tree.Write("top/Base.pas", "unit Base;\ntype TBaseForm = class(TForm) end;\n");
    tree.Write("top/forms/Main.pas", "type\n  TFmMain = class(TBaseForm)\n  end;\n");
    tree.Write("top/forms/Frame.h", "class PACKAGE TAddressFrame : public TFrame {};\n");
    tree.Write("top/forms/Shadow.PAS", "type TBaseForm = class(TDataModule);\n");
    const fs::path form = tree.Write("top/forms/Main.dfm", FormText("object", "FmMain", "TFmMain"));
    tree.Write("extra/Extra.hpp", "class TExtra : public Vcl::Forms::TFrame {};");

    FormFolderIndex index;
    FolderFormSource source(form.string(), {(tree.Root() / "extra").string()}, index);
    EXPECT_EQ(index.SourceReads(), 0u) << "sources are read only when asked for";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"TFmMain", "TBaseForm"},     {"tfmmain", "TBaseForm"}, {"TAddressFrame", "TFrame"},
        {"TBaseForm", "TDataModule"},  // the form's folder comes before its parent
        {"TExtra", "TFrame"},         {"TUnknown", ""},
    };
    for (const auto& [className, ancestor] : cases)
        EXPECT_EQ(source.DeclaredAncestorOf(className), ancestor) << className;
    EXPECT_EQ(index.SourceReads(), 5u);
}

// A folder of many units: the one named like the class's form file is read, the others
// are left alone.
TEST(FolderFormSource, ReadsTheUnitBesideTheFormFirst) {
    TempTree tree;
    tree.Write("p/App.dpr", "program App;");
    for (const char* unit : {"A.pas", "B.pas", "C.h"})
        tree.Write(fs::path("p") / unit, "type TOther = class(TForm);");
    tree.Write("p/Zmain.dfm", FormText("object", "FmMain", "TFmMain"));
    tree.Write("p/ZMAIN.PAS", "type TFmMain = class(TBaseForm);");
    const fs::path form = tree.Write("p/Frame.dfm", FormText("object", "Frame", "TFrame1"));
    FormFolderIndex index;
    FolderFormSource source(form.string(), {}, index);
    EXPECT_EQ(source.DeclaredAncestorOf("TFmMain"), "TBaseForm");
    EXPECT_EQ(index.SourceReads(), 1u);
}

// ---------------------------------------------------------------------------------
// The index's memory

// Moves a file's modification time on, so that a change shows whatever the clock's
// resolution.
void Touch(const fs::path& path, int seconds) {
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(seconds));
}

TEST(FormFolderIndex, ReadsAgainOnlyWhatChanged) {
    TempTree tree;
    const fs::path a = tree.Write("f/A.dfm", FormText("object", "A", "TA"));
    tree.Write("f/B.dfm", Encoded(FormText("object", "B", "TB"), fw::FormEncoding::Binary));
    tree.Write("f/C.dfm", "not a form");
    tree.Write("f/Unit.pas", "TA = class(TForm)");
    const std::string folder = (tree.Root() / "f").string();

    FormFolderIndex index;
    const auto classes = [&] {
        std::vector<std::string> names;
        for (const IndexedForm& form : index.FormsOf(folder))
            names.push_back(form.Root.ClassName);
        return names;
    };
    EXPECT_EQ(classes(), (std::vector<std::string>{"TA", "TB"}));
    EXPECT_EQ(index.FormReads(), 3u);
    EXPECT_EQ(classes(), (std::vector<std::string>{"TA", "TB"}));
    EXPECT_EQ(index.FormReads(), 3u) << "an unchanged folder is not read again";

    // Same size, later time: read again.
    tree.Write("f/A.dfm", FormText("object", "A", "TZ"));
    Touch(a, 5);
    EXPECT_EQ(classes(), (std::vector<std::string>{"TZ", "TB"}));
    EXPECT_EQ(index.FormReads(), 4u);

    // A new file changes the folder: only the new file is read.
    const fs::path d = tree.Write("f/D.dfm", FormText("object", "D", "TD"));
    Touch(tree.Root() / "f", 10);
    EXPECT_EQ(classes(), (std::vector<std::string>{"TZ", "TB", "TD"}));
    EXPECT_EQ(index.FormReads(), 5u);

    // A removed file drops out; nothing is read.
    fs::remove(d);
    Touch(tree.Root() / "f", 20);
    EXPECT_EQ(classes(), (std::vector<std::string>{"TZ", "TB"}));
    EXPECT_EQ(index.FormReads(), 5u);

    // A garbage file that becomes a form.
    tree.Write("f/C.dfm", FormText("object", "C", "TC"));
    Touch(tree.Root() / "f/C.dfm", 30);
    EXPECT_EQ(classes(), (std::vector<std::string>{"TZ", "TB", "TC"}));
    EXPECT_EQ(index.FormReads(), 6u);

    // Sources: read once when first asked, again when changed.
    EXPECT_EQ(index.DeclaredAncestorIn(folder, "TA"), "TForm");
    EXPECT_EQ(index.DeclaredAncestorIn(folder, "TA"), "TForm");
    EXPECT_EQ(index.SourceReads(), 1u);
    tree.Write("f/Unit.pas", "TA = class(TFrame)");
    Touch(tree.Root() / "f/Unit.pas", 40);
    EXPECT_EQ(index.DeclaredAncestorIn(folder, "TA"), "TFrame");
    EXPECT_EQ(index.SourceReads(), 2u);
    EXPECT_EQ(index.FormReads(), 6u);
}

// One build looks at a folder's files once; the next build (a new source over the same
// index) sees a file changed in between and reads that file alone.
TEST(FormFolderIndex, LooksAtTheFilesOncePerBuild) {
    TempTree tree;
    const fs::path a = tree.Write("f/A.dfm", FormText("object", "A", "TA"));
    tree.Write("f/B.dfm", FormText("object", "B", "TB"));
    const fs::path form = tree.Write("f/Main.dfm", FormText("object", "Main", "TMain"));
    tree.Write("f/App.dpr", "program App;");
    FormFolderIndex index;
    {
        FolderFormSource build(form.string(), {}, index);
        EXPECT_TRUE(build.FindFormOfClass("TA"));
        EXPECT_EQ(index.FormReads(), 3u);
        tree.Write("f/A.dfm", FormText("object", "A", "TC"));
        Touch(a, 5);
        EXPECT_TRUE(build.FindFormOfClass("TB"));
        EXPECT_EQ(index.FormReads(), 3u);
    }
    FolderFormSource next(form.string(), {}, index);
    EXPECT_FALSE(next.FindFormOfClass("TA"));
    EXPECT_TRUE(next.FindFormOfClass("TC"));
    EXPECT_EQ(index.FormReads(), 4u);
}

TEST(FormFolderIndex, AFolderThatCannotBeListedHasNoForms) {
    TempTree tree;
    FormFolderIndex index;
    EXPECT_TRUE(index.FormsOf((tree.Root() / "missing").string()).empty());
    const fs::path file = tree.Write("plain.dfm", FormText("object", "A", "TA"));
    EXPECT_TRUE(index.FormsOf(file.string()).empty());
    EXPECT_FALSE(index.IsProjectTop((tree.Root() / "missing").string()));
    // Made after it was asked for: found on the next call.
    tree.Write("missing/A.dfm", FormText("object", "A", "TA"));
    ASSERT_EQ(index.FormsOf((tree.Root() / "missing").string()).size(), 1u);
}

}  // namespace
