// The inspector pane of a document window: the trees filled for the selected node, the
// text-only view, the picture preview and its save, sorting, the class tree, the
// interface options, and rows that never outlive the preview they came from.

#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>
#include <QAction>
#include <QCollator>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../preview/picturefixtures.h"
#include "document/documentwindow.h"
#include "document/objecttreeview.h"
#include "documenttestsupport.h"
#include "preview/oipanel.h"
#include "preview/previewcontext.h"
#include "preview/vcllook.h"
#include "preview/virtualdesktop.h"
#include "runtime/formbuild.h"

namespace {

using fw::DocumentWindow;
using fw::preview::OIPanel;
using fw::test::RecordingMessages;
namespace pt = fw::preview::test;

const std::string GlyphForm =
    "object Form1: TForm1\r\n"
    "  Caption = 'Form1'\r\n"
    "  Font.Height = -11\r\n"
    "  object Button1: TButton\r\n"
    "    Left = 8\r\n"
    "    Caption = 'OK'\r\n"
    "    OnClick = Button1Click\r\n"
    "  end\r\n"
    "  object BitBtn1: TBitBtn\r\n"
    "    Left = 8\r\n"
    "    Top = 40\r\n" +
    pt::HexProperty("    ", "Glyph.Data", pt::WithSize(pt::MakeBmp(64, 16))) +
    "  end\r\n"
    "  object Image1: TImage\r\n"
    "    Left = 100\r\n" +
    pt::HexProperty("    ", "Picture.Data",
                    pt::PictureData("TMetafile", pt::WithSize(pt::MakeWmf(320, 200)))) +
    "  end\r\n"
    "  object Gadget1: TGadget\r\n"
    "    Left = 3\r\n"
    "    Caption = 'Hello'\r\n"
    "    OnClick = GadgetClick\r\n"
    "  end\r\n"
    "end\r\n";

class InspectorPaneTest : public ::testing::Test {
protected:
    void SetUp() override { fw::test::EnsureApplication(); }
    void TearDown() override { delete document_.data(); }

    OIPanel* Open(const std::string& text) {
        document_ = new DocumentWindow(messages_, fw::CodePage::Default(), preview_);
        document_->resize(1000, 700);
        document_->LoadFromLines(QByteArray::fromStdString(text));
        document_->show();
        return document_->Inspector();
    }
    void Select(const char* name) {
        const int node = document_->Tree()->Nodes().FindNodeByName(name);
        ASSERT_GE(node, 0) << name;
        document_->Tree()->SelectNode(node);
    }
    OIPanel* Panel() const { return document_->Inspector(); }
    QTreeWidgetItem* Property(const char* path) const {
        QTreeWidgetItem* item = OIPanel::FindItem(Panel()->PropertyTree(), QString::fromUtf8(path));
        if (!item) ADD_FAILURE() << "no row " << path;
        return item;
    }
    static bool Bold(const QTreeWidgetItem* item) {
        return item->font(OIPanel::NameColumn).bold() && item->font(OIPanel::ValueColumn).bold();
    }
    QStringList ClassChain() const {
        QStringList chain;
        for (QTreeWidgetItem* item = Panel()->ClassTree()->topLevelItem(0); item;
             item = item->childCount() ? item->child(0) : nullptr)
            chain << item->text(0);
        return chain;
    }
    QStringList Column(int column) const {
        QStringList texts;
        const QTreeWidget* tree = Panel()->PropertyTree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            texts << tree->topLevelItem(i)->text(column);
        return texts;
    }

