// The object tree of a document window: what a rescan shows (texts, classes, images,
// the count), the cases where it leaves things alone, the class-name column option,
// full expand and collapse, the type-ahead search, the popup menu and double-click.

#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <vector>

#include "document/documentwindow.h"
#include "document/treeimages.h"
#include "documenttestsupport.h"
#include "preview/oipanel.h"
#include "preview/previewcontext.h"
#include "runtime/object.h"

namespace {

using fw::DocumentWindow;
using fw::ObjectTreeView;
using fw::test::RecordingMessages;

constexpr const char* ListViewForm =
    "object Form1: TForm1\r\n"
    "  object ListView1: TListView\r\n"
    "    Columns = <\r\n"
    "      item\r\n"
    "        Caption = 'Name'\r\n"
    "      end\r\n"
    "      item\r\n"
    "        Caption = 'Size'\r\n"
    "      end>\r\n"
    "  end\r\n"
    "end\r\n";

constexpr const char* PanelForm =
    "object Form1: TForm1\r\n"
    "  object Panel1: TPanel\r\n"
    "    object Button1: TButton\r\n"
    "    end\r\n"
    "    object Button2: TButton\r\n"
    "    end\r\n"
    "  end\r\n"
    "  object Label1: TLabel\r\n"
    "  end\r\n"
    "  object Timer1: TTimer\r\n"
    "  end\r\n"
    "end\r\n";

// One row of the tree as it shows: both columns and the image's index.
struct Row {
    std::string Caption, ClassName;
    int Image;
    int Depth;
};

int ImageOf(const QTreeWidgetItem* item) {
    const qint64 key = item->icon(0).cacheKey();
    for (int i = 0; i < fw::TreeImageCount; ++i)
        if (fw::TreeImages()[static_cast<std::size_t>(i)].cacheKey() == key) return i;
    return -1;
}

int Depth(const QTreeWidgetItem* item) {
    int depth = 0;
    for (const QTreeWidgetItem* p = item->parent(); p != nullptr; p = p->parent())
        ++depth;
    return depth;
}

// The rows in display order, collapsed ones included.
std::vector<Row> Rows(const QTreeWidget* tree) {
    std::vector<Row> rows;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        rows.push_back(
            {(*it)->text(0).toStdString(), (*it)->text(1).toStdString(), ImageOf(*it), Depth(*it)});
    return rows;
}

void ExpectRows(const QTreeWidget* tree, const std::vector<Row>& expected) {
    const std::vector<Row> rows = Rows(tree);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(rows[i].Caption, expected[i].Caption);
        EXPECT_EQ(rows[i].ClassName, expected[i].ClassName);
        EXPECT_EQ(rows[i].Image, expected[i].Image);
        EXPECT_EQ(rows[i].Depth, expected[i].Depth);
    }
}

class ObjectTreeTest : public ::testing::Test {
protected:
    void SetUp() override { fw::test::EnsureApplication(); }
    void TearDown() override {
        for (const QPointer<DocumentWindow>& document : documents_)
            delete document.data();
    }
    DocumentWindow* NewDocument(const char* text = nullptr) {
        auto* document = new DocumentWindow(messages_, fw::CodePage::Default(), preview_);
        documents_.push_back(document);
        if (text) document->LoadFromLines(QByteArray(text));
        return document;
    }
    // Replaces the editor text as typing would, then rescans.
    static void Rescan(DocumentWindow* document, const char* text) {
        document->Editor()->setText(QString::fromUtf8(text));
        document->cmRescan();
    }
    static QTreeWidgetItem* ItemNamed(ObjectTreeView* tree, const char* caption) {
        const auto found =
            tree->findItems(QString::fromUtf8(caption), Qt::MatchExactly | Qt::MatchRecursive, 0);
        return found.isEmpty() ? nullptr : found.first();
    }

    // Outlives the documents, as the session does.
    fw::preview::PreviewContext preview_;
    RecordingMessages messages_;
    std::vector<QPointer<DocumentWindow>> documents_;
};

