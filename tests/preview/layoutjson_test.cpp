// The layout the render command writes beside its picture: every object of the form
// once, in the order of the text, with how it was drawn and where it ended up in the
// form's client area; and the command's handling of --layout.

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "preview/realizer.h"
#include "preview/render.h"
#include "preview/virtualdesktop.h"
#include "runtime/formbuild.h"

namespace {

using fw::preview::LayoutEntry;
using fw::preview::LayoutKind;

// A panel aligned to the client area below a page control aligned to the top, with a
// button inside the panel; a hidden label; a control on the inactive sheet; a timer;
// and an object of a class the runtime does not know holding a button.
constexpr const char* MixedForm = R"(object LayoutForm: TLayoutForm
  Left = 0
  Top = 0
  Caption = 'Layout'
  ClientHeight = 300
  ClientWidth = 400
  object Pages: TPageControl
    Left = 0
    Top = 0
    Width = 400
    Height = 120
    ActivePage = FirstSheet
    Align = alTop
    TabOrder = 0
    object FirstSheet: TTabSheet
      Caption = 'First'
      object FirstEdit: TEdit
        Left = 8
        Top = 8
        Width = 121
        Height = 21
        TabOrder = 0
      end
    end
    object SecondSheet: TTabSheet
      Caption = 'Second'
      object SecondEdit: TEdit
        Left = 8
        Top = 8
        Width = 121
        Height = 21
        TabOrder = 0
      end
    end
  end
  object Body: TPanel
    Left = 0
    Top = 120
    Width = 185
    Height = 41
    Align = alClient
    TabOrder = 1
    object Go: TButton
      Left = 10
      Top = 20
      Width = 75
      Height = 25
      Caption = 'Go'
      TabOrder = 0
    end
  end
  object Quiet: TLabel
    Left = 300
    Top = 4
    Width = 30
    Height = 13
    AutoSize = False
    Caption = 'Quiet'
    Visible = False
  end
  object Gadget: TQzxGadgetBox
    Left = 200
    Top = 130
    Width = 150
    Height = 100
    TabOrder = 2
    object Inner: TButton
      Left = 5
      Top = 6
      Width = 60
      Height = 25
      Caption = 'Inner'
      TabOrder = 0
    end
  end
  object Blob: TQzxBlob
    Left = 360
    Top = 130
    Width = 40
    Height = 40
  end
  object Ticker: TTimer
    Left = 360
    Top = 8
  end
end
)";

std::vector<LayoutEntry> LayoutOf(fw::preview::VirtualDesktop& desktop, const std::string& text) {
    desktop.resize(1280, 1024);
    desktop.BuildPreview(text, fw::CodePage::Default());
    QApplication::processEvents();
    return fw::preview::PreviewLayout(desktop);
}

TEST(PreviewLayout, ListsEveryObjectOnceWithHowItIsDrawn) {
    fw::preview::PreviewContext context;
    fw::preview::VirtualDesktop desktop(context);
    const std::vector<LayoutEntry> layout = LayoutOf(desktop, MixedForm);
    struct Expected {
        const char* Name;
        const char* Class;
        LayoutKind Kind;
        const char* DrawnAs;
    };
    const Expected expected[] = {
        {"LayoutForm", "TLayoutForm", LayoutKind::Native, "TForm"},
        {"Pages", "TPageControl", LayoutKind::Native, "TPageControl"},
        {"FirstSheet", "TTabSheet", LayoutKind::Native, "TTabSheet"},
        {"FirstEdit", "TEdit", LayoutKind::Native, "TEdit"},
        {"SecondSheet", "TTabSheet", LayoutKind::Hidden, "TTabSheet"},
        {"SecondEdit", "TEdit", LayoutKind::Hidden, "TEdit"},
        {"Body", "TPanel", LayoutKind::Native, "TPanel"},
        {"Go", "TButton", LayoutKind::Native, "TButton"},
        {"Quiet", "TLabel", LayoutKind::Hidden, "TLabel"},
        {"Gadget", "TQzxGadgetBox", LayoutKind::Lookalike, "TPanel"},  // it holds controls
        {"Inner", "TButton", LayoutKind::Native, "TButton"},
        {"Blob", "TQzxBlob", LayoutKind::Placeholder, ""},  // nothing tells what it looks like
        {"Ticker", "TTimer", LayoutKind::NonVisual, ""},
    };
    ASSERT_EQ(layout.size(), std::size(expected));
    for (std::size_t i = 0; i < layout.size(); ++i) {
        SCOPED_TRACE(expected[i].Name);
        EXPECT_EQ(layout[i].Name, expected[i].Name);
        EXPECT_EQ(layout[i].ClassName, expected[i].Class);
        EXPECT_EQ(fw::preview::LayoutKindName(layout[i].Kind), fw::preview::LayoutKindName(expected[i].Kind));
        EXPECT_EQ(layout[i].DrawnAs, expected[i].DrawnAs);
    }
}