    // Outlives the documents, as the session does.
    fw::preview::PreviewContext preview_;
    RecordingMessages messages_;
    QPointer<DocumentWindow> document_;
};

TEST_F(InspectorPaneTest, ALiveButtonShowsTextValuesBoldAndItsAncestry) {
    OIPanel* panel = Open(GlyphForm);
    Select("Button1");
    EXPECT_EQ(panel->OITitle(), document_->OITitle());
    EXPECT_EQ(panel->OITitle()->text(), QStringLiteral(" Button1: TButton"));

    struct Case {
        const char* Path;
        const char* Value;
        bool Bold;
    };
    for (const Case& c : {Case{"Caption", "OK", true}, Case{"Left", "8", true},
                          Case{"Cursor", "crDefault", false}, Case{"Font.Height", "-11", false}}) {
        SCOPED_TRACE(c.Path);
        QTreeWidgetItem* item = Property(c.Path);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(OIPanel::ValueColumn), QString::fromUtf8(c.Value));
        EXPECT_EQ(Bold(item), c.Bold);
    }
    QTreeWidgetItem* caption = Property("Caption");
    EXPECT_EQ(caption->foreground(OIPanel::TypeColumn).color(), QColor(128, 128, 128));
    EXPECT_EQ(caption->foreground(OIPanel::ValueColumn).color(), QColor(0, 0, 128));
    // Every row at every level is counted.
    QTabWidget* pages = panel->PageControl();
    EXPECT_EQ(pages->tabText(OIPanel::PropertiesPage),
              QStringLiteral(" Properties (%1)").arg(OIPanel::CountItems(panel->PropertyTree())));
    EXPECT_GT(OIPanel::CountItems(panel->PropertyTree()), panel->PropertyTree()->topLevelItemCount());

    EXPECT_TRUE(pages->isTabVisible(OIPanel::EventsPage));
    EXPECT_EQ(pages->tabText(OIPanel::EventsPage),
              QStringLiteral(" Events (%1)").arg(panel->EventTree()->topLevelItemCount()));
    QTreeWidgetItem* click = OIPanel::FindItem(panel->EventTree(), QStringLiteral("OnClick"));
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->text(OIPanel::ValueColumn), QStringLiteral("Button1Click"));
    EXPECT_TRUE(Bold(click));
    EXPECT_FALSE(pages->isTabVisible(OIPanel::ImagePage));

    EXPECT_EQ(ClassChain(), (QStringList{"TButton", "TButtonControl", "TWinControl", "TControl", "TComponent",
                                         "TPersistent", "TObject"}));
    EXPECT_TRUE(panel->ClassTree()->topLevelItem(0)->font(0).bold());
    EXPECT_FALSE(panel->ClassTree()->topLevelItem(0)->child(0)->font(0).bold());

    // The form's nested font line is found by its dotted path.
    Select("Form1");
    EXPECT_TRUE(Bold(Property("Font.Height")));
    EXPECT_EQ(Property("Font.Height")->text(OIPanel::ValueColumn), QStringLiteral("-11"));
    EXPECT_FALSE(Bold(Property("Font")));
}

// An object of a class the runtime does not know is a stand-in: the inspector shows
// what its text stores, typed where its base publishes the property and as stored
// otherwise, and says the class is not registered.
TEST_F(InspectorPaneTest, AnUnregisteredClassShowsWhatItsTextStores) {
    OIPanel* panel = Open(GlyphForm);
    Select("Button1");
    Select("Gadget1");
    ASSERT_NE(document_->InspectedObject(), nullptr);
    EXPECT_TRUE(document_->InspectedObject()->GetClass().Has(fw::rt::CfStandIn));
    // A placed object with a caption is a control; the look-alike rules draw one that
    // has a caption and no text as a label.
    EXPECT_EQ(panel->OITitle()->text(), QStringLiteral(" Gadget1: TGadget (drawn as TLabel)"));
    QTreeWidget* tree = panel->PropertyTree();
    // Caption is typed, as the label it borrows its look from publishes it; OnClick is
    // kept as stored.
    EXPECT_EQ(Column(OIPanel::NameColumn), (QStringList{"Caption", "Left", "Name", "OnClick"}));
    EXPECT_EQ(Column(OIPanel::ValueColumn), (QStringList{"Hello", "3", "Gadget1", "GadgetClick"}));
    // Every row but Name is read from the text, and shows so.
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        EXPECT_EQ(Bold(tree->topLevelItem(i)), tree->topLevelItem(i)->text(OIPanel::NameColumn) != "Name")
            << i;
    EXPECT_EQ(ClassChain(), QStringList{"TGadget (drawn as TLabel)"});
}

