// Runs the built formwright-cli as a user or a build script would, in a fresh
// temporary folder, and checks its files, output and exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/stream.h"
#include "codec/formtokenizer.h"
#include "fixtures.h"
#include "pewriter.h"
#include "samplemodule.h"

namespace fs = std::filesystem;

namespace {

const std::string TinyForm =
    "object Form1: TForm1\r\n"
    "  Left = 8\r\n"
    "  Caption = 'Hi'\r\n"
    "end\r\n";

// The "=" is missing on line 3.
const std::string BrokenForm =
    "object Form1: TForm1\r\n"
    "  Left = 8\r\n"
    "  Caption 'Hi'\r\n"
    "end\r\n";

struct Result {
    int Exit = -1;
    std::string Out;
    std::string Err;
};

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

class CliTool : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "fw-cli-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }

    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // Runs the tool in the test's folder with the given arguments, its standard input
    // read from the file named by input (relative to the folder), or empty.
    Result Run(const std::vector<std::string>& args, const std::string& input = {}) const {
        std::string command = "cd " + ShellQuoted(dir_.string()) + " && " + ShellQuoted(FW_CLI_PATH);
        for (const std::string& arg : args)
            command += " " + ShellQuoted(arg);
        command += " <" + (input.empty() ? std::string("/dev/null") : ShellQuoted(input));
        command += " >.stdout 2>.stderr";
        const int status = std::system(command.c_str());
        Result result;
        result.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.Out = Read(".stdout");
        result.Err = Read(".stderr");
        fs::remove(dir_ / ".stdout");
        fs::remove(dir_ / ".stderr");
        return result;
    }

    void Write(const std::string& name, const std::string& bytes) const {
        fs::create_directories((dir_ / name).parent_path());
        std::ofstream file(dir_ / name, std::ios::binary);
        file << bytes;
        ASSERT_TRUE(file.good()) << name;
    }

    std::string Read(const std::string& name) const {
        std::ifstream file(dir_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    bool Exists(const std::string& name) const { return fs::exists(dir_ / name); }

    // Every name in the folder, so that stray temporary files show up.
    std::set<std::string> Listing() const {
        std::set<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
            names.insert(fs::relative(entry.path(), dir_).string());
        }
        return names;
    }

    fs::path dir_;
};

bool StartsWith(const std::string& bytes, const std::string& prefix) {
    return bytes.compare(0, prefix.size(), prefix) == 0;
}

std::string AsString(const fwtest::Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

const std::string BinarySignature = "TPF0";
const std::string ResourceHeader("\xFF\x0A\x00", 3);

TEST_F(CliTool, ConvertsThroughEveryEncodingAndBackUnchanged) {
    Write("form.dfm", TinyForm);
    const struct {
        std::string Input;
        std::string To;
        std::string Output;
        std::string Head;
    } steps[] = {
        {"form.dfm", "binary", "form.bin", BinarySignature},
        {"form.bin", "resource", "form.res", ResourceHeader},
        {"form.res", "text", "from-res.dfm", "object Form1"},
        {"form.dfm", "resource", "direct.res", ResourceHeader},
        {"form.res", "binary", "from-res.bin", BinarySignature},
        {"form.bin", "text", "from-bin.dfm", "object Form1"},
        {"form.bin", "binary", "copy.bin", BinarySignature},
    };
    for (const auto& step : steps) {
        const Result r = Run({"convert", "--to", step.To, step.Input, "-o", step.Output});
        ASSERT_EQ(r.Exit, 0) << step.Input << " -> " << step.To << ": " << r.Err;
        EXPECT_EQ(r.Err, "");
        EXPECT_TRUE(StartsWith(Read(step.Output), step.Head)) << step.Output;
    }
    EXPECT_EQ(Read("from-res.dfm"), TinyForm);
    EXPECT_EQ(Read("from-bin.dfm"), TinyForm);
    EXPECT_EQ(Read("direct.res"), Read("form.res"));
    EXPECT_EQ(Read("from-res.bin"), Read("form.bin"));
    EXPECT_EQ(Read("copy.bin"), Read("form.bin"));

    const Result detect = Run({"detect", "form.dfm", "form.bin", "form.res"});
    EXPECT_EQ(detect.Exit, 0) << detect.Err;
    EXPECT_EQ(detect.Out,
              "form.dfm\ttext\t1252 (default)\nform.bin\tbinary\t1252 (default)\n"
              "form.res\tresource\t1252 (default)\n");
}

TEST_F(CliTool, DetectLooksAtTheFirstBytesAndGoesOnPastUnreadableFiles) {
    const struct {
        std::string Name;
        std::string Bytes;
        std::string Encoding;
    } files[] = {
        {"upper.bin", "TPF0\x0A", "binary"},
        {"lower.bin", "tpf", "binary"},
        {"res", ResourceHeader, "resource"},
        {"short", "\xFF\x0A", "text"},
        {"empty", "", "text"},
        {"text.dfm", TinyForm, "text"},
    };
    std::vector<std::string> args = {"detect"};
    std::string expected;
    for (const auto& f : files) {
        Write(f.Name, f.Bytes);
        args.push_back(f.Name);
        expected += f.Name + "\t" + f.Encoding + "\t1252 (default)\n";
    }
    fs::create_directory(dir_ / "folder");
    args.insert(args.begin() + 2, "missing.dfm");
    args.insert(args.begin() + 4, "folder");

    const Result r = Run(args);
    EXPECT_EQ(r.Exit, 1);
    EXPECT_EQ(r.Out, expected);
    EXPECT_TRUE(StartsWith(r.Err, "missing.dfm: ")) << r.Err;
    EXPECT_NE(r.Err.find("\nfolder: "), std::string::npos) << r.Err;
}

TEST_F(CliTool, InPlaceKeepsThePreviousFileAsBackup) {
    const struct {
        std::string Name;
        std::string Backup;
    } cases[] = {
        {"Form1.dfm", "Form1.~dfm"},
        {"Form2", "Form2.~"},
    };
    for (const auto& c : cases)
        Write(c.Name, TinyForm);
    Write("Form1.~dfm", "an older backup");

    const Result toBinary = Run({"convert", "--to", "binary", "--in-place", "Form1.dfm", "Form2"});
    ASSERT_EQ(toBinary.Exit, 0) << toBinary.Err;
    std::string binary;
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.Backup), TinyForm) << c.Backup;
        EXPECT_TRUE(StartsWith(Read(c.Name), BinarySignature)) << c.Name;
        binary = Read(c.Name);
    }

    // A second replacement moves the binary into the backup.
    const Result toText = Run({"convert", "--in-place", "--to", "text", "Form1.dfm", "Form2"});
    ASSERT_EQ(toText.Exit, 0) << toText.Err;
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.Name), TinyForm) << c.Name;
        EXPECT_EQ(Read(c.Backup), binary) << c.Backup;
    }
    EXPECT_EQ(Listing(), (std::set<std::string>{"Form1.dfm", "Form1.~dfm", "Form2", "Form2.~"}));
}

TEST_F(CliTool, ReportsAFailedFileAndGoesOnWithTheOthers) {
    Write("a.dfm", TinyForm);
    Write("broken.dfm", BrokenForm);
    Write("b.dfm", TinyForm);

    const Result convert =
        Run({"convert", "--to", "binary", "--out-dir", "out", "a.dfm", "broken.dfm", "b.dfm"});
    EXPECT_EQ(convert.Exit, 1);
    EXPECT_EQ(convert.Out, "");
    EXPECT_TRUE(StartsWith(convert.Err, "broken.dfm: ")) << convert.Err;
    EXPECT_NE(convert.Err.find(" on line 3\n"), std::string::npos) << convert.Err;
    EXPECT_EQ(std::count(convert.Err.begin(), convert.Err.end(), '\n'), 1) << convert.Err;
    EXPECT_TRUE(StartsWith(Read("out/a.dfm"), BinarySignature));
    EXPECT_TRUE(StartsWith(Read("out/b.dfm"), BinarySignature));
    EXPECT_FALSE(Exists("out/broken.dfm"));

    Write("damaged.bin", Read("out/a.dfm").substr(0, 12));
    // A bad value tag under a property whose name holds a line break: the message quotes
    // the name, and the report must still be one line.
    Write("bad-tag.bin", std::string("TPF0\6TForm1\5Form1\3a\nb\xFF\0\0", 24));
    const Result check = Run({"check", "out/a.dfm", "broken.dfm", "damaged.bin", "bad-tag.bin", "b.dfm"});
    EXPECT_EQ(check.Exit, 1);
    // Text with a syntax error builds as the preview builds it: an empty form and the
    // conversion's message. Binary files that cannot be read are failures of the file.
    EXPECT_TRUE(StartsWith(check.Out, "out/a.dfm: ok\nbroken.dfm: ERROR=Reader: ")) << check.Out;
    EXPECT_NE(check.Out.find(" on line 3\nb.dfm: ok\n"), std::string::npos) << check.Out;
    EXPECT_TRUE(StartsWith(check.Err, "damaged.bin: ")) << check.Err;
    EXPECT_NE(check.Err.find("\nbad-tag.bin: "), std::string::npos) << check.Err;
    EXPECT_NE(check.Err.find("a\\x0Ab"), std::string::npos) << check.Err;
    EXPECT_EQ(std::count(check.Err.begin(), check.Err.end(), '\n'), 2) << check.Err;

    const Result allGood = Run({"check", "a.dfm", "out/b.dfm"});
    EXPECT_EQ(allGood.Exit, 0) << allGood.Err;
    EXPECT_EQ(allGood.Out, "a.dfm: ok\nout/b.dfm: ok\n");
}