TEST(PreviewLayout, GivesWhereControlsEndedUpInClientCoordinates) {
    fw::preview::PreviewContext context;
    fw::preview::VirtualDesktop desktop(context);
    const std::vector<LayoutEntry> layout = LayoutOf(desktop, MixedForm);
    auto bounds = [&](std::string_view name) {
        for (const LayoutEntry& e : layout)
            if (e.Name == name) return e.Bounds;
        ADD_FAILURE() << "no " << name;
        return QRect();
    };
    EXPECT_EQ(bounds("LayoutForm"), QRect(0, 0, 400, 300));
    EXPECT_EQ(bounds("Pages"), QRect(0, 0, 400, 120));
    // Aligned to the client area below the pages: the stored 185 x 41 is not where it is.
    EXPECT_EQ(bounds("Body"), QRect(0, 120, 400, 180));
    EXPECT_EQ(bounds("Go"), QRect(10, 140, 75, 25));
    // Hidden controls keep their geometry.
    EXPECT_EQ(bounds("Quiet"), QRect(300, 4, 30, 13));
    EXPECT_EQ(bounds("SecondSheet"), bounds("FirstSheet"));
    EXPECT_EQ(bounds("SecondEdit").topLeft(), bounds("FirstEdit").topLeft());
    EXPECT_EQ(bounds("Inner"), QRect(205, 136, 60, 25));
    // A non-visual component: its designer position, no size.
    EXPECT_EQ(bounds("Ticker"), QRect(360, 8, 0, 0));
}

// Controls past the preview's nesting limit are not realised; they are listed all the
// same, where the runtime's layout put them inside their parents, and hidden below a
// hidden one.
TEST(PreviewLayout, ListsControlsThePreviewLeftOut) {
    constexpr int Depth = fw::preview::MaxPreviewNesting + 4;
    std::string text = "object Deep: TForm\n  ClientWidth = 400\n  ClientHeight = 300\n";
    for (int i = 0; i < Depth; ++i) {
        text += "object P" + std::to_string(i) + ": TPanel\nLeft = 1\nTop = 2\nWidth = 300\nHeight = 200\n";
        text += "BevelOuter = bvNone\n";
        if (i == Depth - 2) text += "Visible = False\n";
    }
    for (int i = 0; i <= Depth; ++i)
        text += "end\n";
    fw::preview::PreviewContext context;
    fw::preview::VirtualDesktop desktop(context);
    const std::vector<LayoutEntry> layout = LayoutOf(desktop, text);
    ASSERT_EQ(layout.size(), static_cast<std::size_t>(Depth) + 1);
    const fw::rt::Object* deepest = desktop.ReadObjects().back().Live;
    ASSERT_NE(deepest, nullptr);
    ASSERT_EQ(desktop.Realizer()->PlaceOf(*deepest).Parent, nullptr) << "the deepest panel was realised";
    for (int i = 1; i <= Depth; ++i) {
        SCOPED_TRACE(i);
        const LayoutEntry& e = layout[static_cast<std::size_t>(i)];
        EXPECT_EQ(e.Bounds, QRect(i, 2 * i, 300, 200));
        EXPECT_EQ(fw::preview::LayoutKindName(e.Kind), i >= Depth - 1 ? "hidden" : "native");
    }
}

TEST(PreviewLayout, JsonIsValidAndKeepsNamesAndMessagesAsTheyAre) {
    const std::vector<LayoutEntry> objects = {
        {"Form\"1\\", "TForm1", "TForm", LayoutKind::Native, QRect(0, 0, 10, 20)},
        {"Grüße", "TΩ", "", LayoutKind::Placeholder, QRect(-3, 4, 5, 6)},
        {"", "TTimer", "", LayoutKind::NonVisual, QRect(7, 8, 0, 0)},
    };
    const std::vector<std::string> messages = {"ERROR=line 1\nline\t2", "WARN=\x01"};
    const std::string json = fw::preview::LayoutJson("dir/ä \"x\".dfm", objects, messages);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << json;
    const QJsonObject root = document.object();
    EXPECT_EQ(root["file"].toString().toStdString(), "dir/ä \"x\".dfm");
    const QJsonArray array = root["objects"].toArray();
    ASSERT_EQ(array.size(), 3);
    const char* const kinds[] = {"native", "placeholder", "nonvisual"};
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonObject o = array[i].toObject();
        const LayoutEntry& e = objects[static_cast<std::size_t>(i)];
        EXPECT_EQ(o["name"].toString().toStdString(), e.Name);
        EXPECT_EQ(o["class"].toString().toStdString(), e.ClassName);
        EXPECT_EQ(o["drawnAs"].toString().toStdString(), e.DrawnAs);
        EXPECT_EQ(o["kind"].toString().toStdString(), kinds[i]);
        EXPECT_EQ(QRect(o["x"].toInt(), o["y"].toInt(), o["width"].toInt(), o["height"].toInt()), e.Bounds);
    }
    const QJsonArray shown = root["messages"].toArray();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].toString().toStdString(), messages[0]);
    EXPECT_EQ(shown[1].toString().toStdString(), messages[1]);
    // Empty lists are still lists.
    const QJsonDocument empty =
        QJsonDocument::fromJson(QByteArray::fromStdString(fw::preview::LayoutJson("f", {}, {})), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_TRUE(empty.object()["objects"].isArray());
    EXPECT_TRUE(empty.object()["messages"].isArray());
}