TEST_F(ObjectTreeTest, RescanShowsTheNodesOfTheText) {
    DocumentWindow* document = NewDocument();
    EXPECT_TRUE(document->Tree()->isHidden()) << "a new window starts without its tree";
    document->LoadFromLines(PanelForm);
    ObjectTreeView* tree = document->Tree();
    // Registered classes descending from TControl show the control image.
    ExpectRows(tree, {{"Form1 (3)", "TForm1", 1, 0},
                      {"Panel1 (2)", "TPanel", 2, 1},
                      {"Button1", "TButton", 2, 2},
                      {"Button2", "TButton", 2, 2},
                      {"Label1", "TLabel", 2, 1},
                      {"Timer1", "TTimer", 0, 1}});
    EXPECT_EQ(document->ObjectCount(), 6);
    EXPECT_EQ(document->PanelText(0), QStringLiteral("Object count: 6"));
    EXPECT_FALSE(tree->isHidden());
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->childCount() > 0) EXPECT_TRUE((*it)->isExpanded()) << (*it)->text(0).toStdString();
    // The caret is put on line 1, which holds the root; the tree follows it there.
    int line = -1, index = -1;
    document->Editor()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 0);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
}

TEST_F(ObjectTreeTest, CollectionsAndItemsAnswerFromTheLivePreview) {
    DocumentWindow* document = NewDocument(ListViewForm);
    ExpectRows(document->Tree(), {{"Form1 (1)", "TForm1", 1, 0},
                                  {"ListView1 (1)", "TListView", 2, 1},
                                  {"Columns (2)", "TListColumns", 3, 2},
                                  {"0 - Name", "TListColumn", 0, 3},
                                  {"1 - Size", "TListColumn", 0, 3}});
    EXPECT_EQ(document->PanelText(0), QStringLiteral("Object count: 5"));

    // A class the preview cannot create keeps the plain texts, and its error is listed.
    std::string unknown = ListViewForm;
    unknown.replace(unknown.find("TListView"), 9, "TFooView");
    Rescan(document, unknown.c_str());
    ExpectRows(document->Tree(), {{"Form1 (1)", "TForm1", 1, 0},
                                  {"ListView1 (1)", "TFooView", 0, 1},
                                  {"Columns (2)", "TCollection", 3, 2},
                                  {"0 - item", "TCollectionItem", 0, 3},
                                  {"1 - item", "TCollectionItem", 0, 3}});
    ASSERT_EQ(document->PreviewMessages().size(), 1u);
    EXPECT_EQ(document->PreviewMessages()[0], "ERROR=Class TFooView not found");
}

TEST_F(ObjectTreeTest, TextWithoutObjectsKeepsThePanelAndTheTreeAsTheyWere) {
    DocumentWindow* document = NewDocument(ListViewForm);
    ASSERT_EQ(document->PanelText(0), QStringLiteral("Object count: 5"));
    Rescan(document, "  Left = 1\r\n  Caption = 'my object = <x'\r\nend\r\n");
    EXPECT_EQ(document->Tree()->topLevelItemCount(), 0) << "the tree is cleared";
    EXPECT_EQ(document->ObjectCount(), 0);
    EXPECT_EQ(document->PanelText(0), QStringLiteral("Object count: 5"));
    EXPECT_FALSE(document->Tree()->isHidden());

    // A file without objects leaves a new window's tree hidden and its first count.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.dfm"));
    fw::test::WriteAll(path, "  Left = 1\r\n");
    DocumentWindow* opened = NewDocument();
    opened->OpenDocumentFile(path);
    EXPECT_TRUE(opened->Tree()->isHidden());
    EXPECT_EQ(opened->PanelText(0), QStringLiteral("Object count: 0"));

    // Lines handed over show the tree even when there are none.
    DocumentWindow* fresh = NewDocument();
    fresh->LoadFromLines({});
    EXPECT_FALSE(fresh->Tree()->isHidden());
}

