// The document window: opening each encoding and saving it back unchanged, the backup
// rule, Save As, failed saves that leave the file alone, loads that fail, the close
// prompt, the modified state, the menus and their shortcuts, and the editor commands.

#include "document/documentwindow.h"

#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTabWidget>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "codec/conversion.h"
#include "base/errors.h"
#include "document/formtext.h"
#include "documenttestsupport.h"

namespace {

using fw::FormEncoding;
using fw::DocumentWindow;
using fw::test::Bytes;
using fw::test::ReadAll;
using fw::test::RecordingMessages;
using fw::test::WriteAll;
using Answer = fw::UserMessages::Answer;

constexpr std::string_view SmallForm =
    "object Form1: TForm1\r\n"
    "  Left = 10\r\n"
    "  Caption = 'Hello'\r\n"
    "  object Button1: TButton\r\n"
    "    Caption = 'OK'\r\n"
    "  end\r\n"
    "end\r\n";

// A form whose names are not ASCII: its text is UTF-8 behind a byte-order mark.
constexpr std::string_view Utf8Form =
    "\xEF\xBB\xBF"
    "object Форма1: TForm1\r\n"
    "  Caption = 'Привет'\r\n"
    "end\r\n";

QByteArray WithBreaks(std::string_view text, const char* lineBreak) {
    QByteArray out = Bytes(text);
    out.replace("\r\n", lineBreak);
    return out;
}

QByteArray Convert(const QByteArray& bytes, FormEncoding to,
                   const fw::CodePage& codePage = fw::CodePage::Default()) {
    const fw::Bytes out =
        fw::ConvertForm(fw::ByteSpan(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                     static_cast<std::size_t>(bytes.size())),
                        to, codePage);
    return QByteArray(reinterpret_cast<const char*>(out.data()), static_cast<qsizetype>(out.size()));
}

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::test::EnsureApplication();
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override {
        for (const QPointer<DocumentWindow>& document : documents_)
            delete document.data();
    }