// Three levels of inheritance and a frame: main.dfm inherits middle.dfm, which inherits
// base.dfm in another folder (lib, outside the project); main.dfm holds a frame whose
// file is beside it. The unit declares the chain.
const std::vector<std::pair<const char*, const char*>> ThreeLevelFiles = {
    {"lib/base.dfm",
     "object BaseForm: TBaseForm\r\n  Caption = 'Base'\r\n  ClientHeight = 240\r\n  ClientWidth = 360\r\n"
     "  object TopPanel: TPanel\r\n    Left = 0\r\n    Top = 0\r\n    Width = 360\r\n    Height = 41\r\n"
     "    Align = alTop\r\n  end\r\n  object OkButton: TButton\r\n    Left = 8\r\n    Top = 200\r\n"
     "    Caption = 'OK'\r\n  end\r\nend\r\n"},
    {"proj/P.dpr", "program P;\r\nend.\r\n"},
    {"proj/mainu.pas",
     "unit mainu;\r\ninterface\r\ntype\r\n  TMainForm = class(TMiddleForm)\r\n  end;\r\n"
     "  TMiddleForm = class(TBaseForm)\r\n  end;\r\nimplementation\r\nend.\r\n"},
    {"proj/middle.dfm",
     "inherited MiddleForm: TMiddleForm\r\n  Caption = 'Middle'\r\n  object NameEdit: TEdit\r\n    Left = "
     "8\r\n"
     "    Top = 56\r\n  end\r\nend\r\n"},
    {"proj/addressframe.dfm",
     "object AddressFrame: TAddressFrame\r\n  Width = 300\r\n  Height = 80\r\n  TabOrder = 0\r\n"
     "  object StreetLabel: TLabel\r\n    Caption = 'Street'\r\n  end\r\n  object StreetEdit: TEdit\r\n"
     "    Left = 60\r\n  end\r\nend\r\n"},
    {"proj/main.dfm",
     "inherited MainForm: TMainForm\r\n  Caption = 'Main'\r\n  inherited OkButton: TButton\r\n"
     "    Caption = 'Save'\r\n  end\r\n  inline AddressFrame1: TAddressFrame\r\n    Top = 90\r\n"
     "    inherited StreetLabel: TLabel\r\n      Caption = 'Road'\r\n    end\r\n  end\r\nend\r\n"},
};

// The render command with --layout, on a form file written to a temporary folder.
struct RenderRun {
    QTemporaryDir Dir;
    std::ostringstream Out, Err;
    int Status = -1;