// The runtime's complaints, one line each, in the order the reader met them; the
// preview's rewrites of the root apply, so a root's BorderStyle = bsNone is no
// complaint while a nested one with a bad value is.
TEST_F(CliTool, CheckPrintsTheRuntimeMessagesOfEachForm) {
    Write("odd.dfm",
          "object Form1: TForm1\r\n"
          "  BorderStyle = bsNothing\r\n"
          "  Glyph2 = 3\r\n"
          "  object Button1: TButton\r\n"
          "    Caption = 'OK'\r\n"
          "    OnClick = Button1Click\r\n"
          "  end\r\n"
          "  object Foo1: TFooButton\r\n"
          "    object Inner: TButton\r\n"
          "    end\r\n"
          "  end\r\n"
          "  object Panel1: TPanel\r\n"
          "    BevelOuter = bvSomething\r\n"
          "  end\r\n"
          "end\r\n");
    Write("good.dfm", TinyForm);
    const Result r = Run({"check", "good.dfm", "odd.dfm"});
    EXPECT_EQ(r.Exit, 1) << r.Err;
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(r.Out,
              "good.dfm: ok\n"
              "odd.dfm: ERROR=Property Glyph2 does not exist\n"
              "odd.dfm: ERROR=Class TFooButton not found\n"
              "odd.dfm: ERROR=Error reading Panel1.BevelOuter: Invalid property value\n");

    // A binary form is converted to text and built the same way.
    ASSERT_EQ(Run({"convert", "--to", "binary", "odd.dfm", "-o", "odd.bin"}).Exit, 0);
    const Result binary = Run({"check", "odd.bin"});
    EXPECT_EQ(binary.Exit, 1);
    EXPECT_EQ(std::count(binary.Out.begin(), binary.Out.end(), '\n'), 3) << binary.Out;
}

// check --format json: one document listing every file with its messages, the text of
// names and messages escaped (a quote, a backslash and a control character in the file
// name here), and the same exit status as the lines.
TEST_F(CliTool, CheckWritesMessagesAsJson) {
    Write("odd.dfm",
          "object Form1: TForm1\r\n"
          "  object Foo1: TFooButton\r\n"
          "  end\r\n"
          "end\r\n");
    const std::string oddName = "we\"ird\\name\x01.dfm";
    Write(oddName, TinyForm);
    const Result r = Run({"check", "--format", "json", oddName, "odd.dfm"});
    EXPECT_EQ(r.Exit, 1) << r.Err;
    EXPECT_EQ(r.Out,
              "{\"files\": [\n"
              "  {\"file\": \"we\\\"ird\\\\name\\u0001.dfm\", \"messages\": []},\n"
              "  {\"file\": \"odd.dfm\", \"messages\": [\"ERROR=Class TFooButton not found\"]}\n"
              "]}\n");
    const Result none = Run({"check", "--format=json", "missing.dfm"});
    EXPECT_EQ(none.Out, "{\"files\": []}\n");
    EXPECT_NE(none.Exit, 0);
}

// check builds a form whole: the ancestor in a folder outside the project is found only
// through --search-path, and a frame's file beside the form is found without it; a
// frame file checked on its own is built as a frame, so what only frames publish
// (TabOrder on the root) is no complaint.
TEST_F(CliTool, CheckFindsAncestorsAndFramesThroughTheSearchPath) {
    Write("lib/base.dfm",
          "object BaseForm: TBaseForm\r\n  Caption = 'Base'\r\n  object OkButton: TButton\r\n"
          "    Caption = 'OK'\r\n  end\r\nend\r\n");
    Write("proj/P.dpr", "program P;\r\nend.\r\n");
    Write("proj/mainu.pas",
          "unit mainu;\r\ninterface\r\ntype\r\n  TMainForm = class(TBaseForm)\r\n  end;\r\nend.\r\n");
    Write(
        "proj/frame.dfm",
        "object AddressFrame: TAddressFrame\r\n  TabOrder = 0\r\n  object Street: TEdit\r\n  end\r\nend\r\n");
    Write(
        "proj/main.dfm",
        "inherited MainForm: TMainForm\r\n  inherited OkButton: TButton\r\n    Caption = 'Save'\r\n  end\r\n"
        "  inline Frame1: TAddressFrame\r\n    inherited Street: TEdit\r\n      Text = 'x'\r\n    end\r\n"
        "  end\r\nend\r\n");
    const Result alone = Run({"check", "proj/main.dfm"});
    EXPECT_EQ(alone.Exit, 1);
    EXPECT_EQ(alone.Out, "proj/main.dfm: WARN=Ancestor form TBaseForm not found; searched: " +
                             (dir_ / "proj").string() + "\n")
        << alone.Err;
    const Result found = Run({"check", "--search-path", "lib", "proj/main.dfm", "proj/frame.dfm"});
    EXPECT_EQ(found.Out, "proj/main.dfm: ok\nproj/frame.dfm: ok\n") << found.Err;
    EXPECT_EQ(found.Exit, 0);
}

TEST_F(CliTool, FailedConversionNeverTouchesTheTarget) {
    const std::string oldBytes = "the target's previous content\n";
    const struct {
        std::vector<std::string> Args;
        std::string Target;
    } cases[] = {
        {{"convert", "--to", "binary", "broken.dfm", "-o", "target.bin"}, "target.bin"},
        {{"convert", "--to", "binary", "broken.dfm", "--out-dir", "out"}, "out/broken.dfm"},
        {{"convert", "--to", "binary", "broken.dfm", "--in-place"}, "broken.dfm"},
        {{"convert", "--to", "text", "damaged.bin", "--in-place"}, "damaged.bin"},
        {{"convert", "--to", "text", "missing.dfm", "-o", "target.bin"}, "target.bin"},
    };
    for (const auto& c : cases) {
        Write("broken.dfm", BrokenForm);
        Write("damaged.bin", "TPF0\6TForm1");
        if (c.Target != "broken.dfm" && c.Target != "damaged.bin") Write(c.Target, oldBytes);
        const std::string before = Read(c.Target);
        const std::set<std::string> listing = Listing();

        const Result r = Run(c.Args);
        EXPECT_EQ(r.Exit, 1) << c.Target;
        EXPECT_FALSE(r.Err.empty()) << c.Target;
        EXPECT_EQ(Read(c.Target), before) << c.Target;
        // Neither a backup nor a temporary file is left behind.
        EXPECT_EQ(Listing(), listing) << c.Target;
    }
}

TEST_F(CliTool, NeverWritesOneTargetTwiceInARun) {
    // Two inputs of the same name under --out-dir would leave only the last result.
    Write("a/Form1.dfm", TinyForm);
    Write("b/Form1.dfm", TinyForm);
    const Result outDir =
        Run({"convert", "--to", "resource", "--out-dir", "out", "a/Form1.dfm", "b/Form1.dfm"});
    EXPECT_EQ(outDir.Exit, 1);
    EXPECT_TRUE(StartsWith(outDir.Err, "b/Form1.dfm: ")) << outDir.Err;
    EXPECT_TRUE(StartsWith(Read("out/Form1.dfm"), ResourceHeader));

    // One file named twice under --in-place would be converted twice, and the second
    // backup would replace the original text.
    Write("Form1.dfm", TinyForm);
    const Result inPlace = Run({"convert", "--to", "binary", "--in-place", "Form1.dfm", "./Form1.dfm"});
    EXPECT_EQ(inPlace.Exit, 1);
    EXPECT_TRUE(StartsWith(inPlace.Err, "./Form1.dfm: ")) << inPlace.Err;
    EXPECT_EQ(Read("Form1.~dfm"), TinyForm);
    EXPECT_TRUE(StartsWith(Read("Form1.dfm"), BinarySignature));
}