// Form1 is the root's name in most forms. A second open form of that name is previewed
// as Form1_1, at (10, 10) and poDesigned; its inspector still shows what its text says.
TEST_F(InspectorPaneTest, TheRootShowsItsTextsValuesWhenAnotherFormHasItsName) {
    const std::string text =
        "object Form1: TForm1\r\n"
        "  Left = 120\r\n"
        "  Top = 90\r\n"
        "  Caption = 'Main'\r\n"
        "  Position = poScreenCenter\r\n"
        "end\r\n";
    Open(text);
    const std::unique_ptr<DocumentWindow> first(document_.data());
    Open(text);
    ASSERT_NE(document_->PreviewForm(), nullptr);
    ASSERT_EQ(document_->PreviewForm()->Name(), "Form1_1");
    for (DocumentWindow* document : {first.get(), document_.data()}) {
        SCOPED_TRACE(document == first.get() ? "first" : "second");
        document->Tree()->clearSelection();
        document->Tree()->SelectNode(0);
        struct Case {
            const char* Path;
            const char* Value;
            bool Bold;
        };
        for (const Case& c :
             {Case{"Left", "120", true}, Case{"Top", "90", true}, Case{"Caption", "Main", true},
              Case{"Position", "poScreenCenter", true}, Case{"Name", "Form1", false}}) {
            SCOPED_TRACE(c.Path);
            QTreeWidgetItem* item =
                OIPanel::FindItem(document->Inspector()->PropertyTree(), QString::fromUtf8(c.Path));
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->text(OIPanel::ValueColumn), QString::fromUtf8(c.Value));
            EXPECT_EQ(Bold(item), c.Bold);
        }
    }
}

// "object TLabel": compiled forms often leave components unnamed. Each node shows its
// own object, also after the preview is built again.
TEST_F(InspectorPaneTest, UnnamedObjectsShowTheirOwnProperties) {
    OIPanel* panel = Open(
        "object Form1: TForm1\r\n"
        "  Caption = 'Main'\r\n"
        "  object TLabel\r\n"
        "    Left = 8\r\n"
        "    Caption = 'First'\r\n"
        "  end\r\n"
        "  object TLabel\r\n"
        "    Left = 16\r\n"
        "    Caption = 'Second'\r\n"
        "  end\r\n"
        "  object TGadget\r\n"
        "    Odd = 1\r\n"
        "  end\r\n"
        "end\r\n");
    ASSERT_EQ(document_->Tree()->Nodes().ObjectCount(), 4);
    document_->Tree()->SelectNode(0);
    const auto shows = [&](const char* caption, const char* left) {
        EXPECT_EQ(panel->OITitle()->text(), QStringLiteral(" : TLabel"));
        ASSERT_NE(document_->InspectedObject(), nullptr);
        EXPECT_EQ(document_->InspectedObject()->ClassName(), "TLabel");
        EXPECT_EQ(Property("Caption")->text(OIPanel::ValueColumn), QString::fromUtf8(caption));
        EXPECT_TRUE(Bold(Property("Caption")));
        EXPECT_EQ(Property("Left")->text(OIPanel::ValueColumn), QString::fromUtf8(left));
    };
    document_->Tree()->SelectNode(2);
    shows("Second", "16");
    document_->Tree()->SelectNode(1);
    shows("First", "8");
    document_->Tree()->SelectNode(2);
    document_->BuildPreview();
    shows("Second", "16");
    // The caret in the second label's lines selects that label's node, not the first
    // node without a name.
    document_->Tree()->SelectNode(0);
    document_->Editor()->setCursorPosition(7, 4);
    document_->SyncTreeToCaret();
    EXPECT_EQ(document_->Tree()->FocusedNode(), 2);
    shows("Second", "16");

    // An unnamed object of a class the preview does not know: its stand-in, with what
    // its own lines store.
    document_->Tree()->SelectNode(3);
    EXPECT_EQ(panel->OITitle()->text(), QStringLiteral(" : TGadget (not registered)"));
    ASSERT_NE(document_->InspectedObject(), nullptr);
    EXPECT_EQ(Column(OIPanel::NameColumn), (QStringList{"Name", "Odd"}));
    EXPECT_EQ(Column(OIPanel::ValueColumn), (QStringList{"", "1"}));
}

