// The preview of a document: the build from the editor's text with its rewrites and
// messages, the message list, the source/preview switch, picking and hovering, node
// resolution and the form image.

#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "codec/textlines.h"
#include "document/documentwindow.h"
#include "document/noderesolve.h"
#include "document/objecttreeview.h"
#include "document/treeimages.h"
#include "documenttestsupport.h"
#include "preview/designoverlay.h"
#include "preview/formwindow.h"
#include "preview/previewcontext.h"
#include "preview/realizer.h"
#include "preview/virtualdesktop.h"
#include "runtime/builtin.h"
#include "runtime/formbuild.h"

namespace {

using fw::DocumentWindow;
using fw::test::RecordingMessages;

std::string Text(const fw::rt::Object& o, const char* property) {
    const fw::rt::Property* p = o.FindProperty(property);
    return p ? o.String(*p) : std::string("<none>");
}

std::int64_t Ordinal(const fw::rt::Object& o, const char* property) {
    const fw::rt::Property* p = o.FindProperty(property);
    return p ? o.Ordinal(*p) : -999;
}

std::string EnumName(const fw::rt::Object& o, const char* property) {
    const fw::rt::Property* p = o.FindProperty(property);
    if (!p) return "<none>";
    return std::string(p->Type().EnumNames[static_cast<std::size_t>(o.Ordinal(*p))]);
}

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override { fw::test::EnsureApplication(); }
    void TearDown() override {
        for (const QPointer<DocumentWindow>& document : documents_)
            delete document.data();
    }
    DocumentWindow* NewDocument(const char* text) {
        auto* document = new DocumentWindow(messages_, fw::CodePage::Default(), preview_);
        documents_.push_back(document);
        document->resize(900, 650);
        document->LoadFromLines(QByteArray(text));
        return document;
    }
    static QStringList ListCaptions(const DocumentWindow* document) {
        QStringList captions;
        for (int i = 0; i < document->MessageList()->topLevelItemCount(); ++i)
            captions << document->MessageList()->topLevelItem(i)->text(0);
        return captions;
    }

    // Outlives the documents, as the session does.
    fw::preview::PreviewContext preview_;
    RecordingMessages messages_;
    std::vector<QPointer<DocumentWindow>> documents_;
};

TEST_F(PreviewTest, RootRewritesLeaveTheEditorTextAlone) {
    const char* text =
        "object Form1: TForm1\r\n"
        "  ActiveControl = Edit1\r\n"
        "  BorderStyle = bsNone\r\n"
        "  FormStyle = fsMDIChild\r\n"
        "  Position = poScreenCenter\r\n"
        "  WindowState = wsMaximized\r\n"
        "  object Edit1: TEdit\r\n"
        "  end\r\n"
        "end\r\n";
    DocumentWindow* document = NewDocument(text);
    const QString before = document->Editor()->text();
    document->BuildPreview();
    const fw::rt::Object* form = document->PreviewForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(EnumName(*form, "FormStyle"), "fsNormal");
    EXPECT_EQ(EnumName(*form, "BorderStyle"), "bsSizeable");
    const fw::rt::Property* active = form->FindProperty("ActiveControl");
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(form->ObjectValue(*active), nullptr);
    // Placed at (10, 10) in the normal state, whatever the text says.
    EXPECT_EQ(EnumName(*form, "Position"), "poDesigned");
    EXPECT_EQ(EnumName(*form, "WindowState"), "wsNormal");
    EXPECT_EQ(Ordinal(*form, "Left"), 10);
    EXPECT_EQ(Ordinal(*form, "Top"), 10);
    EXPECT_EQ(document->Desktop()->Window()->pos(), QPoint(10, 10));
    EXPECT_EQ(document->Editor()->text(), before);
    EXPECT_TRUE(document->PreviewMessages().empty());
}