    DocumentWindow* NewDocument(const fw::CodePage& codePage = fw::CodePage::Default()) {
        auto* document = new DocumentWindow(messages_, codePage);
        documents_.push_back(document);
        return document;
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    DocumentWindow* Open(const QString& name, const QByteArray& bytes,
                          const fw::CodePage& codePage = fw::CodePage::Default()) {
        WriteAll(Path(name), bytes);
        DocumentWindow* document = NewDocument(codePage);
        document->OpenDocumentFile(Path(name));
        return document;
    }
    // Names of the files in the test folder, to see that a failed save left nothing behind.
    QStringList Files() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    // Runs the deferred deletion of closed windows.
    static void DeleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    static void Type(DocumentWindow* document, const QString& text, int line = 0) {
        document->Editor()->insertAt(text, line, 0);
    }

    QTemporaryDir dir_;
    RecordingMessages messages_;
    std::vector<QPointer<DocumentWindow>> documents_;
};

// ---- opening and saving unchanged ----

struct OpenCase {
    const char* Name;
    QByteArray Content;
    FormEncoding Encoding;
    QsciScintilla::EolMode Eol;
};

std::vector<OpenCase> OpenCases() {
    const QByteArray text = Bytes(SmallForm);
    const QByteArray noFinalBreak = text.left(text.size() - 2);
    QByteArray mixed = text;
    mixed.replace("  Left = 10\r\n", "  Left = 10\n")
        .replace("    Caption = 'OK'\r\n", "    Caption = 'OK'\r");
    QByteArray ansi = text;
    ansi.replace("'Hello'",
                 "'Gr\xFC\xDF"
                 "e \x81\x9D'");  // 1252 letters and two undefined bytes
    const QByteArray utf8 = Bytes(Utf8Form);
    QByteArray badUtf8 = utf8;
    badUtf8.replace("Привет", "\xFF\xFE ok");  // not UTF-8, kept as it is
    return {
        {"crlf.dfm", text, FormEncoding::Text, QsciScintilla::EolWindows},
        {"lf.dfm", WithBreaks(SmallForm, "\n"), FormEncoding::Text, QsciScintilla::EolUnix},
        {"cr.dfm", WithBreaks(SmallForm, "\r"), FormEncoding::Text, QsciScintilla::EolMac},
        {"mixed.dfm", mixed, FormEncoding::Text, QsciScintilla::EolWindows},
        {"nofinalbreak.dfm", noFinalBreak, FormEncoding::Text, QsciScintilla::EolWindows},
        {"blanklines.dfm", text + "\r\n\r\n", FormEncoding::Text, QsciScintilla::EolWindows},
        {"ansi.dfm", ansi, FormEncoding::Text, QsciScintilla::EolWindows},
        {"nul.dfm", text + QByteArray("{\0}\r\n", 5), FormEncoding::Text, QsciScintilla::EolWindows},
        {"utf8.dfm", utf8, FormEncoding::Text, QsciScintilla::EolWindows},
        {"badutf8.dfm", badUtf8, FormEncoding::Text, QsciScintilla::EolWindows},
        {"two.dfm", "ob", FormEncoding::Text, QsciScintilla::EolWindows},
        {"empty.dfm", "", FormEncoding::Text, QsciScintilla::EolWindows},
        {"binary.dfm", Convert(text, FormEncoding::Binary), FormEncoding::Binary, QsciScintilla::EolWindows},
        {"resource.dfm", Convert(text, FormEncoding::Resource), FormEncoding::Resource,
         QsciScintilla::EolWindows},
        {"utf8binary.dfm", Convert(utf8, FormEncoding::Binary), FormEncoding::Binary,
         QsciScintilla::EolWindows},
        {"utf8resource.dfm", Convert(utf8, FormEncoding::Resource), FormEncoding::Resource,
         QsciScintilla::EolWindows},
    };
}

TEST_F(DocumentTest, UnchangedSaveIsByteIdenticalInEveryEncoding) {
    for (const OpenCase& c : OpenCases()) {
        SCOPED_TRACE(c.Name);
        DocumentWindow* document = Open(c.Name, c.Content);
        EXPECT_EQ(document->Encoding(), c.Encoding);
        EXPECT_EQ(document->FileName(), Path(c.Name));
        EXPECT_EQ(document->windowTitle(), QString::fromLatin1(c.Name));
        EXPECT_FALSE(document->Modified());
        EXPECT_EQ(document->PanelText(2), QString());
        EXPECT_EQ(document->PanelText(4), Path(c.Name));
        EXPECT_TRUE(document->LoadError().isEmpty()) << document->LoadError().toStdString();
        EXPECT_EQ(document->Editor()->eolMode(), c.Eol);
        EXPECT_FALSE(document->CanUndo()) << "loading is no undo step";

        document->SaveDocument();
        EXPECT_EQ(ReadAll(Path(c.Name)), c.Content);
        EXPECT_EQ(ReadAll(fw::BackupPath(Path(c.Name))), c.Content);
        EXPECT_FALSE(document->Modified());
    }
    EXPECT_TRUE(messages_.Errors.isEmpty()) << messages_.Errors.join('\n').toStdString();
}

TEST_F(DocumentTest, EditorShowsDecodedText) {
    QByteArray ansi = Bytes(SmallForm);
    ansi.replace("'Hello'",
                 "'Gr\xFC\xDF"
                 "e'");
    EXPECT_TRUE(Open("ansi.dfm", ansi)->Editor()->text().contains(QStringLiteral("Caption = 'Grüße'")));

    QByteArray cyrillic = Bytes(SmallForm);
    cyrillic.replace("'Hello'", "'\xCF\xF0\xE8\xE2\xE5\xF2'");
    EXPECT_TRUE(Open("cp1251.dfm", cyrillic, *fw::CodePage::Find(1251))
                    ->Editor()
                    ->text()
                    .contains(QStringLiteral("Caption = 'Привет'")));

    // The byte-order mark is not part of the text, for a UTF-8 file and for the UTF-8 a
    // binary form with non-ASCII names converts to.
    for (const QByteArray& bytes : {Bytes(Utf8Form), Convert(Bytes(Utf8Form), FormEncoding::Binary)}) {
        const QString shown = Open("utf8.dfm", bytes)->Editor()->text();
        EXPECT_TRUE(shown.startsWith(QStringLiteral("object Форма1: TForm1"))) << shown.toStdString();
    }
}

// A document reads its 8-bit text through the code page chosen for it, else the one its
// Charset values declare, else the preference; the status bar says which and whence.
TEST_F(DocumentTest, CodePageIsChosenThenDeclaredThenThePreference) {
    const QByteArray gbk = Bytes(
        "object Form1: TForm1\r\n  Caption = '\xD6\xD0\xCE\xC4'\r\n"
        "  Font.Charset = GB2312_CHARSET\r\nend\r\n");
    DocumentWindow* document = Open("gbk.dfm", gbk);
    EXPECT_TRUE(document->Editor()->text().contains(QStringLiteral("Caption = '中文'")));
    EXPECT_EQ(document->CodePageText(), QStringLiteral("CP 936 (declared)"));
    EXPECT_EQ(document->StatusBar()->findChild<QLabel*>(QStringLiteral("codePage"))->text(),
              QStringLiteral("CP 936 (declared)"));
    EXPECT_EQ(document->TextBytes(), gbk);
    // A binary form declares its page through the same values.
    EXPECT_EQ(Open("gbk.dfm", Convert(gbk, FormEncoding::Binary))->CodePageText(),
              QStringLiteral("CP 936 (declared)"));

    // A modified document asks before it reads the file again; No keeps it as it is.
    document = Open("gbk.dfm", gbk);
    Type(document, QStringLiteral("{x}"));
    messages_.ConfirmAnswers = {false};
    EXPECT_FALSE(document->ReopenWithCodePage(fw::CodePage::Default()));
    EXPECT_TRUE(document->Editor()->text().startsWith(QStringLiteral("{x}")));
    messages_.ConfirmAnswers = {true};
    EXPECT_TRUE(document->ReopenWithCodePage(fw::CodePage::Default()));
    EXPECT_TRUE(document->Editor()->text().contains(QStringLiteral("Caption = 'ÖÐÎÄ'")));
    EXPECT_EQ(document->CodePageText(), QStringLiteral("CP 1252 (option)"));
    EXPECT_FALSE(document->Modified());

    QByteArray undeclared = gbk;
    undeclared.replace("  Font.Charset = GB2312_CHARSET\r\n", "");
    document = Open("plain.dfm", undeclared, *fw::CodePage::Find(936));
    EXPECT_TRUE(document->Editor()->text().contains(QStringLiteral("Caption = '中文'")));
    EXPECT_EQ(document->CodePageText(), QStringLiteral("CP 936 (default)"));
}

// Save with code page writes the text encoded in that page, which the document keeps;
// a character the page lacks stops it before anything is written.
TEST_F(DocumentTest, SaveWithCodePageEncodesOrRefuses) {
    const QByteArray gbk = Bytes(
        "object Form1: TForm1\r\n  Caption = '\xD6\xD0\xCE\xC4'\r\n"
        "  Font.Charset = GB2312_CHARSET\r\nend\r\n");
    DocumentWindow* document = Open("gbk.dfm", gbk);
    Type(document, QStringLiteral("{ก}"));
    EXPECT_FALSE(document->SaveWithCodePage(*fw::CodePage::Find(950)));
    ASSERT_EQ(messages_.Errors.size(), 1);
    EXPECT_TRUE(messages_.Errors.first().contains(QStringLiteral("code page 950"))) << messages_.Errors.first().toStdString();
    EXPECT_EQ(ReadAll(Path("gbk.dfm")), gbk);
    EXPECT_EQ(document->CodePageText(), QStringLiteral("CP 936 (declared)"));

    document->Editor()->undo();
    EXPECT_TRUE(document->SaveWithCodePage(*fw::CodePage::Find(950)));
    QByteArray big5 = gbk;
    big5.replace("\xD6\xD0\xCE\xC4", "\xA4\xA4\xA4\xE5");
    EXPECT_EQ(ReadAll(Path("gbk.dfm")), big5);
    EXPECT_EQ(document->CodePageText(), QStringLiteral("CP 950 (option)"));
    EXPECT_FALSE(document->Modified());
}

// 8-bit text that may be in another code page than the document's is not made into a
// binary form without asking: its strings would be stored as the wrong characters.
TEST_F(DocumentTest, BinarySavesAskWhenTheCodePageMayBeWrong) {
    const QByteArray gbk = Bytes(
        "object Form1: TForm1\r\n  Caption = '\xD6\xD0\xCE\xC4'\r\n"
        "  Font.Charset = GB2312_CHARSET\r\nend\r\n");
    const QByteArray stray = Bytes("object Form1: TForm1\r\n  Caption = 'a\x81'\r\nend\r\n");
    const struct {
        const char* Name;
        QByteArray Text;
        const fw::CodePage* Forced;  // reopened with this page first
        const char* Doubt;           // what the question names; nullptr: no question
    } cases[] = {
        {"declared page", gbk, nullptr, nullptr},
        {"declared, read in another", gbk, fw::CodePage::Find(1252), "declares code page 936"},
        {"undefined byte", stray, nullptr, "Line 2 holds bytes that are not valid in code page 1252"},
        {"ASCII", Bytes(SmallForm), fw::CodePage::Find(936), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        DocumentWindow* document = Open("cp.dfm", c.Text);
        if (c.Forced) ASSERT_TRUE(document->ReopenWithCodePage(*c.Forced));
        const QString binary = Path("cp.bin");
        QFile::remove(binary);
        messages_.Confirms.clear();
        if (c.Doubt == nullptr) {
            EXPECT_TRUE(document->WriteEncoded(binary, FormEncoding::Binary));
            EXPECT_TRUE(messages_.Confirms.isEmpty());
            continue;
        }
        messages_.ConfirmAnswers = {false};
        EXPECT_FALSE(document->WriteEncoded(binary, FormEncoding::Binary));
        EXPECT_FALSE(QFile::exists(binary));
        ASSERT_EQ(messages_.Confirms.size(), 1);
        EXPECT_TRUE(messages_.Confirms.first().contains(QString::fromLatin1(c.Doubt)))
            << messages_.Confirms.first().toStdString();
        // Text keeps every byte either way: no question for it.
        EXPECT_TRUE(document->WriteEncoded(Path("cp.txt"), FormEncoding::Text));
        messages_.ConfirmAnswers = {true};
        EXPECT_TRUE(document->WriteEncoded(binary, FormEncoding::Resource));
        EXPECT_TRUE(QFile::exists(binary));
    }
}

// A break typed into the text follows the file's own convention.
TEST_F(DocumentTest, TypedLineBreakFollowsTheFile) {
    const std::map<std::string, QByteArray> expected = {
        {"\r\n", "\r\n"}, {"\n", "\n"}, {"\r", "\r"}, {"mixed", "\r\n"}};
    for (const auto& [breaks, typed] : expected) {
        SCOPED_TRACE(breaks);
        const QByteArray content =
            breaks == "mixed" ? QByteArray("object A: TA\nend\r") : WithBreaks(SmallForm, breaks.c_str());
        DocumentWindow* document = Open("f.dfm", content);
        document->Editor()->SendScintilla(QsciScintillaBase::SCI_DOCUMENTSTART);
        document->Editor()->SendScintilla(QsciScintillaBase::SCI_NEWLINE);
        EXPECT_EQ(document->TextBytes(), typed + content);
    }
    DocumentWindow* fresh = NewDocument();
    fresh->LoadFromLines({});
    fresh->Editor()->SendScintilla(QsciScintillaBase::SCI_NEWLINE);
    EXPECT_EQ(fresh->TextBytes(), QByteArray("\r\n"));
}

// ---- saving ----

TEST_F(DocumentTest, SaveKeepsTheOldFileAsBackupReplacingAnOldBackup) {
    for (const QString name : {QStringLiteral("Form1.dfm"), QStringLiteral("Form1")}) {
        SCOPED_TRACE(name.toStdString());
        const QString backup = Path(name == "Form1" ? "Form1.~" : "Form1.~dfm");
        WriteAll(backup, "an older backup");
        DocumentWindow* document = Open(name, Bytes(SmallForm));
        Type(document, QStringLiteral("{ edited }\r\n"));
        ASSERT_TRUE(document->Modified());
        document->SaveDocument();
        EXPECT_EQ(ReadAll(backup), Bytes(SmallForm));
        EXPECT_EQ(ReadAll(Path(name)), "{ edited }\r\n" + Bytes(SmallForm));
        EXPECT_FALSE(document->Modified());
        EXPECT_EQ(document->PanelText(2), QString());
    }
}

TEST_F(DocumentTest, SaveWritesTheEncodingTheFileCameIn) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    DocumentWindow* document = Open("Form1.dfm", binary);
    document->Editor()->setText(document->Editor()->text().replace("'Hello'", "'Hi'"));
    document->SaveDocument();
    QByteArray expected = Bytes(SmallForm);
    expected.replace("'Hello'", "'Hi'");
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Convert(expected, FormEncoding::Binary));
    EXPECT_EQ(ReadAll(Path("Form1.~dfm")), binary);
}