TEST_F(CliTool, InPlaceRunThatChangesNothingWritesNothing) {
    // Converting a file to the encoding it is already in leaves the file and, above all,
    // its backup alone: the backup keeps the original text from the first run.
    const struct {
        std::string To;
        std::string Head;
    } cases[] = {
        {"binary", BinarySignature},
        {"resource", ResourceHeader},
        {"text", "object Form1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.To);
        Write("Form1.dfm", TinyForm);
        fs::remove(dir_ / "Form1.~dfm");
        for (int run = 0; run < 2; ++run) {
            const Result r = Run({"convert", "--to", c.To, "--in-place", "Form1.dfm"});
            ASSERT_EQ(r.Exit, 0) << r.Err;
        }
        EXPECT_TRUE(StartsWith(Read("Form1.dfm"), c.Head));
        if (c.To == "text") {
            EXPECT_EQ(Read("Form1.dfm"), TinyForm);
            EXPECT_FALSE(Exists("Form1.~dfm"));
        } else {
            EXPECT_EQ(Read("Form1.~dfm"), TinyForm);
        }
    }
}

TEST_F(CliTool, ConcurrentInPlaceConversionsOfOneFileKeepTheOriginal) {
    // Two runs on one file at once take turns: the second reads the first one's result,
    // finds nothing to change and writes nothing, so the backup keeps the original.
    // Before the runs took turns, the backup held the converted file every time.
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        Write("Form1.dfm", TinyForm);
        fs::remove(dir_ / "Form1.~dfm");
        const std::string one = ShellQuoted(FW_CLI_PATH) + " convert --to binary --in-place Form1.dfm";
        const std::string command =
            "cd " + ShellQuoted(dir_.string()) + " && { " + one + " & " + one + " & wait; } 2>.stderr";
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(Read(".stderr"), "");
        EXPECT_EQ(Read("Form1.~dfm"), TinyForm);
        EXPECT_TRUE(StartsWith(Read("Form1.dfm"), BinarySignature));
        fs::remove(dir_ / ".stderr");
    }
    EXPECT_EQ(Listing(), (std::set<std::string>{"Form1.dfm", "Form1.~dfm"}));
}

TEST_F(CliTool, OutputsNeverFollowALinkNorReplaceAFileUnlessForced) {
    // out/Form2.dfm (or the file -o names) is there before the run: a link to a file
    // outside, or a file of its own. Names the program makes (--out-dir, extract) never
    // write through a link: with --force the link itself is replaced. -o names the
    // user's own file and is written through a link, but only with --force too.
    Write("sample.bpl", AsString(fwtest::SampleModule(false).Build().File));
    const struct {
        std::string Name;
        std::vector<std::string> Args;
        std::string Existing;  // "link" or "file"
        std::string Output;
        int Exit;
        std::string ErrHas;
        bool OutputReplaced;
        bool VictimReplaced;
    } cases[] = {
        {"--out-dir, link",
         {"convert", "--to", "binary", "--out-dir", "out", "Form2.dfm"},
         "link",
         "out/Form2.dfm",
         1,
         "is a symbolic link",
         false,
         false},
        {"--out-dir, link, --force",
         {"convert", "--to", "binary", "--out-dir", "out", "--force", "Form2.dfm"},
         "link",
         "out/Form2.dfm",
         0,
         "",
         true,
         false},
        {"--out-dir, file",
         {"convert", "--to", "binary", "--out-dir", "out", "Form2.dfm"},
         "file",
         "out/Form2.dfm",
         1,
         "already exists",
         false,
         false},
        {"--out-dir, file, --force",
         {"convert", "--to", "binary", "--force", "--out-dir", "out", "Form2.dfm"},
         "file",
         "out/Form2.dfm",
         0,
         "",
         true,
         false},
        {"extract, link",
         {"extract", "sample.bpl", "TABOUT", "--out-dir", "out"},
         "link",
         "out/TABOUT.dfm",
         1,
         "is a symbolic link",
         false,
         false},
        {"extract, link, --force",
         {"extract", "--force", "sample.bpl", "TABOUT", "--out-dir", "out"},
         "link",
         "out/TABOUT.dfm",
         0,
         "",
         true,
         false},
        {"extract, file",
         {"extract", "sample.bpl", "TABOUT", "--out-dir", "out"},
         "file",
         "out/TABOUT.dfm",
         1,
         "already exists",
         false,
         false},
        {"-o, file",
         {"convert", "--to", "binary", "Form2.dfm", "-o", "out/Form2.dfm"},
         "file",
         "out/Form2.dfm",
         1,
         "already exists",
         false,
         false},
        {"-o, link",
         {"convert", "--to", "binary", "Form2.dfm", "-o", "out/Form2.dfm"},
         "link",
         "out/Form2.dfm",
         1,
         "already exists",
         false,
         false},
        {"-o, link, --force",
         {"convert", "--to", "binary", "Form2.dfm", "-o", "out/Form2.dfm", "--force"},
         "link",
         "out/Form2.dfm",
         0,
         "",
         false,
         true},
    };
    const std::string secret = "not a form\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove_all(dir_ / "out");
        fs::remove_all(dir_ / "victim");
        Write("Form2.dfm", TinyForm);
        Write("victim/secret.txt", secret);
        fs::create_directories(dir_ / "out");
        if (c.Existing == "link")
            fs::create_symlink("../victim/secret.txt", dir_ / c.Output);
        else
            Write(c.Output, secret);

        const Result r = Run(c.Args);
        EXPECT_EQ(r.Exit, c.Exit) << r.Err;
        if (c.ErrHas.empty())
            EXPECT_EQ(r.Err, "");
        else
            EXPECT_NE(r.Err.find(c.ErrHas), std::string::npos) << r.Err;
        EXPECT_EQ(Read("victim/secret.txt") != secret, c.VictimReplaced);
        const bool isLink = fs::is_symlink(dir_ / c.Output);
        EXPECT_EQ(isLink, c.Existing == "link" && !c.OutputReplaced);
        if (!isLink) EXPECT_EQ(Read(c.Output) != secret, c.OutputReplaced);
    }
}

TEST_F(CliTool, ConvertRefusesInputThatIsNoFormInTheTargetEncoding) {
    // An input already in the target encoding used to be copied as it was, garbage and
    // all, with exit status 0. It is read through first now and fails as a conversion
    // would. A binary form whose class name holds a zero byte would make a resource
    // header that the tool itself cannot read back.
    const std::string nulClass("TPF0\6TF\0rm1\5Form1\0\0", 19);
    const struct {
        std::string Name;
        std::string Bytes;
        std::string To;
        std::string Message;
    } cases[] = {
        {"program",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0",
                     16),
         "text", "OBJECT expected on line 1"},
        {"one byte", "\xFF", "text", "OBJECT expected on line 1"},
        {"bad value tag", std::string("TPF0\6TForm1\5Form1\3abc\xFF\0\0", 24), "binary", "Form1.abc"},
        {"lower-case signature", std::string("tpf0\6TForm1\5Form1\0\0", 19), "binary", ""},
        {"header alone", ResourceHeader, "resource", "Stream read error"},
        {"zero byte in the class name", nulClass, "resource", "zero byte"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Write("input", c.Bytes);
        const Result r = Run({"convert", "--to", c.To, "input", "-o", "output"});
        EXPECT_EQ(r.Exit, 1);
        EXPECT_TRUE(StartsWith(r.Err, "input: ")) << r.Err;
        EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
        EXPECT_FALSE(Exists("output"));
    }
    // A good form in the target encoding is still copied byte for byte.
    Write("form.dfm", TinyForm);
    ASSERT_EQ(Run({"convert", "--to", "text", "form.dfm", "-o", "copy.dfm"}).Exit, 0);
    EXPECT_EQ(Read("copy.dfm"), TinyForm);
}

TEST_F(CliTool, DashIsStandardInputAndStandardOutput) {
    Write("form.dfm", TinyForm);
    ASSERT_EQ(Run({"convert", "--to", "binary", "form.dfm", "-o", "form.bin"}).Exit, 0);

    const Result toStdout = Run({"convert", "--to", "binary", "form.dfm", "-o", "-"});
    EXPECT_EQ(toStdout.Exit, 0) << toStdout.Err;
    EXPECT_EQ(toStdout.Out, Read("form.bin"));
    EXPECT_FALSE(Exists("-"));

    const Result fromStdin = Run({"convert", "--to", "text", "-", "-o", "-"}, "form.bin");
    EXPECT_EQ(fromStdin.Exit, 0) << fromStdin.Err;
    EXPECT_EQ(fromStdin.Out, TinyForm);

    const Result toFile = Run({"convert", "--to", "text", "-", "-o", "again.dfm"}, "form.bin");
    EXPECT_EQ(toFile.Exit, 0) << toFile.Err;
    EXPECT_EQ(Read("again.dfm"), TinyForm);

    EXPECT_EQ(Run({"detect", "-", "form.dfm"}, "form.bin").Out,
              "-\tbinary\t1252 (default)\nform.dfm\ttext\t1252 (default)\n");
    EXPECT_EQ(Run({"check", "-"}, "form.bin").Out, "-: ok\n");

    // A failed conversion writes nothing to standard output.
    Write("broken.dfm", BrokenForm);
    const Result broken = Run({"convert", "--to", "binary", "-", "-o", "-"}, "broken.dfm");
    EXPECT_EQ(broken.Exit, 1);
    EXPECT_EQ(broken.Out, "");
    EXPECT_TRUE(StartsWith(broken.Err, "-: ")) << broken.Err;

    // A file named "-" is reached as ./-.
    Write("-", TinyForm);
    EXPECT_EQ(Run({"convert", "--to", "binary", "./-", "-o", "dash.bin"}).Exit, 0);
    EXPECT_EQ(Read("dash.bin"), Read("form.bin"));
}