TEST_F(PreviewTest, MessagesFillTheListAndOnlyThenShowIt) {
    const struct {
        const char* Name;
        const char* Text;
        QStringList Captions;  // a caption ending in "*" is a prefix
        int Components;
    } cases[] = {
        {"unknown class",
         "object Form1: TForm1\r\n  object Button1: TButton\r\n  end\r\n"
         "  object Foo1: TFooButton\r\n    object Inner: TButton\r\n    end\r\n  end\r\nend\r\n",
         {"Class TFooButton not found"},
         3},  // the stand-in and the button inside it are kept
        {"syntax error", "object Form1: TForm1\r\n  Left 8\r\nend\r\n", {"Reader: *"}, 0},
        {"valid", "object Form1: TForm1\r\n  object Button1: TButton\r\n  end\r\nend\r\n", {}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        DocumentWindow* document = NewDocument(c.Text);
        document->show();
        document->BuildPreview();
        const QStringList captions = ListCaptions(document);
        ASSERT_EQ(captions.size(), c.Captions.size()) << captions.join('|').toStdString();
        for (qsizetype i = 0; i < captions.size(); ++i) {
            const QString& want = c.Captions[i];
            if (want.endsWith('*'))
                EXPECT_TRUE(captions[i].startsWith(want.chopped(1))) << captions[i].toStdString();
            else
                EXPECT_EQ(captions[i], want);
            EXPECT_EQ(
                document->MessageList()->topLevelItem(static_cast<int>(i))->data(0, Qt::UserRole).toInt(),
                fw::ImageError);
        }
        EXPECT_EQ(document->MessageList()->headerItem()->text(0),
                  QStringLiteral("Messages (%1)").arg(c.Captions.size()));
        EXPECT_EQ(document->MessageList()->isVisible(), !c.Captions.isEmpty());
        ASSERT_NE(document->PreviewForm(), nullptr);
        EXPECT_EQ(static_cast<int>(document->PreviewForm()->Components().size()), c.Components);
    }
}

// A message names its object and line, and activating it (a double-click) goes there,
// from either page.
TEST_F(PreviewTest, AMessageLeadsToItsLine) {
    DocumentWindow* document = NewDocument(
        "object Form1: TForm1\r\n"
        "  ActiveControl = Button1\r\n"
        "  object Panel1: TPanel\r\n"
        "    object Button1: TButton\r\n"
        "      Caption = 'OK'\r\n"
        "      Glyph2 = 1\r\n"
        "    end\r\n"
        "  end\r\n"
        "end\r\n");
    document->show();
    QTreeWidget* list = document->MessageList();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    QTreeWidgetItem* item = list->topLevelItem(0);
    EXPECT_EQ(item->text(0), QStringLiteral("Property Glyph2 does not exist"));
    EXPECT_EQ(item->text(1), QStringLiteral("Form1.Panel1.Button1"));
    EXPECT_EQ(item->text(2), QStringLiteral("6"));
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Object"));
    EXPECT_EQ(list->headerItem()->text(2), QStringLiteral("Line"));

    document->cmPreview();
    ASSERT_EQ(document->TabSet()->currentIndex(), 1);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    item = list->topLevelItem(0);
    QApplication::processEvents();
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(document->TabSet()->currentIndex(), 0);
    int line = -1, index = -1;
    document->Editor()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 5);
    EXPECT_EQ(document->Editor()->selectedText(), QStringLiteral("Glyph2 = 1"));

    // A syntax error leads to the line it names.
    document->Editor()->setText(QStringLiteral("object Form1: TForm1\r\n  Left = 1\r\n  Top 2\r\nend\r\n"));
    document->BuildPreview();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral("3"));
    EXPECT_EQ(list->topLevelItem(0)->text(1), QString());
    emit list->itemActivated(list->topLevelItem(0), 0);
    document->Editor()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 2);
}

// The list is as high as the user makes it, each time it shows again.
TEST_F(PreviewTest, TheMessageListKeepsItsHeight) {
    const char* const broken = "object Form1: TForm1\r\n  Glyph2 = 1\r\nend\r\n";
    DocumentWindow* document = NewDocument(broken);
    document->show();
    QTreeWidget* list = document->MessageList();
    auto* splitter = qobject_cast<QSplitter*>(list->parentWidget());
    ASSERT_NE(splitter, nullptr);
    ASSERT_TRUE(list->isVisible());
    const int total = splitter->sizes()[0] + splitter->sizes()[1];
    splitter->setSizes({total - 230, 230});
    QApplication::processEvents();
    ASSERT_EQ(list->height(), 230);

    document->Editor()->setText(QStringLiteral("object Form1: TForm1\r\nend\r\n"));
    document->BuildPreview();
    EXPECT_FALSE(list->isVisible());
    document->Editor()->setText(QString::fromLatin1(broken));
    document->BuildPreview();
    QApplication::processEvents();
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->height(), 230);
    document->cmRescan();
    QApplication::processEvents();
    EXPECT_EQ(list->height(), 230);
}

