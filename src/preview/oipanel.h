#pragma once
// OIPanel: the right-hand pane of a document window. Under the title OITitle it shows
// the selected object's properties and events as trees (values the form text sets in
// bold), a preview of a picture-valued property, which can be saved, and below a
// splitter the object's class ancestry.

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "preview/oirows.h"
#include "preview/propertyeditors.h"
#include "runtime/registry.h"

class QAction;
class QLabel;
class QScrollArea;
class QSplitter;
class QTabWidget;

namespace fw::preview {

// Where the image control draws a picture of a size in a control of a size, when it
// does not tile: with stretch and preserveRatio, scaled by the larger of the two side
// ratios (each side rounded to the nearest integer, halves to even); with stretch
// alone, the whole control; else the picture's own size. The picture sits at the
// top-left, or centred with half the free space (rounded toward zero).
QRect PictureTarget(QSize picture, QSize control, bool stretch, bool preserveRatio, bool center);

// The image control: a control that owns its picture and draws it stretched, centred or
// tiled on its background colour. It starts with auto-size and preserve-ratio on,
// stretch, centring, tiling and transparency off, on clBtnFace.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    // The picture: the image drawn (null for a graphic that is not drawn here), the
    // graphic's size, and the bytes a save writes. With auto-size on, a picture of
    // positive size sizes the control.
    void SetPicture(const QImage& image, QSize size, std::vector<std::uint8_t> fileBytes);
    // Empties the picture.
    void ClearPicture();
    // Whether the control holds a graphic, even an empty one.
    bool HasGraphic() const { return hasGraphic_; }
    QSize PictureSize() const { return size_; }
    const QImage& PictureImage() const { return image_; }
    const std::vector<std::uint8_t>& FileBytes() const { return fileBytes_; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    bool PreserveRatio() const { return preserveRatio_; }
    void SetPreserveRatio(bool on);
    bool Center() const { return center_; }
    void SetCenter(bool on);
    bool Tile() const { return tile_; }
    void SetTile(bool on);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    QColor Background() const { return background_; }
    void SetBackground(const QColor& colour);

signals:
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage image_;
    QSize size_;
    std::vector<std::uint8_t> fileBytes_;
    bool hasGraphic_ = false;
    bool autoSize_ = true;
    bool preserveRatio_ = true;
    bool stretch_ = false;
    bool center_ = false;
    bool tile_ = false;
    bool transparent_ = false;
    QColor background_;
};

class OIPanel : public QWidget {
    Q_OBJECT
public:
    // The pages of pcOI.
    enum Page { PropertiesPage = 0, EventsPage = 1, ImagePage = 2 };
    // The columns of both trees.
    enum Column { NameColumn = 0, TypeColumn = 1, ValueColumn = 2 };

    explicit OIPanel(QWidget* parent = nullptr);

    QLabel* OITitle() const { return oiTitle_; }
    QTabWidget* PageControl() const { return pcOI_; }
    QTreeWidget* PropertyTree() const { return oipTree_; }
    QTreeWidget* EventTree() const { return oieTree_; }
    QTreeWidget* ClassTree() const { return hTree_; }
    QSplitter* HSplitter() const { return hSplitter_; }
    QLabel* PropTitle() const { return propTitle_; }
    QLabel* ImageTitle() const { return imageTitle_; }
    PictureView* Image() const { return image_; }
    QScrollArea* ImageBox() const { return imageBox_; }
    QAction* SaveAction() const { return saveAction_; }
    // The save dialog's filter that the last picture preview left, as "Bitmaps (*.bmp)";
    // ";;" separates several.
    QString SaveFilter() const { return saveFilter_; }

    // The row an item of either tree shows; nullptr for none.
    static const InspectorRow* RowOf(const QTreeWidgetItem* item);
    // The item at a dotted path of names ("Font.Height") in a tree; nullptr for none.
    static QTreeWidgetItem* FindItem(const QTreeWidget* tree, const QString& path);
    // The number of items at all levels of a tree.
    static int CountItems(const QTreeWidget* tree);

    // Fills both trees for a live object, or with the text-only view for nullptr, from
    // the lines the form text writes inside the object (CollectObjectLines; none for a
    // collection or an item); hides the picture page. writtenName: the name the text
    // gives the object, shown for its Name (see FillProperties).
    // originOf, when given, tells where the value at a dotted property path comes from
    // ("From base.dfm", "Default"), shown as the hint of the row's value.
    using ValueOrigin = std::function<QString(const std::string& path)>;
    void FillInspector(rt::Object* object, const std::vector<std::string>& sourceLines,
                       std::string_view writtenName = {}, const ValueOrigin& originOf = {});
    // The chain of classes from the class (bold, at the top) down to TObject, or
    // "<No info available>" for none. A stand-in shows standInLine (its class line, as
    // "TFoo (not registered)") alone: its ancestry is the runtime's, not its class's.
    void FillClassTree(const rt::Class* cls, const QString& standInLine = {});
    // The "Type" columns show with showTypeCol while an object is inspected; the class
    // tree and its splitter with showHTree.
    void ApplyOptions(bool showTypeCol, bool showHTree, bool inspecting);
    // Drops every row's object, for when the live objects go away and nothing is
    // inspected in their place; the rows stay.
    void ForgetObjects();