    QString Path(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
    void Run(QStringList arguments) {
        QFile form(Path("Layout.dfm"));
        if (form.open(QIODevice::WriteOnly)) form.write(MixedForm);
        form.close();
        for (QString& a : arguments)
            a.replace(QStringLiteral("$DIR"), Dir.path());
        Status = fw::preview::RenderFormFile(arguments, Out, Err);
    }
};

TEST(RenderCommand, WritesTheLayoutBesideThePicture) {
    RenderRun run;
    ASSERT_TRUE(run.Dir.isValid());
    run.Run({"--render", "$DIR/Layout.dfm", "-o", "$DIR/out.png", "--layout", "$DIR/out.json"});
    // The form of an unknown class makes a message: the status says so.
    EXPECT_EQ(run.Status, 1) << run.Err.str();
    QFile file(run.Path("out.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(root["objects"].toArray().size(), 13);
    EXPECT_EQ(root["file"].toString(), run.Path("Layout.dfm"));
    // The messages are those printed.
    const QJsonArray messages = root["messages"].toArray();
    ASSERT_FALSE(messages.isEmpty());
    std::string printed;
    for (const QJsonValue& m : messages)
        printed += run.Path("Layout.dfm").toStdString() + ": " + m.toString().toStdString() + "\n";
    EXPECT_EQ(run.Out.str(), printed);
}

TEST(RenderCommand, LayoutMistakesAreErrorsWithTheReason) {
    struct Case {
        const char* What;
        QStringList Arguments;
        const char* Said;
    };
    const Case cases[] = {
        {"no render", {"--layout", "$DIR/out.json"}, "needs --render"},
        {"no file",
         {"--render", "$DIR/Layout.dfm", "-o", "$DIR/out.png", "--layout"},
         "--layout needs a file"},
        {"no folder",
         {"--render", "$DIR/Layout.dfm", "-o", "$DIR/out.png", "--layout", "$DIR/out.json", "--search-path"},
         "--search-path needs a folder"},
        {"unwritable",
         {"--render", "$DIR/Layout.dfm", "-o", "$DIR/out.png", "--layout", "$DIR/none/out.json"},
         "the layout could not be written"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        RenderRun run;
        ASSERT_TRUE(run.Dir.isValid());
        run.Run(c.Arguments);
        EXPECT_EQ(run.Status, 2);
        EXPECT_NE(run.Err.str().find(c.Said), std::string::npos) << run.Err.str();
        EXPECT_FALSE(QFile::exists(run.Path("out.json")));
    }
    EXPECT_TRUE(fw::preview::IsRenderCommand({"--layout", "x.json"}));
}

// A form built whole: the layout lists the objects of the ancestors' and the frame's
// files too, each marked with the file that creates it, also where the form's own text
// changes it ("inherited OkButton"); the form's own objects are not marked. Without the folder of the first
// ancestor the build says where it looked.
TEST(RenderCommand, LayoutMarksTheObjectsOfOtherFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& [name, text] : ThreeLevelFiles) {
        QDir().mkpath(QFileInfo(dir.filePath(QString::fromLatin1(name))).path());
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    const QString form = dir.filePath(QStringLiteral("proj/main.dfm"));
    std::ostringstream out, err;
    const int status =
        fw::preview::RenderFormFile({"--render", form, "-o", dir.filePath("main.png"), "--layout",
                                     dir.filePath("main.json"), "--search-path", dir.filePath("lib")},
                                    out, err);
    EXPECT_EQ(status, 0) << err.str() << out.str();
    QFile file(dir.filePath("main.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::map<std::string, std::string> files;
    for (const QJsonValue& object : QJsonDocument::fromJson(file.readAll()).object()["objects"].toArray())
        files[object["name"].toString().toStdString()] = object["file"].toString().toStdString();
    const std::map<std::string, std::string> expected{{"MainForm", ""},
                                                      {"OkButton", "base.dfm"},
                                                      {"AddressFrame1", ""},
                                                      {"StreetLabel", "addressframe.dfm"},
                                                      {"TopPanel", "base.dfm"},
                                                      {"NameEdit", "middle.dfm"},
                                                      {"StreetEdit", "addressframe.dfm"}};
    EXPECT_EQ(files, expected);

    std::ostringstream missingOut, missingErr;
    EXPECT_EQ(fw::preview::RenderFormFile({"--render", form, "-o", dir.filePath("alone.png")}, missingOut,
                                          missingErr),
              1);
    EXPECT_NE(missingOut.str().find("Ancestor form TBaseForm not found; searched: " +
                                    dir.filePath("proj").toStdString()),
              std::string::npos)
        << missingOut.str();
}

// Without --codepage a form is drawn in the page its fonts declare: the picture of a
// Shift-JIS form is the one --codepage 932 gives, not the one of 1252.
TEST(RenderCommand, DrawsInTheDeclaredCodePage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile form(dir.filePath(QStringLiteral("sjis.dfm")));
    ASSERT_TRUE(form.open(QIODevice::WriteOnly));
    form.write(
        "object F: TForm\r\n  Width = 200\r\n  Height = 80\r\n  Font.Charset = SHIFTJIS_CHARSET\r\n"
        "  Caption = '\x96\xbc\x91\x4f'\r\n  object L: TLabel\r\n    Left = 8\r\n    Top = 8\r\n"
        "    Caption = '\x93\xfa\x96\x7b\x8c\xea'\r\n  end\r\nend\r\n");
    form.close();
    const auto render = [&](const QString& png, QStringList extra) {
        std::ostringstream out, err;
        const int status = fw::preview::RenderFormFile(
            QStringList{"--render", form.fileName(), "-o", dir.filePath(png)} + extra, out, err);
        EXPECT_EQ(status, 0) << err.str() << out.str();
        QFile file(dir.filePath(png));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray declared = render("declared.png", {});
    ASSERT_FALSE(declared.isEmpty());
    EXPECT_EQ(declared, render("932.png", {"--codepage", "932"}));
    EXPECT_NE(declared, render("1252.png", {"--codepage", "1252"}));
}

}  // namespace