TEST_F(PreviewTest, TheSwitchBuildsOnTheWayToThePreviewOnly) {
    DocumentWindow* document = NewDocument("object Form1: TForm1\r\nend\r\n");
    QSignalSpy builds(document->Desktop(), &fw::preview::VirtualDesktop::PreviewBuilt);
    document->cmPreview();
    EXPECT_EQ(document->TabSet()->currentIndex(), 1);
    EXPECT_EQ(document->Notebook()->currentIndex(), 1);
    EXPECT_EQ(builds.count(), 1);
    document->cmPreview();
    EXPECT_EQ(document->TabSet()->currentIndex(), 0);
    EXPECT_EQ(document->Notebook()->currentIndex(), 0);
    EXPECT_EQ(builds.count(), 1) << "the way back builds nothing";
    document->cmRescan();
    EXPECT_EQ(builds.count(), 2) << "every rescan builds";
}

// Hooks and tooltips as the preview sets them, by what each class publishes.
TEST_F(PreviewTest, InstrumentationHooksEachControlByItsEvents) {
    DocumentWindow* document = NewDocument(
        "object Form1: TForm1\r\n"
        "  object Button1: TButton\r\n    Left = 8\r\n    Top = 16\r\n    Enabled = False\r\n  end\r\n"
        "  object Grid1: TDBGrid\r\n    Left = 100\r\n  end\r\n"
        "  object Shape1: TShape\r\n  end\r\n"
        "  object Bevel1: TBevel\r\n  end\r\n"
        "  object Timer1: TTimer\r\n  end\r\n"
        "end\r\n");
    document->BuildPreview();
    fw::rt::Object* form = document->PreviewForm();
    ASSERT_NE(form, nullptr);
    auto method = [&](const char* component, const char* event) {
        const fw::rt::Object* c = form->FindOwnedComponent(component);
        const fw::rt::Property* p = c ? c->FindProperty(event) : nullptr;
        if (!p) return std::string("<none>");
        const fw::rt::MethodValue* m = c->Method(*p);
        return m && m->Assigned() ? m->Name : std::string();
    };
    const struct {
        const char* Component;
        std::string Click, DblClick, MouseMove;
    } cases[] = {
        {"Button1", "ObjectEnter", "<none>", "ObjectMouseMove"},
        {"Grid1", "<none>", "ObjectEnter", "ObjectMouseMove"},
        {"Shape1", "<none>", "<none>", "ObjectMouseMove"},
        {"Bevel1", "<none>", "<none>", "<none>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Component);
        EXPECT_EQ(method(c.Component, "OnClick"), c.Click);
        EXPECT_EQ(method(c.Component, "OnDblClick"), c.DblClick);
        EXPECT_EQ(method(c.Component, "OnMouseMove"), c.MouseMove);
    }
    // Button1 has no OnDblClick of its own to check; it publishes it, and it stays empty.
    const fw::rt::Object& button = *form->FindOwnedComponent("Button1");
    EXPECT_EQ(Text(button, "Hint"), "Button1: TButton\r\nOrigin: 8, 16\r\nSize: 75 x 25");
    EXPECT_EQ(Ordinal(button, "ShowHint"), 1);
    EXPECT_EQ(Ordinal(button, "Enabled"), 1) << "disabled controls can be picked";
    EXPECT_EQ(Text(*form->FindOwnedComponent("Timer1"), "Hint"), "<none>") << "not a control";
    EXPECT_TRUE(Text(*form, "Hint").starts_with("Form1: TForm\r\nOrigin: ")) << Text(*form, "Hint");
    EXPECT_NE(Text(*form, "Hint").find("; Size: "), std::string::npos);
    // The widgets follow: enabled, with the three-line tooltip.
    QWidget* widget = document->Desktop()->Realizer()->WidgetOf(button).Widget;
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isEnabled());
    EXPECT_EQ(widget->toolTip(), QStringLiteral("Button1: TButton\nOrigin: 8, 16\nSize: 75 x 25"));
}

