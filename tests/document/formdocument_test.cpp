// The document model without any widget: loading each encoding and saving it back
// unchanged, the code page a document reads its 8-bit text in and the question before
// a binary save in a doubtful one, saves that fail and leave the file and the modified
// state alone, and loads that fail.

#include "document/formdocument.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "documenttestsupport.h"
#include "formfixtures.h"

namespace {

using fw::FormDocument;
using fw::FormEncoding;
using fw::LineBreak;
using fw::test::Bytes;
using fw::test::Convert;
using fw::test::ReadAll;
using fw::test::RecordingMessages;
using fw::test::SmallForm;
using fw::test::WriteAll;

std::string Utf8(const QString& text) {
    return text.toStdString();
}

class FormDocumentTest : public ::testing::Test {
protected:
    // A document with the text store it reads and writes.
    struct Open {
        fw::StringTextBuffer Buffer;
        std::unique_ptr<FormDocument> Document;
        // An edit: the text as given, in place of what was there.
        void Edit(std::string_view text) { Buffer.SetText(text); }
    };

    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    Open& NewDocument(const fw::CodePage& codePage = fw::CodePage::Default()) {
        auto open = std::make_unique<Open>();
        open->Document = std::make_unique<FormDocument>(messages_, codePage, open->Buffer);
        opened_.push_back(std::move(open));
        return *opened_.back();
    }
    Open& Load(const QString& name, const QByteArray& bytes,
               const fw::CodePage& codePage = fw::CodePage::Default()) {
        WriteAll(Path(name), bytes);
        Open& open = NewDocument(codePage);
        open.Document->Load(Path(name));
        return open;
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    // Names of the files in the test folder, to see that a failed save left nothing behind.
    QStringList Files() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir dir_;
    RecordingMessages messages_;
    std::deque<std::unique_ptr<Open>> opened_;
};

// ---- loading and saving unchanged ----

TEST_F(FormDocumentTest, UnchangedSaveIsByteIdenticalInEveryEncoding) {
    for (const fw::test::OpenCase& c : fw::test::OpenCases()) {
        SCOPED_TRACE(c.Name);
        Open& open = Load(c.Name, c.Content);
        FormDocument& document = *open.Document;
        EXPECT_EQ(document.Encoding(), c.Encoding);
        EXPECT_EQ(document.FileName(), Path(c.Name));
        EXPECT_FALSE(document.Modified());
        EXPECT_TRUE(document.LoadError().isEmpty()) << document.LoadError().toStdString();
        EXPECT_EQ(document.LineBreaks(), c.Breaks);

        EXPECT_TRUE(document.Save());
        EXPECT_EQ(ReadAll(Path(c.Name)), c.Content);
        EXPECT_EQ(ReadAll(fw::BackupPath(Path(c.Name))), c.Content);
        EXPECT_FALSE(document.Modified());
    }
    EXPECT_TRUE(messages_.Errors.isEmpty()) << messages_.Errors.join('\n').toStdString();
}

TEST_F(FormDocumentTest, TextIsDecoded) {
    QByteArray ansi = Bytes(SmallForm);
    ansi.replace("'Hello'",
                 "'Gr\xFC\xDF"
                 "e'");
    EXPECT_NE(Load("ansi.dfm", ansi).Document->Text().find("Caption = 'Grüße'"), std::string_view::npos);

    QByteArray cyrillic = Bytes(SmallForm);
    cyrillic.replace("'Hello'", "'\xCF\xF0\xE8\xE2\xE5\xF2'");
    EXPECT_NE(
        Load("cp1251.dfm", cyrillic, *fw::CodePage::Find(1251)).Document->Text().find("Caption = 'Привет'"),
        std::string_view::npos);

    // The byte-order mark is not part of the text, for a UTF-8 file and for the UTF-8 a
    // binary form with non-ASCII names converts to.
    const QByteArray utf8 = Bytes(fw::test::Utf8Form);
    for (const QByteArray& bytes : {utf8, Convert(utf8, FormEncoding::Binary)}) {
        const std::string_view shown = Load("utf8.dfm", bytes).Document->Text();
        EXPECT_TRUE(shown.starts_with("object Форма1: TForm1")) << shown;
    }
}

// A document reads its 8-bit text through the code page chosen for it, else the one its
// Charset values declare, else the preference.
TEST_F(FormDocumentTest, CodePageIsChosenThenDeclaredThenThePreference) {
    const QByteArray gbk = fw::test::GbkForm();
    FormDocument* document = Load("gbk.dfm", gbk).Document.get();
    EXPECT_NE(document->Text().find("Caption = '中文'"), std::string_view::npos);
    EXPECT_EQ(document->CodePageText(), QStringLiteral("CP 936 (declared)"));
    EXPECT_EQ(document->TextBytes(), gbk);
    // A binary form declares its page through the same values.
    EXPECT_EQ(Load("gbk.dfm", Convert(gbk, FormEncoding::Binary)).Document->CodePageText(),
              QStringLiteral("CP 936 (declared)"));

    // A modified document asks before it reads the file again; No keeps it as it is.
    Open& edited = Load("gbk.dfm", gbk);
    document = edited.Document.get();
    edited.Edit("{x}" + std::string(document->Text()));
    ASSERT_TRUE(document->Modified());
    messages_.ConfirmAnswers = {false};
    EXPECT_FALSE(document->ReopenWithCodePage(fw::CodePage::Default()));
    EXPECT_EQ(document->Text().substr(0, 3), "{x}");
    messages_.ConfirmAnswers = {true};
    EXPECT_TRUE(document->ReopenWithCodePage(fw::CodePage::Default()));
    EXPECT_NE(document->Text().find(Utf8(QStringLiteral("Caption = 'ÖÐÎÄ'"))), std::string_view::npos);
    EXPECT_EQ(document->CodePageText(), QStringLiteral("CP 1252 (option)"));
    EXPECT_FALSE(document->Modified());

    QByteArray undeclared = gbk;
    undeclared.replace("  Font.Charset = GB2312_CHARSET\r\n", "");
    document = Load("plain.dfm", undeclared, *fw::CodePage::Find(936)).Document.get();
    EXPECT_NE(document->Text().find("Caption = '中文'"), std::string_view::npos);
    EXPECT_EQ(document->CodePageText(), QStringLiteral("CP 936 (default)"));
}

// Save with code page writes the text encoded in that page, which the document keeps;
// a character the page lacks stops it before anything is written.
TEST_F(FormDocumentTest, SaveWithCodePageEncodesOrRefuses) {
    const QByteArray gbk = fw::test::GbkForm();
    Open& open = Load("gbk.dfm", gbk);
    FormDocument& document = *open.Document;
    const std::string loaded(document.Text());
    open.Edit("{ก}" + loaded);
    EXPECT_FALSE(document.SaveWithCodePage(*fw::CodePage::Find(950)));
    ASSERT_EQ(messages_.Errors.size(), 1);
    EXPECT_TRUE(messages_.Errors.first().contains(QStringLiteral("code page 950")))
        << messages_.Errors.first().toStdString();
    EXPECT_EQ(ReadAll(Path("gbk.dfm")), gbk);
    EXPECT_EQ(document.CodePageText(), QStringLiteral("CP 936 (declared)"));

    open.Edit(loaded);
    EXPECT_TRUE(document.SaveWithCodePage(*fw::CodePage::Find(950)));
    QByteArray big5 = gbk;
    big5.replace("\xD6\xD0\xCE\xC4", "\xA4\xA4\xA4\xE5");
    EXPECT_EQ(ReadAll(Path("gbk.dfm")), big5);
    EXPECT_EQ(document.CodePageText(), QStringLiteral("CP 950 (option)"));
    EXPECT_FALSE(document.Modified());
}

// 8-bit text that may be in another code page than the document's is not made into a
// binary form without asking: its strings would be stored as the wrong characters.
TEST_F(FormDocumentTest, BinarySavesAskWhenTheCodePageMayBeWrong) {
    const QByteArray gbk = fw::test::GbkForm();
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
        FormDocument& document = *Load("cp.dfm", c.Text).Document;
        if (c.Forced) ASSERT_TRUE(document.ReopenWithCodePage(*c.Forced));
        const QString binary = Path("cp.bin");
        QFile::remove(binary);
        messages_.Confirms.clear();
        if (c.Doubt == nullptr) {
            EXPECT_TRUE(document.WriteEncoded(binary, FormEncoding::Binary));
            EXPECT_TRUE(messages_.Confirms.isEmpty());
            continue;
        }
        messages_.ConfirmAnswers = {false};
        EXPECT_FALSE(document.WriteEncoded(binary, FormEncoding::Binary));
        EXPECT_FALSE(QFile::exists(binary));
        ASSERT_EQ(messages_.Confirms.size(), 1);
        EXPECT_TRUE(messages_.Confirms.first().contains(QString::fromLatin1(c.Doubt)))
            << messages_.Confirms.first().toStdString();
        // Text keeps every byte either way: no question for it.
        EXPECT_TRUE(document.WriteEncoded(Path("cp.txt"), FormEncoding::Text));
        messages_.ConfirmAnswers = {true};
        EXPECT_TRUE(document.WriteEncoded(binary, FormEncoding::Resource));
        EXPECT_TRUE(QFile::exists(binary));
    }
}

// ---- signals ----

// A load names the document and replaces the text; an edit changes the text, and the
// modified state as it leaves and comes back to the save point.
TEST_F(FormDocumentTest, SignalsFollowLoadsAndEdits) {
    WriteAll(Path("Form1.dfm"), Bytes(SmallForm));
    Open& open = NewDocument();
    FormDocument& document = *open.Document;
    QStringList names;
    int texts = 0;
    int loads = 0;
    std::vector<bool> modified;
    QObject::connect(&document, &FormDocument::FileNameChanged, [&](const QString& name) { names << name; });
    QObject::connect(&document, &FormDocument::TextChanged, [&] { ++texts; });
    QObject::connect(&document, &FormDocument::Loaded, [&] { ++loads; });
    QObject::connect(&document, &FormDocument::ModifiedChanged, [&](bool now) { modified.push_back(now); });

    document.Load(Path("Form1.dfm"));
    EXPECT_EQ(names, QStringList(Path("Form1.dfm")));
    EXPECT_EQ(texts, 1);
    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(modified.empty());

    const std::string loaded(document.Text());
    open.Edit("x" + loaded);
    open.Edit("xy" + loaded);
    EXPECT_EQ(texts, 3);
    EXPECT_EQ(modified, std::vector<bool>{true});
    open.Edit(loaded);
    EXPECT_EQ(modified, (std::vector<bool>{true, false}));

    open.Edit("z" + loaded);
    EXPECT_TRUE(document.Save());
    EXPECT_EQ(modified, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(loads, 1);
}

// ---- saving ----

TEST_F(FormDocumentTest, SaveWritesTheEncodingTheFileCameIn) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    Open& open = Load("Form1.dfm", binary);
    QByteArray expected = Bytes(SmallForm);
    expected.replace("'Hello'", "'Hi'");
    open.Edit({expected.constData(), static_cast<std::size_t>(expected.size())});
    EXPECT_TRUE(open.Document->Modified());
    EXPECT_TRUE(open.Document->Save());
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Convert(expected, FormEncoding::Binary));
    EXPECT_EQ(ReadAll(Path("Form1.~dfm")), binary);
    EXPECT_FALSE(open.Document->Modified());
}