TEST_F(CliTool, ParallelConversionReportsAsASingleWorkerDoes) {
    // Eleven good forms and three broken ones, converted by one worker and by four:
    // the same files, the same messages in the same order, no temporary left.
    std::vector<std::string> names;
    for (int i = 0; i < 14; ++i) {
        const std::string name = "f" + std::to_string(i) + ".dfm";
        Write("in/" + name, i % 5 == 2 ? BrokenForm : TinyForm);
        names.push_back("in/" + name);
    }
    std::map<std::string, std::string> outputs[2];
    std::string messages[2];
    const char* jobs[2] = {"-j1", "--jobs=4"};
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(jobs[k]);
        fs::remove_all(dir_ / "out");
        std::vector<std::string> args = {"convert", "--to", "resource", jobs[k], "--out-dir", "out"};
        args.insert(args.end(), names.begin(), names.end());
        const Result r = Run(args);
        EXPECT_EQ(r.Exit, 1);
        EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 3) << r.Err;
        messages[k] = r.Err;
        for (const auto& entry : fs::directory_iterator(dir_ / "out"))
            outputs[k][entry.path().filename().string()] = Read("out/" + entry.path().filename().string());
    }
    EXPECT_EQ(messages[0], messages[1]);
    EXPECT_TRUE(StartsWith(messages[0], "in/f2.dfm: ")) << messages[0];
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_EQ(outputs[1].size(), 11u);
}

TEST_F(CliTool, CodePageReachesTheConversion) {
    // Byte C0 is U+0410 in code page 1251 and U+00C0 in 1252, so the two binaries differ.
    Write("form.dfm", "object Form1: TForm1\r\n  Caption = '\xC0'\r\nend\r\n");
    const Result cyrillic =
        Run({"convert", "--to", "binary", "--codepage", "1251", "form.dfm", "-o", "1251.bin"});
    const Result western =
        Run({"convert", "--to", "binary", "--codepage=1252", "form.dfm", "-o", "1252.bin"});
    ASSERT_EQ(cyrillic.Exit, 0) << cyrillic.Err;
    ASSERT_EQ(western.Exit, 0) << western.Err;
    EXPECT_NE(Read("1251.bin"), Read("1252.bin"));
}

// Two-byte characters of the East Asian code pages reach the binary as the characters
// they are and come back as codes.
TEST_F(CliTool, DoubleByteCodePagesConvertBothWays) {
    const struct {
        std::string Page;
        std::string Bytes;  // two characters, the second with a trail byte below 80
        char16_t Units[2];
    } cases[] = {
        {"932", "\x82\xA0\x83\x5C", {0x3042, 0x30BD}},
        {"936", "\xB0\xA1\x81\x40", {0x554A, 0x4E02}},
        {"949", "\xB0\xA1\x81\x41", {0xAC00, 0xAC02}},
        {"950", "\xA4\x40\xA4\x5C", {0x4E00, 0x4E48}},
    };
    for (const auto& c : cases) {
        Write(c.Page + ".dfm", "object Form1: TForm1\r\n  Caption = '" + c.Bytes + "'\r\nend\r\n");
        const Result binary =
            Run({"convert", "--to", "binary", "--codepage", c.Page, c.Page + ".dfm", "-o", c.Page + ".bin"});
        ASSERT_EQ(binary.Exit, 0) << c.Page << ": " << binary.Err;
        std::string wide;
        for (char16_t u : c.Units)
            wide += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
        EXPECT_NE(Read(c.Page + ".bin").find(wide), std::string::npos) << c.Page;
        const Result text =
            Run({"convert", "--to", "text", "--codepage", c.Page, c.Page + ".bin", "-o", c.Page + ".txt"});
        ASSERT_EQ(text.Exit, 0) << c.Page << ": " << text.Err;
        const std::string codes = "#" + std::to_string(c.Units[0]) + "#" + std::to_string(c.Units[1]);
        EXPECT_NE(Read(c.Page + ".txt").find("Caption = " + codes), std::string::npos) << c.Page;
    }
}

// Each form is read in the page its Charset values declare unless --codepage names
// another; detect shows which page and why.
TEST_F(CliTool, DetectShowsTheCodePageAndWhereItComesFrom) {
    Write("sjis.dfm",
          "object F: TForm\r\n  Font.Charset = SHIFTJIS_CHARSET\r\n  Caption = '\x93\xfa'\r\nend\r\n");
    Write("plain.dfm", TinyForm);
    ASSERT_EQ(Run({"convert", "--to", "resource", "sjis.dfm", "-o", "sjis.res"}).Exit, 0);
    Write("greek.dfm", "object F: TForm\r\n  object L: TLabel\r\n    Font.Charset = 161\r\n  end\r\nend\r\n");
    ASSERT_EQ(Run({"convert", "--to", "binary", "greek.dfm", "-o", "greek.bin"}).Exit, 0);

    const Result r = Run({"detect", "sjis.dfm", "sjis.res", "greek.bin", "plain.dfm"});
    EXPECT_EQ(r.Exit, 0) << r.Err;
    EXPECT_EQ(r.Out,
              "sjis.dfm\ttext\t932 (declared)\nsjis.res\tresource\t932 (declared)\n"
              "greek.bin\tbinary\t1253 (declared)\nplain.dfm\ttext\t1252 (default)\n");
    EXPECT_EQ(Run({"detect", "--codepage", "1251", "sjis.dfm", "plain.dfm"}).Out,
              "sjis.dfm\ttext\t1251 (option)\nplain.dfm\ttext\t1251 (option)\n");
}