TEST_F(ObjectTreeTest, FocusesTheFirstTopLevelNodeWithoutSelectingIt) {
    // A leading blank line keeps the caret above the root, so nothing selects it.
    DocumentWindow* document = NewDocument("\r\nobject Form1: TForm1\r\nend\r\n");
    ObjectTreeView* tree = document->Tree();
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    EXPECT_TRUE(tree->selectedItems().isEmpty());
}

TEST_F(ObjectTreeTest, ClassNameColumnAndFontFollowTheInterfaceOptions) {
    DocumentWindow* document = NewDocument(PanelForm);
    ObjectTreeView* tree = document->Tree();
    EXPECT_TRUE(tree->isColumnHidden(1)) << "hidden until the option is set";
    document->ApplyInterfaceOptions(false, true, true, false);
    EXPECT_FALSE(tree->isColumnHidden(1));
    EXPECT_EQ(document->Editor()->lexer()->font(0).pointSize(), 8);
    document->ApplyInterfaceOptions(false, false, false, false);
    EXPECT_TRUE(tree->isColumnHidden(1));
    EXPECT_EQ(document->Editor()->lexer()->font(0).pointSize(), 10);
}

TEST_F(ObjectTreeTest, FullExpandAndCollapse) {
    DocumentWindow* document = NewDocument(PanelForm);
    ObjectTreeView* tree = document->Tree();
    QTreeWidgetItem* panel = ItemNamed(tree, "Panel1 (2)");
    ASSERT_NE(panel, nullptr);
    document->cmCollapse();
    EXPECT_FALSE(tree->topLevelItem(0)->isExpanded());
    EXPECT_FALSE(panel->isExpanded());
    document->cmExpand();
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_TRUE(panel->isExpanded());
}

TEST_F(ObjectTreeTest, TypeAheadSearchesAllNodesFromTheFirst) {
    DocumentWindow* document = NewDocument(PanelForm);
    ObjectTreeView* tree = document->Tree();
    document->cmCollapse();
    tree->setCurrentItem(ItemNamed(tree, "Timer1"));

    // Collapsed nodes are searched, and the search starts at the first node.
    QTest::keyClicks(tree, QStringLiteral("but"));
    EXPECT_EQ(tree->currentItem(), ItemNamed(tree, "Button1"));
    EXPECT_TRUE(tree->currentItem()->isSelected());
    EXPECT_TRUE(ItemNamed(tree, "Panel1 (2)")->isExpanded()) << "the found node is brought into view";

    // A name that is a prefix of the typed text matches too.
    QTest::keyClicks(tree, QStringLiteral("ton1x"));
    EXPECT_EQ(tree->TypedText(), QStringLiteral("button1x"));
    EXPECT_EQ(tree->currentItem(), ItemNamed(tree, "Button1"));

    // After a pause the typed text starts over.
    QTest::qWait(ObjectTreeView::TypeAheadResetMs + 150);
    QTest::keyClicks(tree, QStringLiteral("l"));
    EXPECT_EQ(tree->TypedText(), QStringLiteral("l"));
    EXPECT_EQ(tree->currentItem(), ItemNamed(tree, "Label1"));
}

TEST_F(ObjectTreeTest, RightClickSelectsTheRowBeforeThePopup) {
    DocumentWindow* document = NewDocument(PanelForm);
    ObjectTreeView* tree = document->Tree();
    document->resize(900, 600);
    document->show();
    QTreeWidgetItem* label = ItemNamed(tree, "Label1");
    ASSERT_NE(label, nullptr);
    const QPoint at = tree->visualItemRect(label).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(tree->viewport(), &event);
    EXPECT_EQ(tree->currentItem(), label);
    EXPECT_TRUE(label->isSelected());
    EXPECT_TRUE(document->TreeMenu()->isVisible());
    document->TreeMenu()->hide();

    std::vector<std::pair<QString, QString>> items;
    for (QAction* action : document->TreeMenu()->actions())
        items.emplace_back(action->isSeparator() ? QStringLiteral("-") : action->text(),
                           action->shortcut().toString(QKeySequence::PortableText));
    EXPECT_EQ(items, (std::vector<std::pair<QString, QString>>{{"Goto source", "Ctrl+G"},
                                                               {"-", ""},
                                                               {"Full expand", "Ctrl+PgDown"},
                                                               {"Full collapse", "Ctrl+PgUp"},
                                                               {"-", ""},
                                                               {"Rescan hierarchy", "Ctrl+R"}}));
}

