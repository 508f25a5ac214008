#pragma once
// ObjectTreeView: the document's object tree, Tree. It shows the nodes of the last
// hierarchy scan (column 0 the name, with the child count where there are children;
// column 1 the class) with their images, selects whole rows, selects the row under the
// pointer before its popup menu opens, and has a type-ahead search over all nodes.
// A node of an object from an ancestor's or a frame's file has the file as its hint,
// and one the text does not write is drawn in the disabled text colour.

#include <QElapsedTimer>
#include <QString>
#include <QTreeWidget>
#include <vector>

#include "document/objectscan.h"

class QMenu;

namespace fw {

class ObjectTreeView : public QTreeWidget {
    Q_OBJECT
public:
    // Typed text older than this many milliseconds is dropped before the next key.
    static constexpr int TypeAheadResetMs = 500;

    explicit ObjectTreeView(QWidget* parent = nullptr);

    // Replaces every row by the nodes of a scan, in one batch update that repaints once.
    void Fill(Hierarchy hierarchy);
    // The nodes now shown, in display order.
    const Hierarchy& Nodes() const { return hierarchy_; }
    // The nodes' lines moved after a change of the text that kept its objects
    // (Hierarchy::ShiftLines); the rows stay as they are.
    void ShiftLines(int from, int by) { hierarchy_.ShiftLines(from, by); }

    // The row of a node, nullptr for an index out of range.
    QTreeWidgetItem* ItemOfNode(int node) const;
    // The node of a row, -1 for none.
    int NodeOfItem(const QTreeWidgetItem* item) const;
    // The focused node (the current row), -1 when there is none.
    int FocusedNode() const;
    // Makes a node the focused one without selecting it.
    void FocusNode(int node);
    // Makes a node the focused one and selects it, scrolling it into view; nothing for
    // -1. Selecting a node that is already the selected current one changes nothing.
    void SelectNode(int node);

    // The menu that a right click (or the menu key) opens.
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }

    // Type-ahead: the typed text grows with each key until TypeAheadResetMs pass
    // without one; each search starts over at the first node and looks at every node,
    // collapsed ones too. The first match is focused and selected.
    void keyboardSearch(const QString& search) override;
    // The text the type-ahead search holds now.
    QString TypedText() const { return typed_; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    Hierarchy hierarchy_;
    std::vector<QTreeWidgetItem*> items_;
    QMenu* popupMenu_ = nullptr;
    QString typed_;
    QElapsedTimer lastKey_;
};

}  // namespace fw