TEST_F(DocumentTest, SaveAsWritesACopyAndKeepsTheDocumentAsItWas) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    const struct {
        FormEncoding Type;
        QByteArray Start;
    } cases[] = {
        {FormEncoding::Text, "object Form1: TForm1\r\n"},
        {FormEncoding::Binary, "TPF0"},
        {FormEncoding::Resource, QByteArray("\xFF\x0A\x00", 3)},
    };
    DocumentWindow* document = Open("Form1.dfm", binary);
    document->Editor()->insertAt(QStringLiteral("1"), 1, 9);  // Left = 110
    const QByteArray edited = document->TextBytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(fw::FormEncodingName(c.Type));
        const QString copy = Path(QStringLiteral("copy-%1.dfm").arg(fw::FormEncodingName(c.Type)));
        messages_.SaveTypes = {c.Type};
        messages_.SavePaths = {copy};
        document->SaveDocumentAs();
        const QByteArray written = ReadAll(copy);
        EXPECT_TRUE(written.startsWith(c.Start));
        EXPECT_EQ(Convert(written, FormEncoding::Binary), Convert(edited, FormEncoding::Binary));
        EXPECT_FALSE(QFileInfo::exists(fw::BackupPath(copy)));

        EXPECT_EQ(document->FileName(), Path("Form1.dfm"));
        EXPECT_EQ(document->Encoding(), FormEncoding::Binary);
        EXPECT_EQ(document->windowTitle(), QStringLiteral("Form1.dfm"));
        EXPECT_TRUE(document->Modified());
        EXPECT_EQ(document->PanelText(2), QStringLiteral("Modified"));
    }
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), binary);
    // Each time the dialogs start at the document's own encoding, folder and name.
    EXPECT_EQ(messages_.SaveTypePreselections, std::vector<FormEncoding>(3, FormEncoding::Binary));
    EXPECT_EQ(messages_.SavePathProposals, QStringList(3, Path("Form1.dfm")));

    // A later Save still writes binary to the file the document came from.
    document->SaveDocument();
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Convert(edited, FormEncoding::Binary));
}