TEST_F(ObjectTreeTest, DoubleClickAndCtrlGGoToTheSource) {
    DocumentWindow* document = NewDocument(PanelForm);
    ObjectTreeView* tree = document->Tree();
    document->resize(900, 600);
    document->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(document));
    document->TabSet()->setCurrentIndex(1);
    QTreeWidgetItem* button = ItemNamed(tree, "Button2");
    ASSERT_NE(button, nullptr);
    const QPoint at = tree->visualItemRect(button).center();
    // The events a double click gives the view, press and release twice over.
    const QPointF global = tree->viewport()->mapToGlobal(QPointF(at));
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, QPointF(at), global, Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(tree->viewport(), &event);
    }
    EXPECT_EQ(document->Editor()->selectedText(), QStringLiteral("Button2: TButton"));
    int line = -1, index = -1;
    document->Editor()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 4);
    EXPECT_EQ(document->TabSet()->currentIndex(), 0);
    EXPECT_EQ(tree->currentItem(), button) << "the tree stays on the node";

    // Ctrl+G does the same while the tree has the focus.
    document->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(document));
    tree->setFocus();
    tree->setCurrentItem(ItemNamed(tree, "Label1"));
    QTest::keyClick(tree, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(document->Editor()->selectedText(), QStringLiteral("Label1: TLabel"));
}

