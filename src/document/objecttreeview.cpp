#include "document/objecttreeview.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <utility>

#include "document/treeimages.h"

namespace fw {

namespace {

constexpr int NodeRole = Qt::UserRole;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ObjectTreeView::ObjectTreeView(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("Object name"), QStringLiteral("Class Name")});
    setColumnWidth(0, 125);
    setColumnWidth(1, 100);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setUniformRowHeights(true);
    setIconSize(QSize(TreeImageSize, TreeImageSize));
    // A double click runs "Goto source"; it should not fold the node as well.
    setExpandsOnDoubleClick(false);
    setSortingEnabled(false);
}

void ObjectTreeView::Fill(Hierarchy hierarchy) {
    const auto& images = TreeImages();
    setUpdatesEnabled(false);
    clear();
    items_.clear();
    hierarchy_ = std::move(hierarchy);
    items_.reserve(hierarchy_.Nodes.size());
    // The rows are linked to each other before any of them enters the view, so the
    // model hears of one insertion instead of one per node.
    QList<QTreeWidgetItem*> topLevel;
    const QBrush outerText = palette().brush(QPalette::Disabled, QPalette::Text);
    for (std::size_t i = 0; i < hierarchy_.Nodes.size(); ++i) {
        const ObjectNode& node = hierarchy_.Nodes[i];
        auto* item = new QTreeWidgetItem;
        item->setText(0, FromUtf8(NodeCaption(node)));
        item->setText(1, FromUtf8(node.ClassName));
        if (node.ImageIndex >= 0 && node.ImageIndex < TreeImageCount)
            item->setIcon(0, images[static_cast<std::size_t>(node.ImageIndex)]);
        item->setData(0, NodeRole, static_cast<int>(i));
        // An object of an ancestor's or a frame's file says which; one the text does not
        // write at all is greyed.
        if (!node.SourceFile.empty()) {
            const QString hint = QStringLiteral("From %1").arg(FromUtf8(node.SourceFile));
            item->setToolTip(0, hint);
            item->setToolTip(1, hint);
        }
        if (node.Outer) {
            item->setForeground(0, outerText);
            item->setForeground(1, outerText);
        }
        if (node.Parent < 0) topLevel.append(item);
        items_.push_back(item);
    }
    // Each node's rows in the order of its children, which need not be the nodes' order.
    for (std::size_t i = 0; i < hierarchy_.Nodes.size(); ++i)
        for (const int child : hierarchy_.Nodes[i].Children)
            if (child >= 0 && static_cast<std::size_t>(child) < items_.size())
                items_[i]->addChild(items_[static_cast<std::size_t>(child)]);
    addTopLevelItems(topLevel);
    setUpdatesEnabled(true);
}

QTreeWidgetItem* ObjectTreeView::ItemOfNode(int node) const {
    if (node < 0 || node >= static_cast<int>(items_.size())) return nullptr;
    return items_[static_cast<std::size_t>(node)];
}

int ObjectTreeView::NodeOfItem(const QTreeWidgetItem* item) const {
    if (item == nullptr) return -1;
    bool ok = false;
    const int node = item->data(0, NodeRole).toInt(&ok);
    return ok ? node : -1;
}

int ObjectTreeView::FocusedNode() const {
    return NodeOfItem(currentItem());
}

void ObjectTreeView::FocusNode(int node) {
    QTreeWidgetItem* item = ItemOfNode(node);
    if (item == nullptr) return;
    selectionModel()->setCurrentIndex(indexFromItem(item), QItemSelectionModel::NoUpdate);
}

void ObjectTreeView::SelectNode(int node) {
    QTreeWidgetItem* item = ItemOfNode(node);
    if (item == nullptr) return;
    if (item == currentItem() && item->isSelected()) return;
    setCurrentItem(item);
    scrollToItem(item);
}

void ObjectTreeView::keyboardSearch(const QString& search) {
    if (search.isEmpty()) return;
    if (!lastKey_.isValid() || lastKey_.elapsed() > TypeAheadResetMs) typed_.clear();
    typed_ += search;
    lastKey_.restart();
    const std::string typed = typed_.toStdString();
    for (std::size_t i = 0; i < hierarchy_.Nodes.size(); ++i) {
        if (IncrementalSearchMatches(typed, hierarchy_.Nodes[i].Name)) {
            SelectNode(static_cast<int>(i));
            return;
        }
    }
}

void ObjectTreeView::contextMenuEvent(QContextMenuEvent* event) {
    QPoint at = event->pos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        // The popup's commands act on the row under the pointer.
        if (QTreeWidgetItem* item = itemAt(at)) SelectNode(NodeOfItem(item));
    } else if (QTreeWidgetItem* item = currentItem()) {
        at = visualItemRect(item).center();
    }
    if (popupMenu_ == nullptr) return;
    popupMenu_->popup(viewport()->mapToGlobal(at));
    event->accept();
}

}  // namespace fw