TEST_F(DocumentTest, SaveAsCancelledWritesNothing) {
    DocumentWindow* document = Open("Form1.dfm", Bytes(SmallForm));
    const QStringList before = Files();
    messages_.SaveTypes = {std::nullopt};
    document->SaveDocumentAs();
    EXPECT_EQ(messages_.SavePathQuestions, 0) << "no path is asked for after the type was cancelled";
    messages_.SaveTypes = {FormEncoding::Text};
    messages_.SavePaths = {QString()};
    document->SaveDocumentAs();
    EXPECT_EQ(Files(), before);
}

TEST_F(DocumentTest, UnnamedDocumentSaveRunsSaveAs) {
    DocumentWindow* document = NewDocument();
    document->LoadFromLines(Bytes(SmallForm));
    messages_.SaveTypes = {FormEncoding::Resource};
    messages_.SavePaths = {Path("new.dfm")};
    document->SaveDocument();
    EXPECT_EQ(ReadAll(Path("new.dfm")), Convert(Bytes(SmallForm), FormEncoding::Resource));
    EXPECT_TRUE(document->FileName().isEmpty());
    EXPECT_TRUE(document->Modified());
    // Without a file the caption proposes the name.
    EXPECT_EQ(messages_.SaveTypePreselections, std::vector<FormEncoding>{FormEncoding::Text});
    EXPECT_EQ(messages_.SavePathProposals, QStringList("Untitled.dfm"));
}

// A binary save whose text does not parse fails before the file is touched: the old
// file, no backup made, no temporary file left, the document still modified.
TEST_F(DocumentTest, FailedBinarySaveLeavesTheFileIntactAndNamesTheLine) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    for (FormEncoding encoding : {FormEncoding::Binary, FormEncoding::Resource}) {
        SCOPED_TRACE(fw::FormEncodingName(encoding));
        const QByteArray original = Convert(binary, encoding);
        DocumentWindow* document = Open("Form1.dfm", original);
        document->Editor()->insertAt(QStringLiteral("= "), 2, 9);  // "  Caption = = 'Hello'"
        const QStringList before = Files();
        try {
            document->SaveDocument();
            ADD_FAILURE() << "the save did not fail";
        } catch (const fw::EParserError& error) {
            EXPECT_EQ(error.Line(), 3);
            EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos) << error.what();
        }
        EXPECT_EQ(ReadAll(Path("Form1.dfm")), original);
        EXPECT_EQ(Files(), before);
        EXPECT_TRUE(document->Modified());
    }
}

TEST_F(DocumentTest, UnsavableCharacterStopsTheSave) {
    DocumentWindow* document = Open("Form1.dfm", Bytes(SmallForm));
    document->Editor()->insertAt(QStringLiteral("Ж"), 2, 13);
    try {
        document->SaveDocument();
        ADD_FAILURE() << "the save did not fail";
    } catch (const fw::Exception& error) {
        EXPECT_STREQ(error.what(), "Line 3: the character 'Ж' (U+0416) cannot be saved in code page 1252.");
    }
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Bytes(SmallForm));
    EXPECT_FALSE(QFileInfo::exists(Path("Form1.~dfm")));

    // The same document in a code page that holds the letter saves it.
    DocumentWindow* cyrillic = Open("Form2.dfm", Bytes(SmallForm), *fw::CodePage::Find(1251));
    cyrillic->Editor()->insertAt(QStringLiteral("Ж"), 2, 13);
    cyrillic->SaveDocument();
    EXPECT_TRUE(ReadAll(Path("Form2.dfm")).contains("Caption = '\xC6Hello'"));
}