// A form read in a page that cannot be its own is still converted byte for byte, and a
// warning on standard error says so.
TEST_F(CliTool, ConversionsWarnWhenTheCodePageCannotBeRight) {
    // 93 FA is a character in both 932 and 936, B1 alone only in 932.
    Write("sjis.dfm",
          "object F: TForm\r\n  Font.Charset = SHIFTJIS_CHARSET\r\n  Caption = '\x93\xfa\xb1'\r\nend\r\n");
    Write("stray.dfm", "object F: TForm\r\n  Left = 1\r\n  Caption = 'a\x81'\r\nend\r\n");
    Write("mixed.dfm",
          "object F: TForm\r\n  Font.Charset = GB2312_CHARSET\r\n  object L: TLabel\r\n"
          "    Font.Charset = RUSSIAN_CHARSET\r\n  end\r\n  object M: TLabel\r\n    Font.Charset = 134\r\n  "
          "end\r\nend\r\n");
    const struct {
        std::vector<std::string> Args;
        std::string Err;
    } cases[] = {
        {{"convert", "--to", "binary", "sjis.dfm", "-o", "a.bin"}, ""},
        {{"convert", "--to", "binary", "--codepage", "1252", "sjis.dfm", "-o", "b.bin"},
         "sjis.dfm: warning: read in code page 1252 as --codepage says, but the form declares 932\n"},
        {{"convert", "--to", "binary", "stray.dfm", "-o", "c.bin"},
         "stray.dfm: warning: line 3 holds bytes that are not valid in code page 1252; give the right page "
         "with --codepage\n"},
        {{"convert", "--to", "binary", "--codepage", "1251", "stray.dfm", "-o", "d.bin"}, ""},
        {{"convert", "--to", "binary", "--codepage", "936", "sjis.dfm", "-o", "e.bin"},
         "sjis.dfm: warning: line 3 holds bytes that are not valid in code page 936; the form declares 932\n"
         "sjis.dfm: warning: read in code page 936 as --codepage says, but the form declares 932\n"},
        {{"convert", "--to", "binary", "mixed.dfm", "-o", "f.bin"},
         "mixed.dfm: warning: the form's Charset values name more than one code page; 936 is the most "
         "frequent\n"},
        {{"check", "stray.dfm"},
         "stray.dfm: warning: line 3 holds bytes that are not valid in code page 1252; give the right page "
         "with --codepage\n"},
        {{"check", "--codepage", "1252", "sjis.dfm"},
         "sjis.dfm: warning: read in code page 1252 as --codepage says, but the form declares 932\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args[c.Args.size() > 4 ? c.Args.size() - 3 : c.Args.size() - 1]);
        const Result r = Run(c.Args);
        EXPECT_EQ(r.Exit, 0);
        EXPECT_EQ(r.Err, c.Err);
    }
    // The warnings of a binary form come from its strings as text, and the bytes are kept.
    const Result back = Run({"convert", "--to", "text", "c.bin", "-o", "stray.txt"});
    EXPECT_EQ(back.Err,
              "c.bin: warning: line 3 holds bytes that are not valid in code page 1252; give the right page "
              "with --codepage\n");
    ASSERT_EQ(Run({"convert", "--to", "binary", "stray.txt", "-o", "again.bin"}).Exit, 0);
    EXPECT_EQ(Read("again.bin"), Read("c.bin"));
}

// The form text with every Font.Charset set to charset (one added to the root when there
// is none) and, when encodeStrings, every string that holds characters above ASCII
// written as 8-bit bytes of the code page, as an editor on a system in that page writes
// it. Strings with characters the page lacks, or with control characters, stay codes.
std::string InCodePage(const std::string& text, int page, const std::string& charset, bool encodeStrings) {
    std::string withCharset;
    std::size_t lineStart = 0;
    bool anyCharset = false;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        lineEnd = lineEnd == std::string::npos ? text.size() : lineEnd + 1;
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        const std::size_t at = line.find("Font.Charset = ");
        if (at != std::string::npos && line.find_first_not_of(' ') == at) {
            const std::size_t value = at + 15;
            const std::size_t valueEnd = line.find_first_of("\r\n", value);
            line.replace(value, valueEnd - value, charset);
            anyCharset = true;
        }
        withCharset += line;
        if (lineStart == 0 && text.find("Font.Charset = ") == std::string::npos) {
            withCharset += "  Font.Charset = " + charset + (line.ends_with("\r\n") ? "\r\n" : "\n");
            anyCharset = true;
        }
        lineStart = lineEnd;
    }
    EXPECT_TRUE(anyCharset);
    if (!encodeStrings) return withCharset;

    const fw::CodePage& codePage = *fw::CodePage::Find(page);
    fw::MemoryStream input(fw::Bytes(withCharset.begin(), withCharset.end()));
    std::string out;
    std::size_t copied = 0;
    fw::FormTokenizer parser(input);
    while (parser.Kind() != fw::TokEnd) {
        if (parser.Kind() != fw::TokWideString) {
            parser.Advance();
            continue;
        }
        const auto start = static_cast<std::size_t>(parser.TokenPosition());
        const std::u16string value = parser.TokenWide();
        parser.Advance();
        std::size_t end = static_cast<std::size_t>(parser.TokenPosition());
        while (end > start &&
               std::string_view(" \t\r\n").find(withCharset[end - 1]) != std::string_view::npos)
            --end;
        std::size_t missing = 0;
        const std::string bytes = codePage.Encode(value, &missing);
        if (missing != std::string::npos || std::any_of(bytes.begin(), bytes.end(), [](char c) {
                return static_cast<unsigned char>(c) < 0x20;
            }))
            continue;
        std::string quoted = "'";
        for (const char c : bytes)
            quoted += c == '\'' ? std::string("''") : std::string(1, c);
        out += withCharset.substr(copied, start - copied) + quoted + "'";
        copied = end;
    }
    return out + withCharset.substr(copied);
}