TEST_F(InspectorPaneTest, AGlyphIsPreviewedAndSavedAsItsOwnBitmap) {
    OIPanel* panel = Open(GlyphForm);
    Select("BitBtn1");
    QTreeWidget* tree = panel->PropertyTree();
    QTabWidget* pages = panel->PageControl();
    tree->setCurrentItem(Property("Glyph"));
    EXPECT_TRUE(pages->isTabVisible(OIPanel::ImagePage));
    EXPECT_NE(pages->currentIndex(), OIPanel::ImagePage) << "showing the page does not bring it forward";
    EXPECT_EQ(panel->ImageTitle()->text(), QStringLiteral("Bitmap: 64 x 16"));
    EXPECT_EQ(panel->PropTitle()->text(), QStringLiteral("Glyph: TBitmap"));
    EXPECT_TRUE(panel->PropTitle()->font().bold());
    EXPECT_EQ(panel->Image()->size(), QSize(64, 16));
    EXPECT_EQ(panel->Image()->PictureImage().pixelColor(2, 2), QColor(Qt::red));
    panel->OIPTreeDblClick();
    EXPECT_EQ(pages->currentIndex(), OIPanel::ImagePage);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("glyph.png"));  // the extension does not matter
    messages_.PicturePaths.push_back(path);
    panel->SaveAction()->trigger();
    EXPECT_EQ(messages_.PictureFilters, QStringList{QStringLiteral("Bitmaps (*.bmp)")});
    const std::vector<std::uint8_t> bmp = pt::MakeBmp(64, 16);
    EXPECT_EQ(fw::test::ReadAll(path),
              QByteArray(reinterpret_cast<const char*>(bmp.data()), static_cast<qsizetype>(bmp.size())));
    // A folder that does not exist is an error shown to the user.
    messages_.PicturePaths.push_back(dir.filePath(QStringLiteral("missing/glyph.bmp")));
    panel->SaveAction()->trigger();
    ASSERT_EQ(messages_.Errors.size(), 1);
    EXPECT_TRUE(messages_.Errors.first().contains(QStringLiteral("missing/glyph.bmp")));

    // A row that holds no picture hides the page again; the image title keeps its text.
    tree->setCurrentItem(Property("Font"));
    EXPECT_FALSE(pages->isTabVisible(OIPanel::ImagePage));
    EXPECT_EQ(panel->ImageTitle()->text(), QStringLiteral("Bitmap: 64 x 16"));
}

TEST_F(InspectorPaneTest, PicturesThatAreNotDrawnAndStandardIcons) {
    OIPanel* panel = Open(GlyphForm);
    QTabWidget* pages = panel->PageControl();
    Select("Image1");
    panel->PropertyTree()->setCurrentItem(Property("Picture"));
    EXPECT_TRUE(pages->isTabVisible(OIPanel::ImagePage));
    EXPECT_EQ(panel->ImageTitle()->text(), QStringLiteral("Metafile: 320 x 200"));
    EXPECT_TRUE(panel->Image()->PictureImage().isNull());
    EXPECT_EQ(panel->SaveFilter(), QStringLiteral("Metafiles (*.wmf)"));
    EXPECT_TRUE(panel->SaveAction()->isEnabled());

    Select("Form1");
    panel->PropertyTree()->setCurrentItem(Property("Icon"));
    EXPECT_TRUE(pages->isTabVisible(OIPanel::ImagePage));
    EXPECT_EQ(panel->ImageTitle()->text(), QStringLiteral("Icon: 32 x 32"));
    EXPECT_EQ(panel->SaveFilter(), QStringLiteral("Icons (*.ico)"));
    // The form has no icon of its own to save.
    EXPECT_FALSE(panel->SaveAction()->isEnabled());
}