TEST_F(DocumentTest, RunGuardedShowsTheErrorAndReportsFailure) {
    EXPECT_TRUE(fw::RunGuarded(messages_, [] {}));
    EXPECT_FALSE(fw::RunGuarded(messages_, [] { throw fw::EParserError("Bad on line 4", 4); }));
    EXPECT_FALSE(fw::RunGuarded(messages_, [] { throw std::runtime_error("plain"); }));
    EXPECT_EQ(messages_.Errors, QStringList({"Bad on line 4", "plain"}));
}

// ---- loads that fail ----

TEST_F(DocumentTest, UnconvertibleFileOpensEmptyWithItsErrorAndSaveAsksFirst) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    const struct {
        const char* Name;
        QByteArray Content;
        FormEncoding Encoding;
    } cases[] = {
        {"truncated.dfm", binary.left(binary.size() - 5), FormEncoding::Binary},
        {"lowercase.dfm", "tPf0 not a form", FormEncoding::Binary},
        {"header.dfm", QByteArray("\xFF\x0A\x00garbage", 10), FormEncoding::Resource},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        messages_.Errors.clear();
        DocumentWindow* document = Open(c.Name, c.Content);
        EXPECT_EQ(document->Encoding(), c.Encoding);
        EXPECT_TRUE(document->Editor()->text().isEmpty());
        EXPECT_FALSE(document->Modified());
        ASSERT_EQ(messages_.Errors.size(), 1);
        EXPECT_TRUE(messages_.Errors[0].startsWith("Cannot convert " + Path(c.Name) + ": "))
            << messages_.Errors[0].toStdString();
        EXPECT_EQ(document->LoadError(), messages_.Errors[0]);

        // Declined: the unreadable original stays.
        document->Editor()->setText(QString::fromLatin1(SmallForm.data(), SmallForm.size()));
        messages_.ConfirmAnswers = {false};
        document->SaveDocument();
        EXPECT_EQ(messages_.Confirms.size(), 1);
        EXPECT_TRUE(messages_.Confirms.last().contains(document->LoadError()));
        EXPECT_EQ(ReadAll(Path(c.Name)), c.Content);
        EXPECT_TRUE(document->Modified());

        // Accepted: written in the detected encoding, the original kept as the backup,
        // and the next save asks no more.
        messages_.ConfirmAnswers = {true};
        document->SaveDocument();
        EXPECT_EQ(ReadAll(Path(c.Name)), Convert(Bytes(SmallForm), c.Encoding));
        EXPECT_EQ(ReadAll(fw::BackupPath(Path(c.Name))), c.Content);
        EXPECT_TRUE(document->LoadError().isEmpty());
        document->SaveDocument();
        messages_.Confirms.clear();
    }
}

TEST_F(DocumentTest, MissingFileOpensEmptyWithItsError) {
    DocumentWindow* document = NewDocument();
    document->OpenDocumentFile(Path("missing.dfm"));
    ASSERT_EQ(messages_.Errors.size(), 1);
    EXPECT_TRUE(messages_.Errors[0].contains(Path("missing.dfm"))) << messages_.Errors[0].toStdString();
    EXPECT_EQ(document->LoadError(), messages_.Errors[0]);
    EXPECT_EQ(document->FileName(), Path("missing.dfm"));
    EXPECT_FALSE(document->Modified());
}

// ---- the close prompt ----

TEST_F(DocumentTest, ClosePromptYesWritesANamedDocumentWithoutBackup) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    QPointer<DocumentWindow> document = Open("Form1.dfm", binary);
    Type(document, QStringLiteral("  "), 1);
    const QByteArray edited = document->TextBytes();
    messages_.ChoiceAnswers = {Answer::Yes};
    EXPECT_TRUE(document->close());
    EXPECT_EQ(messages_.Confirms, QStringList("Save changes to file " + Path("Form1.dfm") + "?"));
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Convert(edited, FormEncoding::Binary));
    EXPECT_FALSE(QFileInfo::exists(Path("Form1.~dfm")));
    DeleteClosed();
    EXPECT_TRUE(document.isNull()) << "a closed document is destroyed";
}

TEST_F(DocumentTest, ClosePromptNoDiscardsAndUnmodifiedAsksNothing) {
    DocumentWindow* edited = Open("Form1.dfm", Bytes(SmallForm));
    Type(edited, QStringLiteral("x"));
    messages_.ChoiceAnswers = {Answer::No};
    EXPECT_TRUE(edited->close());
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Bytes(SmallForm));

    messages_.Confirms.clear();
    EXPECT_TRUE(Open("Form2.dfm", Bytes(SmallForm))->close());
    EXPECT_TRUE(messages_.Confirms.isEmpty());
}

TEST_F(DocumentTest, ClosePromptForAnUnnamedDocumentNamesItAndRunsSaveAs) {
    DocumentWindow* saved = NewDocument();
    saved->setWindowTitle(QStringLiteral("TFRAMEDEMO"));
    saved->LoadFromLines(Bytes(SmallForm));
    messages_.ChoiceAnswers = {Answer::Yes};
    messages_.SaveTypes = {FormEncoding::Binary};
    messages_.SavePaths = {Path("saved.dfm")};
    EXPECT_TRUE(saved->close());
    EXPECT_EQ(messages_.Confirms, QStringList("Save changes to the unnamed document TFRAMEDEMO?"));
    EXPECT_EQ(ReadAll(Path("saved.dfm")), Convert(Bytes(SmallForm), FormEncoding::Binary));
}