// Forms written on Japanese and Chinese systems: 8-bit strings in Shift-JIS and GBK and
// fonts that say so. Read without --codepage they keep their characters through the
// binary encoding and back.
TEST_F(CliTool, FormsInTheirDeclaredDoubleByteCodePageKeepTheirCharacters) {
    const fs::path corpus = fs::path(FW_CORPUS_DIR) / "forms" / "text";
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    const struct {
        std::string File;
        int Page;
        std::string Charset;
        std::string Name;
    } cases[] = {
        {"Nekomimi1958__NyanFi_x64__src__RenDlg.dfm", 932, "SHIFTJIS_CHARSET", "sjis"},
        {"zhixinTeam__SWDelivery__Source__DL_Client__Forms__UFrameLog.dfm", 936, "GB2312_CHARSET", "gbk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        if (!fs::exists(corpus / c.File)) GTEST_SKIP() << "not in the corpus: " << c.File;
        std::ifstream file(corpus / c.File, std::ios::binary);
        const std::string original{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        const std::string codes = InCodePage(original, c.Page, c.Charset, false);
        const std::string eightBit = InCodePage(original, c.Page, c.Charset, true);
        ASSERT_LT(eightBit.size(), codes.size()) << "no string was written in 8-bit";
        Write(c.Name + ".dfm", eightBit);
        Write(c.Name + "-codes.dfm", codes);

        const Result detect = Run({"detect", c.Name + ".dfm"});
        EXPECT_EQ(detect.Out, c.Name + ".dfm\ttext\t" + std::to_string(c.Page) + " (declared)\n");

        const Result binary = Run({"convert", "--to", "binary", c.Name + ".dfm", "-o", c.Name + ".bin"});
        ASSERT_EQ(binary.Exit, 0) << binary.Err;
        EXPECT_EQ(binary.Err, "");
        ASSERT_EQ(Run({"convert", "--to", "binary", c.Name + "-codes.dfm", "-o", c.Name + "-codes.bin"}).Exit,
                  0);
        EXPECT_EQ(Read(c.Name + ".bin"), Read(c.Name + "-codes.bin"));

        const Result text = Run({"convert", "--to", "text", c.Name + ".bin", "-o", c.Name + ".txt"});
        ASSERT_EQ(text.Exit, 0) << text.Err;
        EXPECT_EQ(text.Err, "");
        ASSERT_EQ(Run({"convert", "--to", "text", c.Name + "-codes.bin", "-o", c.Name + "-codes.txt"}).Exit,
                  0);
        EXPECT_EQ(Read(c.Name + ".txt"), Read(c.Name + "-codes.txt"));
    }
}

TEST_F(CliTool, BadUsageExitsTwoNamingTheArgument) {
    Write("a.dfm", TinyForm);
    Write("b.dfm", TinyForm);
    const struct {
        std::vector<std::string> Args;
        std::string Message;
        std::string Hint;
    } cases[] = {
        {{"frobnicate", "a.dfm"}, "unknown command 'frobnicate'", "formwright-cli --help"},
        {{"--foo"}, "unknown option '--foo'", "formwright-cli --help"},
        {{"convert", "--foo", "--to", "text", "a.dfm", "-o", "x"},
         "unknown option '--foo'",
         "formwright-cli convert --help"},
        {{"convert", "a.dfm", "-o", "x"}, "missing --to", "formwright-cli convert --help"},
        {{"convert", "--to", "pdf", "a.dfm", "-o", "x"}, "unknown encoding 'pdf'", "convert --help"},
        {{"convert", "--to"}, "'--to' needs a value", "convert --help"},
        {{"convert", "--to", "text", "-o", "--in-place", "a.dfm"}, "'-o' needs a value", "convert --help"},
        {{"convert", "--to", "text", "a.dfm", "b.dfm", "-o", "x"},
         "-o needs exactly one input file",
         "convert --help"},
        {{"convert", "--to", "text", "a.dfm"}, "missing -o, --out-dir or --in-place", "convert --help"},
        {{"convert", "--to", "text", "-o", "x"}, "no input files", "convert --help"},
        {{"convert", "--to", "text", "a.dfm", "-o", "x", "--in-place"},
         "'--in-place' cannot be combined with '-o'",
         "convert --help"},
        {{"convert", "--to", "text", "--codepage", "1251x", "a.dfm", "--in-place"},
         "unsupported code page '1251x'",
         "convert --help"},
        {{"check", "--codepage=437", "a.dfm"},
         "unsupported code page '437' (supported: 874, 932, 936, 949, 950, 1250-1258)",
         "check --help"},
        {{"check", "--format", "xml", "a.dfm"},
         "unknown format 'xml' for --format (use text or json)",
         "check --help"},
        {{"check", "--format=json", "--format=text", "a.dfm"},
         "'--format' given more than once",
         "check --help"},
        {{"detect", "--format", "json", "a.dfm"},
         "option '--format' does not apply to detect",
         "detect --help"},
        {{"check", "a.dfm", "--search-path"}, "'--search-path' needs a value", "check --help"},
        {{"convert", "--to", "text", "--search-path", "lib", "a.dfm", "--in-place"},
         "option '--search-path' does not apply to convert",
         "convert --help"},
        {{"detect"}, "no input files", "detect --help"},
        {{"detect", "--in-place", "a.dfm"}, "option '--in-place' does not apply to detect", "detect --help"},
        {{"classes", "TButton", "TEdit"}, "classes takes at most one class name", "classes --help"},
        {{"classes", "--codepage", "1252"},
         "option '--codepage' does not apply to classes",
         "classes --help"},
        {{"resources"}, "no input file", "resources --help"},
        {{"forms", "a.dfm", "b.dfm"}, "forms takes one file", "forms --help"},
        {{"resources", "--page", "header", "a.dfm"},
         "option '--page' does not apply to resources",
         "resources --help"},
        {{"extract", "--to", "resource", "a.dfm"},
         "unknown encoding 'resource' for --to (use text or binary)",
         "extract --help"},
        {{"extract", "--in-place", "a.dfm"},
         "option '--in-place' does not apply to extract",
         "extract --help"},
        {{"extract", "--out-dir"}, "'--out-dir' needs a value", "extract --help"},
        {{"pkginfo", "--page", "info", "a.dfm"},
         "unknown page 'info' for --page (use header, classes, forms or flags)",
         "pkginfo --help"},
        {{"pkginfo", "--to", "text", "a.dfm"}, "option '--to' does not apply to pkginfo", "pkginfo --help"},
        {{"convert", "--to", "text", "-j", "0", "a.dfm", "--in-place"},
         "bad value '0' for '-j' (use a number from 1 to 256)",
         "convert --help"},
        {{"convert", "--to", "text", "--jobs=many", "a.dfm", "--in-place"},
         "bad value 'many' for '--jobs'",
         "convert --help"},
        {{"check", "-j2", "a.dfm"}, "option '-j' does not apply to check", "check --help"},
        {{"detect", "--force", "a.dfm"}, "option '--force' does not apply to detect", "detect --help"},
        {{"convert", "--to", "text", "-", "--in-place"},
         "--in-place cannot replace standard input",
         "convert --help"},
        {{"convert", "--to", "text", "-", "--out-dir", "out"},
         "--out-dir needs a file name; standard input has none",
         "convert --help"},
        {{"detect", "-", "a.dfm", "-"}, "standard input ('-') named more than once", "detect --help"},
    };
    for (const auto& c : cases) {
        const std::set<std::string> listing = Listing();
        const Result r = Run(c.Args);
        EXPECT_EQ(r.Exit, 2) << c.Message;
        EXPECT_EQ(r.Out, "") << c.Message;
        EXPECT_TRUE(StartsWith(r.Err, "formwright-cli: " + c.Message)) << r.Err;
        EXPECT_NE(r.Err.find(c.Hint), std::string::npos) << r.Err;
        EXPECT_EQ(Listing(), listing) << c.Message;
    }
}

TEST_F(CliTool, ClassesListsTheRegistryAndDescribesOneClass) {
    const Result list = Run({"classes"});
    EXPECT_EQ(list.Exit, 0) << list.Err;
    EXPECT_EQ(list.Err, "");
    for (const char* line : {"TButton\tStdCtrls\tTButtonControl\n", "TFont\tGraphics\tTGraphicsObject\n",
                             "TPersistent\tClasses\tTObject\n"})
        EXPECT_NE(list.Out.find(line), std::string::npos) << line;
    // Sorted by name, one class per line.
    EXPECT_LT(list.Out.find("TBitBtn\t"), list.Out.find("TButton\t"));
    EXPECT_EQ(list.Out.find("TObject\t"), std::string::npos);

    const Result button = Run({"classes", "tbutton"});
    EXPECT_EQ(button.Exit, 0) << button.Err;
    EXPECT_TRUE(
        StartsWith(button.Out,
                   "class: TButton\nunit: StdCtrls\nancestry: TButton > TButtonControl > "
                   "TWinControl > TControl > TComponent > TPersistent > TObject\npublished properties: "))
        << button.Out;
    for (const char* row :
         {"\nCaption\tTCaption\ttkLString\t''\n", "\nWidth\tInteger\ttkInteger\t75\n",
          "\nAnchors\tTAnchors\ttkSet\t[akLeft,akTop]\n", "\nCursor\tTCursor\ttkInteger\tcrDefault\n",
          "\nFont\tTFont\ttkClass\t(TFont)\n", "\nPopupMenu\tTPopupMenu\ttkClass\t\n",
          "\nOnClick\tTNotifyEvent\ttkMethod\t\n", "\nDefault\tBoolean\ttkEnumeration\tFalse\n"})
        EXPECT_NE(button.Out.find(row), std::string::npos) << row;

    const Result panel = Run({"classes", "TPanel"});
    EXPECT_NE(panel.Out.find("\nColor\tTColor\ttkInteger\tclBtnFace\n"), std::string::npos) << panel.Out;

    const Result unknown = Run({"classes", "TNoSuchThing"});
    EXPECT_EQ(unknown.Exit, 1);
    EXPECT_EQ(unknown.Out, "");
    EXPECT_EQ(unknown.Err, "formwright-cli: class TNoSuchThing not found\n");
}

TEST_F(CliTool, PrintsHelpAndVersion) {
    const struct {
        std::vector<std::string> Args;
        std::string Head;
    } cases[] = {
        {{}, "Usage: formwright-cli COMMAND"},
        {{"--help"}, "Usage: formwright-cli COMMAND"},
        {{"-h"}, "Usage: formwright-cli COMMAND"},
        {{"convert", "--help"}, "Usage: formwright-cli convert --to ENCODING"},
        {{"convert", "--to", "text", "-h"}, "Usage: formwright-cli convert --to ENCODING"},
        {{"detect", "--help"}, "Usage: formwright-cli detect [--codepage N] FILE..."},
        {{"check", "-h"}, "Usage: formwright-cli check [--codepage N] [--format text|json]"},
        {{"classes", "--help"},
         "Usage: formwright-cli classes [--package BPL]... [--installed-packages] [NAME]"},
        {{"resources", "--help"}, "Usage: formwright-cli resources [--codepage N] FILE"},
        {{"forms", "-h"}, "Usage: formwright-cli forms [--codepage N] FILE"},
        {{"extract", "--help"}, "Usage: formwright-cli extract [--to text|binary]"},
        {{"pkginfo", "--help"}, "Usage: formwright-cli pkginfo [--page PAGE]"},
        {{"--version"}, "formwright-cli " FW_EXPECTED_VERSION "\n"},
    };
    for (const auto& c : cases) {
        const Result r = Run(c.Args);
        EXPECT_EQ(r.Exit, 0) << c.Head;
        EXPECT_EQ(r.Err, "") << c.Head;
        EXPECT_TRUE(StartsWith(r.Out, c.Head)) << r.Out;
    }
    EXPECT_EQ(Run({"--version"}).Out, "formwright-cli " FW_EXPECTED_VERSION "\n");
}

TEST_F(CliTool, ListsTheResourcesAndFormsOfAPEFile) {
    Write("sample.bpl", AsString(fwtest::SampleModule(false).Build().File));
    Write("form.dfm", TinyForm);

    const Result resources = Run({"resources", "sample.bpl"});
    EXPECT_EQ(resources.Exit, 0) << resources.Err;
    EXPECT_EQ(std::count(resources.Out.begin(), resources.Out.end(), '\n'), 12) << resources.Out;
    EXPECT_TRUE(StartsWith(resources.Out, "\"PNG\"\tLOGO\t0\t0\t4\nREGISTRY\t101\t0\t0\t4\n"))
        << resources.Out;
    EXPECT_NE(resources.Out.find("\nRCDATA\tTFORM1\t1031\t1252\t"), std::string::npos) << resources.Out;
    EXPECT_NE(resources.Out.find("\nVERSION\t1\t1033\t1200\t7\n"), std::string::npos) << resources.Out;

    const Result forms = Run({"forms", "sample.bpl"});
    EXPECT_EQ(forms.Exit, 0) << forms.Err;
    EXPECT_EQ(forms.Out, "TABOUT\nTFORM1\nTFORM1\n");

    for (const std::string& file : {"form.dfm", "missing.exe"}) {
        const Result r = Run({"forms", file});
        EXPECT_EQ(r.Exit, 1) << file;
        EXPECT_EQ(r.Out, "") << file;
        EXPECT_TRUE(StartsWith(r.Err, file + ": ")) << r.Err;
    }
    EXPECT_NE(Run({"resources", "form.dfm"}).Err.find("not a PE file"), std::string::npos);
}

TEST_F(CliTool, ExtractWritesEachFormUnderItsOwnName) {
    Write("sample.bpl", AsString(fwtest::SampleModule(false).Build().File));
    const Result all = Run({"extract", "sample.bpl", "--out-dir", "out"});
    EXPECT_EQ(all.Exit, 0) << all.Err;
    EXPECT_EQ(all.Out, "out/TABOUT.dfm\nout/TFORM1.dfm\nout/TFORM1.1033.dfm\n");
    // The form, not the bitmap of the same name.
    EXPECT_TRUE(StartsWith(Read("out/TABOUT.dfm"), "object About: TAbout\r\n")) << Read("out/TABOUT.dfm");
    EXPECT_NE(Read("out/TFORM1.dfm").find("Caption = 'Deutsch'"), std::string::npos);
    EXPECT_NE(Read("out/TFORM1.1033.dfm").find("Caption = 'English'"), std::string::npos);

    const Result some =
        Run({"extract", "--to", "binary", "sample.bpl", "tform1", "TNOSUCH", "--out-dir", "bin"});
    EXPECT_EQ(some.Exit, 1);
    EXPECT_EQ(some.Out, "bin/TFORM1.dfm\nbin/TFORM1.1033.dfm\n");
    EXPECT_EQ(some.Err, "sample.bpl: no form resource named TNOSUCH\n");
    EXPECT_TRUE(StartsWith(Read("bin/TFORM1.dfm"), BinarySignature));
    EXPECT_FALSE(Exists("bin/TABOUT.dfm"));
    // The binary is the stream as stored: it converts to the text extracted before.
    ASSERT_EQ(Run({"convert", "--to", "text", "bin/TFORM1.dfm", "-o", "again.dfm"}).Exit, 0);
    EXPECT_EQ(Read("again.dfm"), Read("out/TFORM1.dfm"));
}

TEST_F(CliTool, ExtractKeepsHostileNamesInsideTheFolderAndGoesOnPastDamagedForms) {
    using fwtest::ResourceId;
    fwtest::PeWriter writer;
    fwtest::Bytes damaged = fwtest::SmallForm("Form2");
    damaged.resize(damaged.size() - 5);
    writer.AddResource({ResourceId::Num(10), ResourceId::Str("../ESCAPE"), 0, fwtest::SmallForm("Form1"), 0});
    writer.AddResource({ResourceId::Num(10), ResourceId::Str("BROKEN"), 0, damaged, 0});
    writer.AddResource({ResourceId::Num(10), ResourceId::Str("GOOD"), 0, fwtest::SmallForm("Form3"), 0});
    Write("app.exe", AsString(writer.Build().File));

    const Result r = Run({"extract", "app.exe", "--out-dir", "out"});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_EQ(r.Out, "out/.._ESCAPE.dfm\nout/GOOD.dfm\n");
    EXPECT_TRUE(StartsWith(r.Err, "app.exe: BROKEN: ")) << r.Err;
    EXPECT_EQ(Listing(), (std::set<std::string>{"app.exe", "out", "out/.._ESCAPE.dfm", "out/GOOD.dfm"}));
}

// Extracted forms are read in the page their Charset values declare, as convert reads
// them: a long double-byte string is then broken into runs between characters, never
// inside one.
TEST_F(CliTool, ExtractReadsEachFormInItsDeclaredCodePage) {
    std::string caption = "a";
    for (int i = 0; i < 40; ++i)
        caption += "\x93\xfa";
    // A binary form holding the caption as an 8-bit string, as compilers of 8-bit
    // programs store it.
    const auto shortString = [](const std::string& text) { return static_cast<char>(text.size()) + text; };
    const std::string binary = "TPF0" + shortString("TForm") + shortString("F") +
                               shortString("Font.Charset") + '\x07' + shortString("SHIFTJIS_CHARSET") +
                               shortString("Caption") + '\x06' + shortString(caption) + std::string(2, '\0');
    Write("sjis.bin", binary);
    ASSERT_EQ(Run({"convert", "--to", "text", "sjis.bin", "-o", "sjis.txt"}).Exit, 0);
    fwtest::PeWriter writer;
    writer.AddResource({fwtest::ResourceId::Num(10), fwtest::ResourceId::Str("TF"), 0,
                        fwtest::Bytes(binary.begin(), binary.end()), 0});
    Write("app.exe", AsString(writer.Build().File));

    const Result declared = Run({"extract", "app.exe", "--out-dir", "out"});
    ASSERT_EQ(declared.Exit, 0) << declared.Err;
    EXPECT_EQ(declared.Err, "");
    EXPECT_EQ(Read("out/TF.dfm"), Read("sjis.txt"));
    // Read as 1252 the runs split a character, and the warning says the page is wrong.
    const Result forced = Run({"extract", "--codepage", "1252", "app.exe", "--out-dir", "forced"});
    ASSERT_EQ(forced.Exit, 0) << forced.Err;
    EXPECT_NE(Read("forced/TF.dfm"), Read("sjis.txt"));
    EXPECT_EQ(forced.Err,
              "app.exe(TF): warning: read in code page 1252 as --codepage says, but the form declares 932\n");
}

TEST_F(CliTool, PkgInfoPrintsTheReportPages) {
    Write("sample.bpl", AsString(fwtest::SampleModule(false).Build().File));
    const struct {
        std::string Page;
        std::string Out;
    } pages[] = {
        {"header", "requires\n  rtl\n  vcl\ncontains\n  SampleReg\n  SampleButtons\n  SamplePanels\n"},
        {"classes", "TGaugeOld\nTSampleButton\nTSample_Panel2\n"},
        {"Forms", "TABOUT\nTFORM1\nTFORM1\n"},
        {"flags", "Options: DesignOnly\nType: Package\nProducer: Delphi 4 or later\n"},
    };
    // The description is UTF-8 whatever the code page: U+00E9 is C3 A9.
    std::string everything = "[Description]\nSample components \xC3\xA9\n";
    for (const auto& p : pages) {
        const Result r = Run({"pkginfo", "--page", p.Page, "sample.bpl"});
        EXPECT_EQ(r.Exit, 0) << r.Err;
        EXPECT_EQ(r.Out, p.Out) << p.Page;
        std::string heading = p.Page;
        heading[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(heading[0])));
        everything += "\n[" + heading + "]\n" + p.Out;
    }
    const Result all = Run({"pkginfo", "sample.bpl"});
    EXPECT_EQ(all.Exit, 0) << all.Err;
    EXPECT_EQ(all.Out, everything);
    // Not even a code page without the letter, nor a character beyond the 16-bit range,
    // changes that: the description is converted from its UTF-16 as it is.
    const Result cyrillic = Run({"pkginfo", "--codepage", "1251", "sample.bpl"});
    EXPECT_TRUE(StartsWith(cyrillic.Out, "[Description]\nSample components \xC3\xA9\n")) << cyrillic.Out;
    fwtest::PeWriter described;
    described.AddResource({fwtest::ResourceId::Num(10), fwtest::ResourceId::Str("DESCRIPTION"), 0,
                           fwtest::DescriptionPayload(u"\u041F\u0430\u043A\u0435\u0442 \U0001F4E6"), 0});
    Write("described.bpl", AsString(described.Build().File));
    EXPECT_TRUE(StartsWith(Run({"pkginfo", "described.bpl"}).Out,
                           "[Description]\n\xD0\x9F\xD0\xB0\xD0\xBA\xD0\xB5\xD1\x82 \xF0\x9F\x93\xA6\n"));

    // A module without package information reports empty lists.
    fwtest::PeWriter plain;
    Write("plain.exe", AsString(plain.Build().File));
    const Result empty = Run({"pkginfo", "--page=header", "plain.exe"});
    EXPECT_EQ(empty.Exit, 0) << empty.Err;
    EXPECT_EQ(empty.Out, "requires\ncontains\n");
}

// A form with a component of the test packages' widgets.
const std::string WidgetForm =
    "object Form1: TForm1\r\n"
    "  object Widget1: TWidget\r\n"
    "    Count = 5\r\n"
    "    Mode = wmThree\r\n"
    "  end\r\n"
    "end\r\n";

TEST_F(CliTool, CheckAndClassesLoadTheDesignPackagesGiven) {
    Write("widgets.bpl", AsString(fwtest::BuildTestPackage(fwtest::WidgetsPackage())));
    Write("gadgets.bpl", AsString(fwtest::BuildTestPackage(fwtest::GadgetsPackage())));
    Write("junk.bpl", "not a package");
    Write("form.dfm", WidgetForm);

    const Result unknown = Run({"check", "form.dfm"});
    EXPECT_EQ(unknown.Exit, 1);
    EXPECT_NE(unknown.Out.find("TWidget"), std::string::npos) << unknown.Out;
    const Result known = Run({"check", "--package", "widgets.bpl", "form.dfm"});
    EXPECT_EQ(known.Exit, 0) << known.Err;
    EXPECT_EQ(known.Out, "form.dfm: ok\n");

    // Several packages, earlier ones first: gadgets' TGadget derives from widgets' TWidget.
    const Result gadget = Run({"classes", "--package=widgets.bpl", "--package", "gadgets.bpl", "tgadget"});
    EXPECT_EQ(gadget.Exit, 0) << gadget.Err;
    EXPECT_TRUE(StartsWith(gadget.Out,
                           "class: TGadget\nunit: GadgetUnit\nancestry: TGadget > TWidget > "
                           "TWidgetBase > TCustomControl"))
        << gadget.Out;
    const Result listed = Run({"classes", "--package", "widgets.bpl"});
    EXPECT_EQ(listed.Exit, 0) << listed.Err;
    EXPECT_NE(listed.Out.find("\nTWidgetBase\tWidgetUnit\tTCustomControl\n"), std::string::npos)
        << listed.Out;

    // A package that cannot be loaded is reported and fails the run; the others load.
    const Result junk = Run({"check", "--package", "junk.bpl", "--package", "widgets.bpl", "form.dfm"});
    EXPECT_EQ(junk.Exit, 1);
    EXPECT_EQ(junk.Out, "form.dfm: ok\n");
    EXPECT_EQ(
        junk.Err,
        "formwright-cli: package junk.bpl: Can't load package junk.bpl. The file is not a valid PE image\n");

    // The options belong to check and classes only, and --package needs its file.
    EXPECT_EQ(Run({"forms", "--package", "widgets.bpl", "widgets.bpl"}).Exit, 2);
    EXPECT_EQ(Run({"check", "form.dfm", "--package"}).Exit, 2);
    EXPECT_EQ(Run({"classes", "--installed-packages=yes"}).Exit, 2);
}

TEST_F(CliTool, TheEditorsPackageListIsReadOnlyWhenAskedFor) {
    Write("widgets.bpl", AsString(fwtest::BuildTestPackage(fwtest::WidgetsPackage())));
    Write("config/Zentrix/formwright.ini", "[Packages]\n0=" + (dir_ / "widgets.bpl").string() + "\n");
    const char* previous = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = previous ? previous : "";
    ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    const Result without = Run({"classes", "TWidget"});
    const Result with = Run({"classes", "--installed-packages", "TWidget"});
    // Listed on the command line as well: loaded once.
    const Result both = Run({"classes", "--installed-packages", "--package", "widgets.bpl", "TWidget"});
    if (previous)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");

    EXPECT_EQ(without.Exit, 1);
    EXPECT_EQ(with.Exit, 0) << with.Err;
    EXPECT_TRUE(StartsWith(with.Out, "class: TWidget\nunit: WidgetUnit\n")) << with.Out;
    EXPECT_EQ(both.Exit, 0) << both.Err;
    EXPECT_EQ(both.Err, "");
}

}  // namespace