TEST_F(InspectorPaneTest, HeaderClicksSortAndReverseUntilTheNextFill) {
    OIPanel* panel = Open(GlyphForm);
    Select("Button1");
    QTreeWidget* tree = panel->PropertyTree();
    const QStringList inspectorOrder = Column(OIPanel::NameColumn);
    QHeaderView* header = tree->header();
    const auto clickHeader = [&](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 4, header->height() / 2));
    };
    const auto sorted = [](QStringList texts, bool descending) {
        QCollator collator{QLocale()};
        collator.setCaseSensitivity(Qt::CaseSensitive);
        std::stable_sort(texts.begin(), texts.end(), [&](const QString& a, const QString& b) {
            return descending ? collator.compare(b, a) < 0 : collator.compare(a, b) < 0;
        });
        return texts;
    };
    clickHeader(OIPanel::ValueColumn);
    const QStringList ascending = Column(OIPanel::ValueColumn);
    EXPECT_EQ(ascending, sorted(ascending, false));
    EXPECT_NE(Column(OIPanel::NameColumn), inspectorOrder);
    clickHeader(OIPanel::ValueColumn);
    EXPECT_EQ(Column(OIPanel::ValueColumn), sorted(ascending, true));
    // Children are sorted within their parent.
    QTreeWidgetItem* font = Property("Font");
    QStringList fontValues;
    for (int i = 0; i < font->childCount(); ++i)
        fontValues << font->child(i)->text(OIPanel::ValueColumn);
    EXPECT_EQ(fontValues, sorted(fontValues, true));

    // Another column starts ascending; a fill brings the inspector's order back.
    clickHeader(OIPanel::NameColumn);
    EXPECT_EQ(Column(OIPanel::NameColumn), sorted(inspectorOrder, false));
    Select("Form1");
    Select("Button1");
    EXPECT_EQ(Column(OIPanel::NameColumn), inspectorOrder);
}

TEST_F(InspectorPaneTest, NoRowKeepsAnObjectOfAnOldPreview) {
    OIPanel* panel = Open(GlyphForm);
    Select("BitBtn1");
    const auto glyphObject = [&] { return OIPanel::RowOf(Property("Glyph"))->Object; };
    ASSERT_EQ(glyphObject(),
              fw::preview::ObjectOf(*document_->PreviewForm()->FindOwnedComponent("BitBtn1"), "Glyph"));
    document_->BuildPreview();
    EXPECT_EQ(glyphObject(),
              fw::preview::ObjectOf(*document_->PreviewForm()->FindOwnedComponent("BitBtn1"), "Glyph"))
        << "filled again from the new preview";

    // With nothing selected the rows stay but hold no objects.
    document_->Tree()->clearSelection();
    document_->BuildPreview();
    ASSERT_NE(Property("Glyph"), nullptr);
    EXPECT_EQ(glyphObject(), nullptr);
    panel->PropertyTree()->setCurrentItem(Property("Glyph"));
    EXPECT_FALSE(panel->PageControl()->isTabVisible(OIPanel::ImagePage));

    // A build straight on the desktop, past the document, drops them too.
    Select("Form1");
    Select("BitBtn1");
    ASSERT_NE(glyphObject(), nullptr);
    const QByteArray text = document_->Document().TextBytes();
    document_->Desktop()->BuildPreview(text.toStdString(), fw::CodePage::Default());
    EXPECT_EQ(glyphObject(), nullptr);
}

TEST_F(InspectorPaneTest, InterfaceOptionsShowTheTypeColumnsAndTheClassTree) {
    OIPanel* panel = Open(GlyphForm);
    // A new window inspects nothing and shows neither.
    EXPECT_TRUE(panel->PropertyTree()->isColumnHidden(OIPanel::TypeColumn));
    EXPECT_TRUE(panel->EventTree()->isColumnHidden(OIPanel::TypeColumn));
    EXPECT_FALSE(panel->ClassTree()->isVisibleTo(panel));

    Select("Button1");
    document_->ApplyInterfaceOptions(true, false, false, true);
    EXPECT_FALSE(panel->PropertyTree()->isColumnHidden(OIPanel::TypeColumn));
    EXPECT_FALSE(panel->EventTree()->isColumnHidden(OIPanel::TypeColumn));
    EXPECT_TRUE(panel->ClassTree()->isVisibleTo(panel));
    // The properties tree sets its column at each fill: hidden for the text-only view
    // (no live object).
    panel->FillInspector(nullptr, {"Left = 3"});
    EXPECT_TRUE(panel->PropertyTree()->isColumnHidden(OIPanel::TypeColumn));
    Select("Gadget1");
    Select("Button1");
    EXPECT_FALSE(panel->PropertyTree()->isColumnHidden(OIPanel::TypeColumn));

    document_->ApplyInterfaceOptions(false, false, false, false);
    EXPECT_TRUE(panel->PropertyTree()->isColumnHidden(OIPanel::TypeColumn));
    EXPECT_TRUE(panel->EventTree()->isColumnHidden(OIPanel::TypeColumn));
    EXPECT_FALSE(panel->ClassTree()->isVisibleTo(panel));
}

}  // namespace