TEST_F(PreviewTest, ClickingAControlSelectsItsNodeAndHoverWritesPanelOne) {
    DocumentWindow* document = NewDocument(
        "object Form1: TForm1\r\n"
        "  ClientWidth = 300\r\n  ClientHeight = 200\r\n"
        "  object Button1: TButton\r\n    Left = 8\r\n    Top = 8\r\n  end\r\n"
        "  object Shape1: TShape\r\n    Left = 100\r\n    Top = 8\r\n  end\r\n"
        "end\r\n");
    document->show();
    document->cmPreview();
    fw::ObjectTreeView* tree = document->Tree();
    auto widgetOf = [&](const char* name) {
        return document->Desktop()
            ->Realizer()
            ->WidgetOf(*document->PreviewForm()->FindOwnedComponent(name))
            .Widget;
    };
    QWidget* button = widgetOf("Button1");
    ASSERT_NE(button, nullptr);
    // The shape is drawn onto the form, as graphic controls are: the pointer over it is
    // over the widget it is drawn on.
    const fw::preview::Placement shapePlace =
        document->Desktop()->Realizer()->PlaceOf(*document->PreviewForm()->FindOwnedComponent("Shape1"));
    ASSERT_NE(shapePlace.Parent, nullptr);
    // The realiser's own picking, under the designer surface that covers the form.
    ASSERT_NE(document->Desktop()->Overlay(), nullptr);
    document->Desktop()->Overlay()->hide();
    const QPoint inParent = shapePlace.Bounds.topLeft() + QPoint(12, 7);
    QWidget* shape = shapePlace.Parent->childAt(inParent);
    ASSERT_NE(shape, nullptr);
    const QPoint at = shape->mapFrom(shapePlace.Parent, inParent);

    tree->clearSelection();
    QTest::mouseClick(shape, Qt::LeftButton, {}, at);
    EXPECT_TRUE(tree->selectedItems().isEmpty()) << "a shape has no picking hook";
    QMouseEvent move(QEvent::MouseMove, QPointF(at), shape->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(shape, &move);
    EXPECT_EQ(document->PanelText(1), QStringLiteral("Shape1: TShape   X: 12   Y: 7"));

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(tree->selectedItems().size(), 1);
    EXPECT_EQ(tree->selectedItems().first()->text(0), QStringLiteral("Button1"));
    EXPECT_EQ(document->OITitle()->text(), QStringLiteral(" Button1: TButton"));
    EXPECT_EQ(document->InspectedObject(), document->PreviewForm()->FindOwnedComponent("Button1"));
}

TEST_F(PreviewTest, SelectingATabSheetBringsItToTheFront) {
    DocumentWindow* document = NewDocument(
        "object Form1: TForm1\r\n"
        "  object PageControl1: TPageControl\r\n    Width = 300\r\n    Height = 200\r\n"
        "    ActivePage = TabSheet1\r\n"
        "    object TabSheet1: TTabSheet\r\n      Caption = 'One'\r\n    end\r\n"
        "    object TabSheet2: TTabSheet\r\n      Caption = 'Two'\r\n    end\r\n"
        "  end\r\n"
        "end\r\n");
    document->show();
    document->cmPreview();
    fw::rt::Object* second = document->PreviewForm()->FindOwnedComponent("TabSheet2");
    ASSERT_NE(second, nullptr);
    document->Tree()->SelectNode(document->Tree()->Nodes().FindNodeByName("TabSheet2"));
    EXPECT_EQ(document->InspectedObject(), second);
    QWidget* sheet = document->Desktop()->Realizer()->WidgetOf(*second).Widget;
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
}

TEST_F(PreviewTest, NoPointerSurvivesARebuild) {
    DocumentWindow* document =
        NewDocument("object Form1: TForm1\r\n  object Button1: TButton\r\n  end\r\nend\r\n");
    document->Tree()->SelectNode(document->Tree()->Nodes().FindNodeByName("Button1"));
    fw::rt::Object* old = document->InspectedObject();
    ASSERT_NE(old, nullptr);
    document->BuildPreview();
    EXPECT_NE(document->InspectedObject(), nullptr);
    EXPECT_EQ(document->InspectedObject(), document->PreviewForm()->FindOwnedComponent("Button1"))
        << "found again by name in the new preview";
    // A text without the object clears it.
    document->Editor()->setText(QStringLiteral("object Form1: TForm1\r\nend\r\n"));
    document->BuildPreview();
    EXPECT_EQ(document->InspectedObject(), nullptr);
}

TEST_F(PreviewTest, SaveFormImageProposesTheFormsNameAndWritesABitmap) {
    DocumentWindow* document = NewDocument(
        "object Form1: TForm1\r\n  ClientWidth = 120\r\n  ClientHeight = 80\r\n  Color = clRed\r\nend\r\n");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.bmp"));
    messages_.ImagePaths.push_back(path);
    document->mmSaveFormImageClick();
    ASSERT_EQ(messages_.ImageProposals, QStringList{QStringLiteral("Form1.bmp")});
    QImage image(path, "BMP");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(120, 80));
    EXPECT_EQ(image.pixelColor(60, 40), QColor(Qt::red));
    EXPECT_TRUE(messages_.Errors.isEmpty());
}