// Cancel anywhere on the way to a saved file keeps the document open with its text.
TEST_F(DocumentTest, ClosePromptCancelAnywhereKeepsTheDocumentOpen) {
    const struct {
        const char* what;
        Answer answer;
        std::deque<std::optional<FormEncoding>> types;
        std::deque<QString> paths;
    } cases[] = {
        {"Cancel in the prompt", Answer::Cancel, {}, {}},
        {"Yes, then Cancel in the save-type dialog", Answer::Yes, {std::nullopt}, {}},
        {"Yes, then Cancel in the file dialog", Answer::Yes, {FormEncoding::Text}, {QString()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QPointer<DocumentWindow> unnamed = NewDocument();
        unnamed->LoadFromLines(Bytes(SmallForm));
        const QByteArray text = unnamed->TextBytes();
        messages_.ChoiceAnswers = {c.answer};
        messages_.SaveTypes = c.types;
        messages_.SavePaths = c.paths;
        EXPECT_FALSE(unnamed->close());
        DeleteClosed();
        ASSERT_FALSE(unnamed.isNull());
        EXPECT_EQ(unnamed->TextBytes(), text);
        EXPECT_TRUE(unnamed->Modified());
    }
    // A named document's Cancel writes nothing and stays open as well.
    QPointer<DocumentWindow> named = Open("Form1.dfm", Bytes(SmallForm));
    Type(named, QStringLiteral("x"));
    messages_.ChoiceAnswers = {Answer::Cancel};
    EXPECT_FALSE(named->close());
    DeleteClosed();
    ASSERT_FALSE(named.isNull());
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Bytes(SmallForm));
}

TEST_F(DocumentTest, ClosePromptWriteErrorKeepsTheWindowOpen) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    QPointer<DocumentWindow> document = Open("Form1.dfm", binary);
    document->Editor()->insertAt(QStringLiteral("= "), 2, 9);
    messages_.ChoiceAnswers = {Answer::Yes};
    EXPECT_FALSE(document->close());
    ASSERT_EQ(messages_.Errors.size(), 1);
    EXPECT_TRUE(messages_.Errors[0].contains("line 3")) << messages_.Errors[0].toStdString();
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), binary);
    DeleteClosed();
    ASSERT_FALSE(document.isNull());
    EXPECT_TRUE(document->Modified());

    // An unsavable character in an unnamed document's Save As is kept open as well.
    DocumentWindow* unnamed = NewDocument();
    unnamed->LoadFromLines("object A: TA\r\nend\r\n");
    Type(unnamed, QStringLiteral("Ж"));
    messages_.ChoiceAnswers = {Answer::Yes};
    messages_.SaveTypes = {FormEncoding::Text};
    messages_.SavePaths = {Path("unnamed.dfm")};
    EXPECT_FALSE(unnamed->close());
    EXPECT_FALSE(QFileInfo::exists(Path("unnamed.dfm")));
}

TEST_F(DocumentTest, ClosePromptAsksBeforeReplacingAFileThatDidNotLoad) {
    const QByteArray corrupt("TPF0\x05junk", 9);
    DocumentWindow* document = Open("Form1.dfm", corrupt);
    Type(document, QString::fromLatin1(SmallForm.data(), SmallForm.size()));
    messages_.ChoiceAnswers = {Answer::Yes};
    messages_.ConfirmAnswers = {false};
    EXPECT_FALSE(document->close());
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), corrupt);
}

// ---- modified state ----