TEST_F(FormDocumentTest, SaveAsCancelledWritesNothing) {
    FormDocument& document = *Load("Form1.dfm", Bytes(SmallForm)).Document;
    const QStringList before = Files();
    messages_.SaveTypes = {std::nullopt};
    EXPECT_FALSE(document.SaveAs());
    EXPECT_EQ(messages_.SavePathQuestions, 0) << "no path is asked for after the type was cancelled";
    messages_.SaveTypes = {FormEncoding::Text};
    messages_.SavePaths = {QString()};
    EXPECT_FALSE(document.SaveAs());
    EXPECT_EQ(Files(), before);
}

// Text handed over has never been saved: it counts as modified, also after a Save As,
// and Save As proposes the caption as the name.
TEST_F(FormDocumentTest, HandedOverTextStaysModifiedUntilSaved) {
    Open& open = NewDocument();
    FormDocument& document = *open.Document;
    document.SetCaption(QStringLiteral("TFRAMEDEMO"));
    document.LoadText(Bytes(SmallForm));
    EXPECT_TRUE(document.Modified());
    EXPECT_EQ(document.SaveChangesQuestion(),
              QStringLiteral("Save changes to the unnamed document TFRAMEDEMO?"));
    messages_.SaveTypes = {FormEncoding::Resource};
    messages_.SavePaths = {Path("new.dfm")};
    EXPECT_TRUE(document.Save());
    EXPECT_EQ(ReadAll(Path("new.dfm")), Convert(Bytes(SmallForm), FormEncoding::Resource));
    EXPECT_TRUE(document.FileName().isEmpty());
    EXPECT_TRUE(document.Modified());
    EXPECT_EQ(messages_.SavePathProposals, QStringList("TFRAMEDEMO.dfm"));
}