    // Selection change in the properties tree: previews the picture the row's object
    // holds, if any.
    void OIPTreeChange(QTreeWidgetItem* item);
    // Double-click in the properties tree: brings a visible picture page to the front.
    void OIPTreeDblClick();
    // Double-click on the image: switches between natural size and fitting the width.
    void ImageDblClick();
    // "Save...": asks for a file with the current filter and writes the graphic's own
    // bytes to it, whatever the extension. Throws when the file cannot be written.
    void pmSaveClick();
    // Header click: sorts the tree by the column, reversing when it is the sort column
    // already.
    void OITreeHeaderClick(QTreeWidget* tree, int column);

    // The save dialog: given the filter, returns the chosen path or "" for cancel.
    // Unset, a save is cancelled.
    void SetSaveDialog(std::function<QString(const QString& filter)> ask) { askSavePath_ = std::move(ask); }
    // Runs the save command so that an error reaches the user. Unset, the error is
    // logged.
    void SetErrorHandler(std::function<void(const std::function<void()>&)> run) {
        runGuarded_ = std::move(run);
    }

    // What the editors edit: the inspected object's path as the form's editor names it
    // ("Button1", "Form1.Panel1.#2"), and the prefix of its property paths (for an item
    // of a collection, "Columns[1]." on the owner). An empty path leaves every row
    // read-only, as for an object no line of the text writes.
    void SetEditTarget(const QString& objectPath, const QString& propertyPrefix = {});
    QString EditObjectPath() const { return editObject_; }
    // The dialogs the editors' "..." buttons open; the standard ones until set.
    void SetDialogs(EditorDialogs dialogs) { dialogs_ = std::move(dialogs); }
    // Opens the in-place editor of an item of either tree, in its value column, when its
    // row can be edited (double-click, a click on the value, F2 or Enter do this);
    // answers whether it did.
    bool BeginEdit(QTreeWidgetItem* item);
    // The open editor, or nullptr.
    ValueEditor* ActiveEditor() const { return editor_.data(); }
    // Closes the open editor without committing.
    void CancelEdit();
    // The dotted path of names of an item ("Font.Style"), "" for nullptr.
    static QString ItemPath(const QTreeWidgetItem* item);
    // The page shown and the dotted path of the current item of its tree, and making
    // them current again after the trees were filled anew.
    QString CurrentPath() const;
    void RestoreCurrent(const QString& path);

signals:
    // The user committed a value in an editor: on the object at objectPath the
    // properties at these dotted paths take these values in form-text syntax ('OK',
    // [akLeft, akTop], clRed, 12, Button1Click); an empty value removes the property.
    // "Name" gives the object's new name.
    // A font gives each of its changed sub-properties; everything else one.
    void PropertyEdited(const QString& objectPath, const QStringList& properties, const QStringList& values);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The sort state of a tree: the column last clicked (-1 for none) and its direction.
    struct SortState {
        int Column = -1;
        Qt::SortOrder Order = Qt::AscendingOrder;
    };

    QTreeWidget* MakeTree(const QString& name);
    void AddRows(QTreeWidget* tree, QTreeWidgetItem* parent, const std::vector<InspectorRow>& rows,
                 const ValueOrigin& originOf = {}, const std::string& prefix = {});

    QLabel* oiTitle_ = nullptr;
    QSplitter* hSplitter_ = nullptr;
    QTabWidget* pcOI_ = nullptr;
    QTreeWidget* oipTree_ = nullptr;
    QTreeWidget* oieTree_ = nullptr;
    QTreeWidget* hTree_ = nullptr;
    QLabel* propTitle_ = nullptr;
    QLabel* imageTitle_ = nullptr;
    QScrollArea* imageBox_ = nullptr;
    PictureView* image_ = nullptr;
    QAction* saveAction_ = nullptr;
    QString saveFilter_;
    bool showTypeCol_ = false;
    SortState propertySort_;
    SortState eventSort_;
    QString editObject_;
    QString editPrefix_;
    EditorDialogs dialogs_ = EditorDialogs::Standard();
    QPointer<ValueEditor> editor_;
    std::function<QString(const QString&)> askSavePath_;
    std::function<void(const std::function<void()>&)> runGuarded_;
};

}  // namespace fw::preview