TEST_F(DocumentTest, ModifiedFollowsTheEditor) {
    DocumentWindow* document = Open("Form1.dfm", Bytes(SmallForm));
    std::vector<bool> changes;
    QObject::connect(document, &DocumentWindow::ModifiedChanged,
                     [&](bool modified) { changes.push_back(modified); });
    Type(document, QStringLiteral("x"));
    Type(document, QStringLiteral("y"));
    EXPECT_TRUE(document->Modified());
    EXPECT_EQ(document->PanelText(2), QStringLiteral("Modified"));
    EXPECT_TRUE(document->CanUndo());
    document->cmUndo();
    document->cmUndo();
    EXPECT_FALSE(document->Modified());
    EXPECT_EQ(document->PanelText(2), QString());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

TEST_F(DocumentTest, LoadFromLinesGivesAModifiedUnnamedDocument) {
    DocumentWindow* document = NewDocument();
    document->LoadFromLines(WithBreaks(SmallForm, "\n"));
    EXPECT_TRUE(document->Modified());
    EXPECT_EQ(document->PanelText(2), QStringLiteral("Modified"));
    EXPECT_TRUE(document->FileName().isEmpty());
    EXPECT_EQ(document->Encoding(), FormEncoding::Text);
    EXPECT_EQ(document->windowTitle(), QStringLiteral("Untitled"));
    EXPECT_EQ(document->TextBytes(), WithBreaks(SmallForm, "\n"));
    EXPECT_FALSE(document->CanUndo()) << "the text handed over is no undo step";
    // Text that was never saved stays modified after an edit is undone.
    Type(document, QStringLiteral("x"));
    document->cmUndo();
    EXPECT_TRUE(document->Modified());

    DocumentWindow* empty = NewDocument();
    empty->LoadFromLines({});
    EXPECT_FALSE(empty->Modified());
    EXPECT_TRUE(empty->TextBytes().isEmpty());
}

// ---- window, menus and commands ----

TEST_F(DocumentTest, NewWindowLayout) {
    DocumentWindow* document = NewDocument();
    const QStringList initial = {"Object count: 0", "Col: 1   Ln: 1   Cnt: ?  Sel: 0   Chr: 00 (00h)",
                                 "Modified", "Overwrite", ""};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(document->PanelText(i), initial[i]) << "panel " << i;

    // Activation refreshes the modified, insert and file-name panels.
    QMdiArea area;
    area.addSubWindow(document);
    area.show();
    document->show();
    area.setActiveSubWindow(document);
    EXPECT_TRUE(document->isMaximized());
    EXPECT_EQ(document->windowTitle(), QStringLiteral("Untitled"));
    EXPECT_EQ(document->PanelText(2), QString());
    EXPECT_EQ(document->PanelText(3), QStringLiteral("Insert"));

    EXPECT_EQ(document->Tree()->objectName(), QStringLiteral("Tree"));
    EXPECT_EQ(document->Tree()->headerItem()->text(0), QStringLiteral("Object name"));
    EXPECT_EQ(document->Tree()->headerItem()->text(1), QStringLiteral("Class Name"));
    ASSERT_EQ(document->TabSet()->count(), 2);
    EXPECT_EQ(document->TabSet()->tabText(0), QStringLiteral(" Source Editor "));
    EXPECT_EQ(document->TabSet()->tabText(1), QStringLiteral(" Form Preview "));
    EXPECT_EQ(document->Notebook()->widget(0)->objectName(), QStringLiteral("Source"));
    EXPECT_TRUE(document->Notebook()->widget(0)->isAncestorOf(document->Editor()));
    EXPECT_EQ(document->Notebook()->widget(1)->objectName(), QStringLiteral("Form"));
    EXPECT_EQ(document->TabSet()->currentIndex(), 0);
    EXPECT_EQ(document->Notebook()->currentIndex(), 0);

    QsciScintilla* editor = document->Editor();
    EXPECT_EQ(editor->objectName(), QStringLiteral("DFM"));
    EXPECT_TRUE(editor->isUtf8());
    EXPECT_EQ(editor->marginType(0), QsciScintilla::NumberMargin);
    EXPECT_GT(editor->marginWidth(0), 0);
    EXPECT_EQ(editor->lexer()->defaultFont(0).pointSize(), 10);
    EXPECT_TRUE(QFontInfo(editor->lexer()->defaultFont(0)).fixedPitch());

    // The gutter widens when the line numbers get more digits.
    const int narrow = editor->marginWidth(0);
    document->LoadFromLines(QByteArray(100000, '\n'));
    EXPECT_GT(editor->marginWidth(0), narrow);
}

std::vector<std::pair<QString, QString>> MenuItems(QMenu* menu) {
    std::vector<std::pair<QString, QString>> items;
    for (QAction* action : menu->actions())
        items.emplace_back(action->isSeparator() ? QStringLiteral("-") : action->text(),
                           action->shortcut().toString(QKeySequence::PortableText));
    return items;
}

TEST_F(DocumentTest, MenusHoldTheDocumentCommands) {
    DocumentWindow* document = NewDocument();
    EXPECT_EQ(document->EditMenu()->title(), QStringLiteral("&Edit"));
    EXPECT_EQ(document->DataMenu()->title(), QStringLiteral("&Data"));
    using Items = std::vector<std::pair<QString, QString>>;
    EXPECT_EQ(MenuItems(document->EditMenu()), (Items{{"&Undo", "Alt+Backspace"},
                                                      {"-", ""},
                                                      {"Copy", ""},
                                                      {"Cut", ""},
                                                      {"Paste", ""},
                                                      {"-", ""},
                                                      {"&Find and Replace...", "Ctrl+F"},
                                                      {"Find &next", "F3"},
                                                      {"-", ""},
                                                      {"&Goto source", "Ctrl+Return"},
                                                      {"Go to &line...", "Ctrl+L"},
                                                      {"Show &decoded string", "Ctrl+Shift+D"},
                                                      {"-", ""},
                                                      {"Full e&xpand", "Ctrl+PgDown"},
                                                      {"Full &collapse", "Ctrl+PgUp"},
                                                      {"-", ""},
                                                      {"Reopen with code page...", ""},
                                                      {"Save with code page...", ""}}));
    EXPECT_EQ(MenuItems(document->DataMenu()), (Items{{"&Form Preview", "F12"},
                                                      {"&Rescan objects", "Ctrl+R"},
                                                      {"-", ""},
                                                      {"Save Form Image...", ""},
                                                      {"Load and Paste Data...", ""}}));
}

QAction* ActionWithShortcut(DocumentWindow* document, const QKeySequence& key) {
    for (QMenu* menu : {document->EditMenu(), document->DataMenu()})
        for (QAction* action : menu->actions())
            if (action->shortcuts().contains(key)) return action;
    return nullptr;
}

// With two documents open, a shortcut reaches the document whose menus the main window
// shows, and the editor keeps none of these keys for itself.
TEST_F(DocumentTest, ShortcutsReachOnlyTheActiveDocument) {
    QMainWindow main;
    main.menuBar();  // created before the window is shown, as a main window does
    auto* area = new QMdiArea;
    main.setCentralWidget(area);
    DocumentWindow* first = NewDocument();
    DocumentWindow* second = NewDocument();
    area->addSubWindow(first);
    area->addSubWindow(second);
    first->show();
    second->show();
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

    auto showMenusOf = [&](DocumentWindow* document) {
        main.menuBar()->clear();
        main.menuBar()->addMenu(document->EditMenu());
        main.menuBar()->addMenu(document->DataMenu());
        area->setActiveSubWindow(document);
        document->Editor()->setFocus();
    };
    const std::vector<QKeySequence> keys = {
        QKeySequence(Qt::CTRL | Qt::Key_R),        QKeySequence(Qt::Key_F12),
        QKeySequence(Qt::CTRL | Qt::Key_F),        QKeySequence(Qt::Key_F3),
        QKeySequence(Qt::CTRL | Qt::Key_Return),   QKeySequence(Qt::CTRL | Qt::Key_Enter),
        QKeySequence(Qt::CTRL | Qt::Key_PageDown), QKeySequence(Qt::CTRL | Qt::Key_PageUp),
        QKeySequence(Qt::CTRL | Qt::Key_L)};
    messages_.LineNumbers = {std::nullopt, std::nullopt};  // Go to line, cancelled
    for (DocumentWindow* active : {second, first}) {
        showMenusOf(active);
        for (const QKeySequence& key : keys) {
            SCOPED_TRACE(key.toString().toStdString());
            std::map<DocumentWindow*, int> fired;
            std::vector<QMetaObject::Connection> connections;
            for (DocumentWindow* document : {first, second}) {
                QAction* action = ActionWithShortcut(document, key);
                ASSERT_NE(action, nullptr);
                connections.push_back(
                    QObject::connect(action, &QAction::triggered, [&fired, document] { ++fired[document]; }));
            }
            QTest::keyClick(main.focusWidget() ? main.focusWidget() : &main, key[0].key(),
                            key[0].keyboardModifiers());
            EXPECT_EQ(fired[active], 1);
            EXPECT_EQ(fired[active == first ? second : first], 0);
            for (const auto& connection : connections)
                QObject::disconnect(connection);
        }
    }
    main.menuBar()->clear();
}

TEST_F(DocumentTest, ClipboardAndUndoCommands) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    DocumentWindow* document = NewDocument();
    document->LoadFromLines("object A: TA\r\nend\r\n");
    QsciScintilla* editor = document->Editor();

    EXPECT_FALSE(document->HasSelection());
    editor->setSelection(0, 7, 0, 8);  // "A"
    EXPECT_TRUE(document->HasSelection());
    document->cmCopy();
    EXPECT_EQ(clipboard->text(), QStringLiteral("A"));
    document->cmCut();
    EXPECT_EQ(document->TextBytes(), QByteArray("object : TA\r\nend\r\n"));
    EXPECT_TRUE(document->CanUndo());
    document->cmUndo();
    EXPECT_EQ(document->TextBytes(), QByteArray("object A: TA\r\nend\r\n"));

    clipboard->setText(QStringLiteral("Form1"));
    EXPECT_TRUE(document->CanPaste());
    editor->setSelection(0, 7, 0, 8);
    document->cmPaste();
    EXPECT_EQ(document->TextBytes(), QByteArray("object Form1: TA\r\nend\r\n"));

    clipboard->clear();
    EXPECT_FALSE(document->CanPaste());
    clipboard->setText(QStringLiteral("x"));
    editor->setReadOnly(true);
    EXPECT_FALSE(document->CanPaste());
    EXPECT_FALSE(document->CanUndo());
    editor->setSelection(0, 7, 0, 12);
    document->cmCut();
    EXPECT_EQ(document->TextBytes(), QByteArray("object Form1: TA\r\nend\r\n"));
}