// A form built whole: main.dfm inherits middle.dfm (beside it), which inherits base.dfm
// in a search folder; main.dfm holds a frame whose file is beside it.
TEST_F(ObjectTreeTest, ObjectsOfAncestorAndFrameFilesAreGreyNodesWithTheirFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkpath(QStringLiteral("lib"));
    QDir(dir.path()).mkpath(QStringLiteral("proj"));
    const auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    fw::test::WriteAll(path("lib/base.dfm"),
                       "object BaseForm: TBaseForm\r\n  Caption = 'Base'\r\n  object TopPanel: TPanel\r\n"
                       "    Align = alTop\r\n    object Title: TLabel\r\n    end\r\n  end\r\n"
                       "  object OkButton: TButton\r\n  end\r\n  object Timer1: TTimer\r\n  end\r\nend\r\n");
    fw::test::WriteAll(path("proj/P.dpr"), "program P;\r\nend.\r\n");
    fw::test::WriteAll(path("proj/mainu.pas"),
                       "unit mainu;\r\ninterface\r\ntype\r\n  TMainForm = class(TMiddleForm)\r\n  end;\r\n"
                       "  TMiddleForm = class(TBaseForm)\r\n  end;\r\nimplementation\r\nend.\r\n");
    fw::test::WriteAll(path("proj/middle.dfm"),
                       "inherited MiddleForm: TMiddleForm\r\n  object NameEdit: TEdit\r\n  end\r\nend\r\n");
    fw::test::WriteAll(
        path("proj/frame.dfm"),
        "object AddressFrame: TAddressFrame\r\n  TabOrder = 0\r\n  object StreetLabel: TLabel\r\n"
        "  end\r\n  object StreetEdit: TEdit\r\n  end\r\nend\r\n");
    fw::test::WriteAll(
        path("proj/main.dfm"),
        "inherited MainForm: TMainForm\r\n  inherited OkButton: TButton\r\n    Caption = 'Save'\r\n"
        "  end\r\n  inline Frame1: TAddressFrame\r\n    inherited StreetLabel: TLabel\r\n"
        "      Caption = 'Road'\r\n    end\r\n  end\r\n  object Extra: TButton\r\n  end\r\nend\r\n");
    DocumentWindow* document = NewDocument();
    document->SetFormSearchFolders({path("lib")});
    document->OpenDocumentFile(path("proj/main.dfm"));
    ObjectTreeView* tree = document->Tree();

    // Each row: its depth, whether it is greyed and the file in its hint. The files come
    // before the text among a node's children, in the order they were read, a form's
    // non-visual components before its controls, as a form stream writes them.
    const QString base = QFileInfo(path("lib/base.dfm")).absoluteFilePath();
    const QString middle = QFileInfo(path("proj/middle.dfm")).absoluteFilePath();
    const QString frame = QFileInfo(path("proj/frame.dfm")).absoluteFilePath();
    struct Expected {
        const char* Name;
        int Depth;
        bool Grey;
        QString File;
    };
    const Expected expected[] = {
        {"MainForm", 0, false, {}}, {"Timer1", 1, true, base},      {"TopPanel", 1, true, base},
        {"Title", 2, true, base},   {"NameEdit", 1, true, middle},  {"OkButton", 1, false, base},
        {"Frame1", 1, false, {}},   {"StreetEdit", 2, true, frame}, {"StreetLabel", 2, false, frame},
        {"Extra", 1, false, {}},
    };
    const QColor grey = tree->palette().color(QPalette::Disabled, QPalette::Text);
    std::vector<std::string> shown;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        shown.push_back((*it)->text(0).section(' ', 0, 0).toStdString());
    std::vector<std::string> names;
    for (const Expected& e : expected)
        names.push_back(e.Name);
    ASSERT_EQ(shown, names);
    int row = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++row) {
        const Expected& e = expected[row];
        SCOPED_TRACE(e.Name);
        EXPECT_EQ(Depth(*it), e.Depth);
        EXPECT_EQ((*it)->foreground(0).color() == grey, e.Grey);
        EXPECT_EQ((*it)->toolTip(0), e.File.isEmpty() ? QString() : QStringLiteral("From ") + e.File);
    }

    // A grey node is inspected as the live object of its file, a frame's one as the
    // frame's own.
    for (const char* name : {"Title", "StreetEdit"}) {
        SCOPED_TRACE(name);
        tree->SelectNode(tree->Nodes().FindNodeByName(name));
        ASSERT_NE(document->InspectedObject(), nullptr);
        EXPECT_EQ(document->InspectedObject()->Name(), name);
    }
    EXPECT_EQ(document->InspectedObject()->Owner()->Name(), "Frame1");

    // The inspector tells where each value comes from: the text, an ancestor's file, or
    // nowhere (the default).
    tree->SelectNode(tree->Nodes().FindNodeByName("OkButton"));
    const struct {
        const char* Path;
        const char* Hint;
    } values[] = {{"Caption", "From this text"}, {"Align", "Default"}};
    for (const auto& v : values) {
        SCOPED_TRACE(v.Path);
        const QTreeWidgetItem* item = fw::preview::OIPanel::FindItem(document->Inspector()->PropertyTree(),
                                                                     QString::fromLatin1(v.Path));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->toolTip(fw::preview::OIPanel::ValueColumn), QString::fromLatin1(v.Hint));
    }
    tree->SelectNode(tree->Nodes().FindNodeByName("TopPanel"));
    const QTreeWidgetItem* align =
        fw::preview::OIPanel::FindItem(document->Inspector()->PropertyTree(), "Align");
    ASSERT_NE(align, nullptr);
    EXPECT_EQ(align->toolTip(fw::preview::OIPanel::ValueColumn), QStringLiteral("From base.dfm"));
    // Goto source on a grey node: without a way to open the file, where it is written.
    ASSERT_TRUE(document->GotoObject(QStringLiteral("TopPanel")));
    EXPECT_EQ(messages_.Informations, QStringList{QStringLiteral("TopPanel is written in ") + base + u'.'});
    // With one, the file and the object are handed to it.
    QStringList opened;
    document->SetSourceFileOpener([&](const QString& file, const QString& name) {
        opened << file << name;
        return true;
    });
    ASSERT_TRUE(document->GotoObject(QStringLiteral("StreetEdit")));
    EXPECT_EQ(opened, (QStringList{frame, QStringLiteral("StreetEdit")}));
    EXPECT_EQ(messages_.Informations.size(), 1);
}

}  // namespace