// ---- edits ----

const std::string EditForm =
    "object Form1: TForm1\r\n"
    "  Left = 8\r\n"
    "  Caption = 'Hi'\r\n"
    "  object Edit1: TEdit\r\n"
    "    Left = 16\r\n"
    "    Top = 8\r\n"
    "    Width = 121\r\n"
    "    Height = 21\r\n"
    "    ExplicitWidth = 120\r\n"
    "    TabOrder = 0\r\n"
    "  end\r\n"
    "  object Label1: TLabel\r\n"
    "    Left = 16\r\n"
    "    Top = 40\r\n"
    "    Width = 30\r\n"
    "    Height = 13\r\n"
    "    Caption = 'Name'\r\n"
    "    FocusControl = Edit1\r\n"
    "    ExplicitLeft = 15\r\n"
    "  end\r\n"
    "end\r\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST_F(CliTool, SetChangesOnlyTheValuesLinesAndKeepsTheOldFileAsBackup) {
    Write("form.dfm", EditForm);
    const Result set =
        Run({"set", "form.dfm", "Label1.Caption='Full name'", "Edit1.Left=24", "Form1.Caption=''"});
    ASSERT_EQ(set.Exit, 0) << set.Err;
    std::string expected = Replaced(EditForm, "    Caption = 'Name'", "    Caption = 'Full name'");
    expected = Replaced(expected, "    Left = 16\r\n    Top = 8", "    Left = 24\r\n    Top = 8");
    // An empty caption is the default: its line goes.
    expected = Replaced(expected, "  Caption = 'Hi'\r\n", "");
    EXPECT_EQ(Read("form.dfm"), expected);
    EXPECT_EQ(Read("form.~dfm"), EditForm);
    EXPECT_EQ(set.Out,
              "form.dfm: Label1.Caption: 'Name' -> 'Full name'\n"
              "form.dfm: Edit1.Left: 16 -> 24\n"
              "form.dfm: Form1.Caption: removed (default)\n");

    // get prints the value as stored; a value the form does not store is a failure.
    EXPECT_EQ(Run({"get", "form.dfm", "Label1.Caption"}).Out, "'Full name'\n");
    const Result missing = Run({"get", "form.dfm", "Form1.Caption"});
    EXPECT_EQ(missing.Exit, 1);
    EXPECT_EQ(missing.Out, "");

    // Setting what is already there writes nothing and keeps the backup as it was.
    const Result again = Run({"set", "form.dfm", "Edit1.Left=24"});
    EXPECT_EQ(again.Exit, 0);
    EXPECT_EQ(again.Out, "form.dfm: unchanged\n");
    EXPECT_EQ(Read("form.dfm"), expected);
    EXPECT_EQ(Read("form.~dfm"), EditForm);

    // --dry-run prints the change and writes nothing.
    const Result dry = Run({"set", "--dry-run", "form.dfm", "Edit1.Left=32"});
    EXPECT_EQ(dry.Out, "form.dfm: Edit1.Left: 24 -> 32\n");
    EXPECT_EQ(Read("form.dfm"), expected);
}