// A binary save whose text does not parse fails before the file is touched: the old
// file, no backup made, no temporary file left, the document still modified.
TEST_F(FormDocumentTest, FailedBinarySaveLeavesTheFileIntactAndNamesTheLine) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    for (FormEncoding encoding : {FormEncoding::Binary, FormEncoding::Resource}) {
        SCOPED_TRACE(fw::FormEncodingName(encoding));
        const QByteArray original = Convert(binary, encoding);
        Open& open = Load("Form1.dfm", original);
        std::string text(open.Document->Text());
        text.replace(text.find("Caption = "), 10, "Caption = = ");
        open.Edit(text);
        const QStringList before = Files();
        try {
            open.Document->Save();
            ADD_FAILURE() << "the save did not fail";
        } catch (const fw::EParserError& error) {
            EXPECT_EQ(error.Line(), 3);
            EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos) << error.what();
        }
        EXPECT_EQ(ReadAll(Path("Form1.dfm")), original);
        EXPECT_EQ(Files(), before);
        EXPECT_TRUE(open.Document->Modified());
    }
}

TEST_F(FormDocumentTest, UnsavableCharacterStopsTheSave) {
    QByteArray edited = Bytes(SmallForm);
    edited.replace("'Hello'", "'ЖHello'");
    const std::string_view editedText(edited.constData(), static_cast<std::size_t>(edited.size()));

    Open& open = Load("Form1.dfm", Bytes(SmallForm));
    open.Edit(editedText);
    try {
        open.Document->Save();
        ADD_FAILURE() << "the save did not fail";
    } catch (const fw::Exception& error) {
        EXPECT_STREQ(error.what(), "Line 3: the character 'Ж' (U+0416) cannot be saved in code page 1252.");
    }
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Bytes(SmallForm));
    EXPECT_FALSE(QFileInfo::exists(Path("Form1.~dfm")));
    EXPECT_TRUE(open.Document->Modified());

    // The same document in a code page that holds the letter saves it.
    Open& cyrillic = Load("Form2.dfm", Bytes(SmallForm), *fw::CodePage::Find(1251));
    cyrillic.Edit(editedText);
    EXPECT_TRUE(cyrillic.Document->Save());
    EXPECT_TRUE(ReadAll(Path("Form2.dfm")).contains("Caption = '\xC6Hello'"));
}