// ---- real files ----

// Every form of the corpus opens and saves back unchanged: text files byte for byte
// through the editor, binary ones to exactly what the converters give for their text.
TEST_F(DocumentTest, CorpusFormsSaveBackUnchanged) {
    const QDir forms(QStringLiteral(FW_CORPUS_DIR "/forms"));
    if (!forms.exists()) GTEST_SKIP() << "corpus not found at " FW_CORPUS_DIR "/forms";
    int files = 0, identical = 0;
    for (const QString folder : {QStringLiteral("text"), QStringLiteral("binary"), QStringLiteral("lfm")}) {
        const QDir dir(forms.filePath(folder));
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            SCOPED_TRACE((folder + "/" + name).toStdString());
            const QByteArray original = ReadAll(dir.filePath(name));
            messages_.Errors.clear();
            DocumentWindow* document = Open(QStringLiteral("form.dfm"), original);
            if (!document->LoadError().isEmpty()) {
                // A damaged binary file the codec rejects as well.
                EXPECT_THROW(Convert(original, FormEncoding::Text), fw::Exception);
                delete document;
                continue;
            }
            document->SaveDocument();
            const QByteArray saved = ReadAll(Path(QStringLiteral("form.dfm")));
            if (document->Encoding() == FormEncoding::Text) {
                EXPECT_EQ(saved, original);
            } else {
                // Through the code page the document chose, as a form may declare its own.
                const fw::CodePage& codePage = document->TextCodePage();
                EXPECT_EQ(saved, Convert(Convert(original, FormEncoding::Text, codePage), document->Encoding(),
                                         codePage));
            }
            identical += saved == original;
            ++files;
            delete document;
        }
    }
    EXPECT_GT(files, 500);
    std::cout << "[ corpus   ] " << identical << " of " << files << " forms saved back byte for byte\n";
}

}  // namespace

// The decoded-string command shows the characters a string's #codes stand for and
// leaves the text as it is.
TEST_F(DocumentTest, ShowDecodedStringLeavesTheTextAlone) {
    DocumentWindow* document =
        Open("codes.dfm", Bytes("object Form1: TForm1\r\n  Caption = #12510#12473#12479\r\n  Left = 1\r\nend\r\n"));
    const QString before = document->Editor()->text();
    document->Editor()->setCursorPosition(1, 4);
    EXPECT_EQ(document->DecodedStringAtCaret(), QStringLiteral("'マスタ'"));
    document->cmShowDecodedString();
    EXPECT_EQ(document->Editor()->text(), before);
    EXPECT_FALSE(document->Modified());
    document->Editor()->setCursorPosition(2, 4);
    EXPECT_TRUE(document->DecodedStringAtCaret().isNull());
}