TEST_F(CliTool, RenameAndRemovePropertyFollowTheForm) {
    Write("form.dfm", EditForm);
    const Result renamed = Run({"rename", "form.dfm", "Edit1", "NameEdit"});
    ASSERT_EQ(renamed.Exit, 0) << renamed.Err;
    std::string expected = Replaced(EditForm, "object Edit1: TEdit", "object NameEdit: TEdit");
    expected = Replaced(expected, "FocusControl = Edit1", "FocusControl = NameEdit");
    EXPECT_EQ(Read("form.dfm"), expected);

    const Result removed = Run({"remove-property", "form.dfm", "*.Explicit*"});
    ASSERT_EQ(removed.Exit, 0) << removed.Err;
    expected = Replaced(expected, "    ExplicitWidth = 120\r\n", "");
    expected = Replaced(expected, "    ExplicitLeft = 15\r\n", "");
    EXPECT_EQ(Read("form.dfm"), expected);
    EXPECT_NE(removed.Out.find("NameEdit.ExplicitWidth"), std::string::npos) << removed.Out;

    // A name already taken is refused, and the file stays as it was.
    const Result taken = Run({"rename", "form.dfm", "NameEdit", "Label1"});
    EXPECT_EQ(taken.Exit, 1);
    EXPECT_EQ(Read("form.dfm"), expected);
}

TEST_F(CliTool, EditsRefusedLeaveTheFileAlone) {
    struct Case {
        std::vector<std::string> Args;
        int Exit;
    };
    const Case cases[] = {
        {{"set", "form.dfm", "Edit1.NoSuchProperty=1"}, 1},
        {{"set", "form.dfm", "Edit1.Left='text'"}, 1},
        {{"set", "form.dfm", "Edit1.Left=(1"}, 1},
        {{"set", "form.dfm", "NoSuchObject.Left=1"}, 1},
        {{"set", "form.dfm", "Edit1.Left=1", "other.dfm"}, 2},
        {{"set", "form.dfm"}, 2},
        {{"get", "form.dfm"}, 2},
        {{"rename", "form.dfm", "Edit1"}, 2},
        {{"remove-property", "form.dfm"}, 2},
        {{"get", "--dry-run", "form.dfm", "Edit1.Left"}, 2},
    };
    for (const Case& c : cases) {
        Write("form.dfm", EditForm);
        fs::remove(dir_ / "form.~dfm");
        const Result result = Run(c.Args);
        EXPECT_EQ(result.Exit, c.Exit) << c.Args.back() << "\n" << result.Err;
        EXPECT_FALSE(result.Err.empty()) << c.Args.back();
        EXPECT_EQ(Read("form.dfm"), EditForm) << c.Args.back();
        EXPECT_FALSE(Exists("form.~dfm")) << c.Args.back();
    }
}

TEST_F(CliTool, EditedBinaryFormsStayBinaryAndChangeOnlyInTheValue) {
    Write("form.dfm", EditForm);
    ASSERT_EQ(Run({"convert", "--to", "binary", "form.dfm", "-o", "form.bin"}).Exit, 0);
    ASSERT_EQ(Run({"convert", "--to", "resource", "form.dfm", "-o", "form.res"}).Exit, 0);
    const std::string expectedText = Replaced(EditForm, "    Caption = 'Name'", "    Caption = 'Nom'");
    Write("expected.dfm", expectedText);
    ASSERT_EQ(Run({"convert", "--to", "binary", "expected.dfm", "-o", "expected.bin"}).Exit, 0);
    ASSERT_EQ(Run({"convert", "--to", "resource", "expected.dfm", "-o", "expected.res"}).Exit, 0);

    for (const std::string name : {"bin", "res"}) {
        const std::string original = Read("form." + name);
        const Result set = Run({"set", "form." + name, "Label1.Caption='Nom'"});
        ASSERT_EQ(set.Exit, 0) << set.Err;
        EXPECT_EQ(Read("form." + name), Read("expected." + name)) << name;
        EXPECT_EQ(Read("form.~" + name), original) << name;
    }

    // Standard input: the result goes to standard output, the changes to standard error.
    const Result piped = Run({"set", "-", "Label1.Caption='Nom'"}, "form.dfm");
    EXPECT_EQ(piped.Exit, 0) << piped.Err;
    EXPECT_EQ(piped.Out, expectedText);
}