// ---- loads that fail ----

TEST_F(FormDocumentTest, UnconvertibleFileLoadsEmptyWithItsErrorAndSaveAsksFirst) {
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
        Open& open = Load(c.Name, c.Content);
        FormDocument& document = *open.Document;
        EXPECT_EQ(document.Encoding(), c.Encoding);
        EXPECT_TRUE(document.Text().empty());
        EXPECT_FALSE(document.Modified());
        ASSERT_EQ(messages_.Errors.size(), 1);
        EXPECT_TRUE(messages_.Errors[0].startsWith("Cannot convert " + Path(c.Name) + ": "))
            << messages_.Errors[0].toStdString();
        EXPECT_EQ(document.LoadError(), messages_.Errors[0]);

        // Declined: the unreadable original stays.
        open.Edit(SmallForm);
        messages_.ConfirmAnswers = {false};
        EXPECT_FALSE(document.Save());
        EXPECT_EQ(messages_.Confirms.size(), 1);
        EXPECT_TRUE(messages_.Confirms.last().contains(document.LoadError()));
        EXPECT_EQ(ReadAll(Path(c.Name)), c.Content);
        EXPECT_TRUE(document.Modified());

        // Accepted: written in the detected encoding, the original kept as the backup,
        // and the next save asks no more.
        messages_.ConfirmAnswers = {true};
        EXPECT_TRUE(document.Save());
        EXPECT_EQ(ReadAll(Path(c.Name)), Convert(Bytes(SmallForm), c.Encoding));
        EXPECT_EQ(ReadAll(fw::BackupPath(Path(c.Name))), c.Content);
        EXPECT_TRUE(document.LoadError().isEmpty());
        EXPECT_TRUE(document.Save());
        messages_.Confirms.clear();
    }
}

TEST_F(FormDocumentTest, MissingFileLoadsEmptyWithItsError) {
    FormDocument& document = *NewDocument().Document;
    document.Load(Path("missing.dfm"));
    ASSERT_EQ(messages_.Errors.size(), 1);
    EXPECT_TRUE(messages_.Errors[0].contains(Path("missing.dfm"))) << messages_.Errors[0].toStdString();
    EXPECT_EQ(document.LoadError(), messages_.Errors[0]);
    EXPECT_EQ(document.FileName(), Path("missing.dfm"));
    EXPECT_FALSE(document.Modified());
}

}  // namespace
