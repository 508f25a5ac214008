// A whole editing session as a user has it: a form file opened, a caption changed in the
// inspector, a button dragged on the preview, a further change undone, the file saved;
// the saved file differs from the opened one in exactly the edited lines, and its old
// content is kept as the backup.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "codec/textlines.h"
#include "document/documentwindow.h"
#include "document/formdocument.h"
#include "document/objecttreeview.h"
#include "documenttestsupport.h"
#include "preview/designoverlay.h"
#include "preview/oipanel.h"
#include "preview/previewcontext.h"
#include "preview/propertyeditors.h"
#include "preview/virtualdesktop.h"

namespace {

using fw::DocumentWindow;
using fw::preview::OIPanel;

constexpr const char* SessionForm =
    "object Form1: TForm1\r\n"
    "  Left = 0\r\n"
    "  Top = 0\r\n"
    "  Caption = 'Order'\r\n"
    "  ClientHeight = 200\r\n"
    "  ClientWidth = 300\r\n"
    "  object Label1: TLabel\r\n"
    "    Left = 8\r\n"
    "    Top = 100\r\n"
    "    Width = 40\r\n"
    "    Height = 13\r\n"
    "    Caption = 'Amount'\r\n"
    "  end\r\n"
    "  object Button1: TButton\r\n"
    "    Left = 16\r\n"
    "    Top = 16\r\n"
    "    Width = 75\r\n"
    "    Height = 25\r\n"
    "    Caption = 'OK'\r\n"
    "    TabOrder = 0\r\n"
    "  end\r\n"
    "end\r\n";

// The lines that differ between two texts of the same number of lines, as
// "before -> after", in order.
std::vector<std::string> ChangedLines(const std::string& before, const std::string& after) {
    const std::vector<std::string> a = fw::CopyTextLines(before), b = fw::CopyTextLines(after);
    EXPECT_EQ(a.size(), b.size());
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) changed.push_back(a[i] + " -> " + b[i]);
    return changed;
}

TEST(EditSession, InspectorAndPreviewEditsUndoAndSaveChangeOnlyTheEditedLines) {
    fw::test::EnsureApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Order.dfm"));
    fw::test::WriteAll(path, QByteArray(SessionForm));

    fw::preview::PreviewContext preview;
    fw::test::RecordingMessages messages;
    QPointer<DocumentWindow> document = new DocumentWindow(messages, fw::CodePage::Default(), preview);
    document->resize(900, 650);
    document->show();
    document->OpenDocumentFile(path);
    document->TabSet()->setCurrentIndex(1);

    // The caption, typed into the inspector's row for the selected button.
    const int button = document->Tree()->Nodes().FindNodeByName("Button1");
    ASSERT_GE(button, 0);
    document->Tree()->SelectNode(button);
    OIPanel* inspector = document->Inspector();
    QTreeWidgetItem* caption = OIPanel::FindItem(inspector->PropertyTree(), QStringLiteral("Caption"));
    ASSERT_NE(caption, nullptr);
    ASSERT_TRUE(inspector->BeginEdit(caption));
    ASSERT_NE(inspector->ActiveEditor()->Line(), nullptr);
    inspector->ActiveEditor()->Line()->setText(QStringLiteral("Send"));
    QTest::keyClick(inspector->ActiveEditor()->Line(), Qt::Key_Return);

    // The button dragged 20 pixels right and 9 down: it snaps to the nearest lines of the
    // 8-pixel grid, 40 and 24.
    fw::preview::DesignOverlay& overlay = *document->Desktop()->Overlay();
    const auto mouse = [&](QEvent::Type type, QPoint at) {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, overlay.mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&overlay, &event);
        QApplication::processEvents();
    };
    const QPoint onButton(40, 28);
    mouse(QEvent::MouseButtonPress, onButton);
    mouse(QEvent::MouseMove, onButton + QPoint(20, 9));
    mouse(QEvent::MouseButtonRelease, onButton + QPoint(20, 9));

    // A third change, taken back with one undo.
    const int label = document->Tree()->Nodes().FindNodeByName("Label1");
    document->Tree()->SelectNode(label);
    QTreeWidgetItem* labelCaption = OIPanel::FindItem(inspector->PropertyTree(), QStringLiteral("Caption"));
    ASSERT_NE(labelCaption, nullptr);
    ASSERT_TRUE(inspector->BeginEdit(labelCaption));
    inspector->ActiveEditor()->Line()->setText(QStringLiteral("Total"));
    QTest::keyClick(inspector->ActiveEditor()->Line(), Qt::Key_Return);
    ASSERT_NE(document->Document().TextBytes().indexOf("'Total'"), -1);
    document->cmUndo();

    ASSERT_TRUE(document->Document().Save());
    const std::string saved = fw::test::ReadAll(path).toStdString();
    EXPECT_EQ(ChangedLines(SessionForm, saved),
              (std::vector<std::string>{"    Left = 16 ->     Left = 40", "    Top = 16 ->     Top = 24",
                                        "    Caption = 'OK' ->     Caption = 'Send'"}));
    EXPECT_EQ(fw::test::ReadAll(dir.filePath(QStringLiteral("Order.~dfm"))), QByteArray(SessionForm));
    EXPECT_TRUE(messages.Errors.isEmpty()) << messages.Errors.join(QStringLiteral("\n")).toStdString();
    delete document.data();
}

}  // namespace