// Node resolution: each kind of node against a live form.
TEST(NodeResolve, EachKindOfNodeFindsItsLiveObject) {
    const std::string text =
        "object Form1: TForm1\r\n"
        "  object ListView1: TListView\r\n"
        "    Columns = <\r\n      item\r\n        Caption = 'A'\r\n      end\r\n"
        "      item\r\n        Caption = 'B'\r\n      end>\r\n"
        "  end\r\n"
        "  object StatusBar1: TStatusBar\r\n"
        "    Panels = <\r\n      item\r\n        Text = 'x'\r\n      end>\r\n"
        "  end\r\n"
        "  object Foo1: TFooButton\r\n  end\r\n"
        "end\r\n";
    fw::preview::PreviewContext preview;
    fw::rt::ClassRegistry& registry = preview.Registry();
    fw::rt::ObjectPtr form = fw::rt::CreateObject(registry.Of(fw::rt::cls::TForm), registry);
    std::vector<std::string> messages;
    fw::rt::BuildFormFromText(*form, text, registry, fw::CodePage::Default(), messages);
    fw::HierarchyLookup plain;
    const fw::Hierarchy h = fw::ScanHierarchy(fw::TextLines(text), plain);
    fw::rt::Object* listView = form->FindOwnedComponent("ListView1");
    fw::rt::Object* statusBar = form->FindOwnedComponent("StatusBar1");
    ASSERT_NE(listView, nullptr);
    ASSERT_NE(statusBar, nullptr);
    fw::rt::Object* columns = listView->SubObject("Columns");
    fw::rt::Object* panels = statusBar->SubObject("Panels");
    ASSERT_NE(columns, nullptr);
    ASSERT_EQ(columns->Items().size(), 2u);

    // The plain scan names collections TCollection and items TCollectionItem; as the
    // live scan does, give them their declared and item classes where the test needs.
    fw::Hierarchy live = h;
    for (fw::ObjectNode& n : live.Nodes) {
        if (n.Name == "Columns") n.ClassName = "TListColumns";
        if (n.Name == "Panels") n.ClassName = "TStatusPanels";
        if (n.Kind == fw::NodeKind::Item) n.ClassName = n.Line < 10 ? "TListColumn" : "TStatusPanel";
    }
    auto node = [&](const char* name, int nth = 0) {
        for (int i = 0; i < live.ObjectCount(); ++i)
            if (live.Nodes[static_cast<std::size_t>(i)].Name.rfind(name, 0) == 0 && nth-- == 0) return i;
        return -1;
    };
    const struct {
        const char* What;
        int Node;
        fw::rt::Object* Object;
        const char* Class;
    } cases[] = {
        {"top-level root", 0, form.get(), "TForm"},
        {"component", node("ListView1"), listView, "TListView"},
        {"collection of an unregistered declared type", node("Columns"), nullptr, nullptr},
        {"item", node("1 - item"), columns->Items()[1].get(), "TListColumn"},
        {"registered collection", node("Panels"), panels, "TStatusPanels"},
        {"unregistered class: its stand-in", node("Foo1"), form->FindOwnedComponent("Foo1"), "TFooButton"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ASSERT_GE(c.Node, 0);
        const fw::ResolvedNode r = fw::ResolveNode(live, c.Node, form.get(), registry);
        EXPECT_EQ(r.Object, c.Object);
        EXPECT_EQ(r.Class ? std::string(r.Class->Name()) : std::string(), c.Class ? c.Class : "");
    }
    // No preview yet: the root resolves to neither object nor class.
    const fw::ResolvedNode none = fw::ResolveNode(live, 0, nullptr, registry);
    EXPECT_EQ(none.Object, nullptr);
    EXPECT_EQ(none.Class, nullptr);
}

// Objects without a name, and objects inside inline frames (which the frame owns, and
// whose names the form may use again), are found by their place among the records read.
TEST(NodeResolve, UnnamedObjectsAndFrameObjectsByTheirPlace) {
    const std::string text =
        "object Form1: TForm1\r\n"
        "  object TLabel\r\n"
        "    Caption = 'First'\r\n"
        "  end\r\n"
        "  object Foo1: TFooButton\r\n"
        "    object Inner: TButton\r\n"
        "    end\r\n"
        "  end\r\n"
        "  object TLabel\r\n"
        "    Caption = 'Second'\r\n"
        "  end\r\n"
        "  object Button1: TButton\r\n"
        "  end\r\n"
        "  inline Frame1: TFrame\r\n"
        "    object Button1: TButton\r\n"
        "      Caption = 'In frame'\r\n"
        "    end\r\n"
        "    object TStatusBar\r\n"
        "      Panels = <\r\n        item\r\n          Text = 'p'\r\n        end>\r\n"
        "    end\r\n"
        "  end\r\n"
        "end\r\n";
    fw::preview::PreviewContext preview;
    fw::rt::ClassRegistry& registry = preview.Registry();
    fw::rt::ObjectPtr form = fw::rt::CreateObject(registry.Of(fw::rt::cls::TForm), registry);
    std::vector<fw::rt::BuildMessage> messages;
    std::vector<fw::rt::ReadObject> records;
    fw::rt::BuildFormFromText(*form, text, registry, fw::CodePage::Default(), messages, nullptr, &records);
    fw::HierarchyLookup plain;
    fw::Hierarchy h = fw::ScanHierarchy(fw::TextLines(text), plain);
    for (fw::ObjectNode& n : h.Nodes) {
        if (n.Name == "Panels") n.ClassName = "TStatusPanels";
        if (n.Kind == fw::NodeKind::Item) n.ClassName = "TStatusPanel";
    }
    const auto caption = [&](int node) {
        const fw::rt::Object* o = fw::ResolveNode(h, node, form.get(), registry, &records).Object;
        if (!o) return std::string("<none>");
        const fw::rt::Property* p = o->FindProperty("Caption");
        if (!p) p = o->FindProperty("Text");
        return p ? std::get<std::string>(o->Get(*p)) : std::string("<no caption>");
    };
    // The nodes in display order: Form1, TLabel, Foo1, Inner, TLabel, Button1,
    // Frame1, Button1, TStatusBar, Panels, the item.
    ASSERT_EQ(h.ObjectCount(), 11);
    const struct {
        int Node;
        std::string Caption;
    } cases[] = {
        {1, "First"},  {2, ""},  // a class the preview does not know: its stand-in, drawn as a panel
        {3, ""},                 // a known class inside it, built normally
        {4, "Second"}, {7, "In frame"}, {10, "p"},  // an item of a collection whose owner has no name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Node);
        EXPECT_EQ(caption(c.Node), c.Caption);
    }
    EXPECT_EQ(fw::ResolveNode(h, 5, form.get(), registry, &records).Object,
              form->FindOwnedComponent("Button1"));
    const fw::rt::Object* statusBar = fw::ResolveNode(h, 8, form.get(), registry, &records).Object;
    ASSERT_NE(statusBar, nullptr);
    EXPECT_EQ(statusBar->ClassName(), "TStatusBar");

    // Without the records an unnamed object cannot be found, and a name finds the form's
    // own component.
    EXPECT_EQ(fw::ResolveNode(h, 4, form.get(), registry).Object, nullptr);
    EXPECT_EQ(fw::ResolveNode(h, 7, form.get(), registry).Object, form->FindOwnedComponent("Button1"));
    // A tree that no longer agrees with the records (the text changed since): an unnamed
    // node whose place holds another class finds nothing, a named one falls back to its
    // name.
    fw::Hierarchy moved = h;
    moved.Nodes[4].ClassName = "TEdit";
    moved.Nodes[2].Name = "button1";
    moved.Nodes[2].ClassName = "TButton";
    EXPECT_EQ(fw::ResolveNode(moved, 4, form.get(), registry, &records).Object, nullptr);
    EXPECT_EQ(fw::ResolveNode(moved, 2, form.get(), registry, &records).Object,
              form->FindOwnedComponent("Button1"));
}

}  // namespace
