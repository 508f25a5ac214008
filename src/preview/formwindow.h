#pragma once
// The previewed form as a window on the virtual desktop: the frame and title bar its
// BorderStyle and BorderIcons ask for (caption, icon, the caption buttons), the menu
// bar of its main menu, and the client area in which its controls are realised. Drawn
// as a Windows 10 window at 96 DPI.

#include <QImage>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/object.h"
#include "runtime/wholeform.h"

class QMenuBar;

namespace fw::preview {

// The largest window the preview draws, a side: the largest screen a form can meet.
// A form asking for more is cut to this, so that a few bytes of text asking for a
// 40000 x 40000 form do not make the preview paint and grab gigabytes.
inline constexpr int MaxWindowSide = 16384;

// The sizes of a window's non-client parts, in pixels.
struct FrameMetrics {
    int Border = 0;   // frame width on each side
    int Caption = 0;  // title bar height, 0 for none
    int Menu = 0;     // menu bar height, 0 for none
    bool SmallCaption = false;
    int BorderWidth = 0;  // the form's own border inside the frame
};

// The metrics of a form's BorderStyle, BorderIcons, Menu and BorderWidth, as the
// runtime's layout sized the form with them.
FrameMetrics FrameMetricsOf(const rt::Object& form);

// What a window's title bar shows and how its frame behaves, from the BorderStyle the
// form stores and its BorderIcons, as Windows draws them.
struct WindowChrome {
    FrameMetrics Metrics;
    bool Icon = false;  // the system menu's icon at the caption's left
    bool Close = false;
    bool Help = false;
    // The minimize and maximize buttons come as a pair: when BorderIcons asks for only
    // one, both are drawn and the other is disabled.
    bool MinMax = false;
    bool MinimizeEnabled = false;
    bool MaximizeEnabled = false;
    bool Resizable = false;  // a sizing frame: bsSizeable and bsSizeToolWin
};

// The chrome of a form drawn with the given BorderStyle ("bsDialog", ...; empty for the
// form's own value). The form's layout may have run with another BorderStyle: only the
// frame's drawing follows this one, with the form's Menu and BorderWidth.
WindowChrome ChromeOf(const rt::Object& form, std::string_view borderStyle);

// What a form file's root is: a form, a frame (drawn without title bar or window
// frame) or a data module (a plain area with its components as labelled icons).
enum class RootKind { Form, Frame, DataModule };

// The kind of preview a root built as `base` gets.
RootKind RootKindOfBase(rt::RootBase base);

// A whole number the object writes itself (one of its Stored() values, such as the
// Left and Top of a non-visual component's designer position); 0 when it has none.
std::int64_t StoredOrdinal(const rt::Object& object, std::string_view name);

// Shows the components of a data module that are not controls as small labelled
// icons at their designer positions (the Left and Top stored on them), on parent.
void AddComponentIcons(const rt::Object& root, QWidget* parent);

// Whether the form's Menu holds a main menu with at least one visible item.
bool HasMenuBar(const rt::Object& form);

class FormWindow : public QWidget {
    Q_OBJECT
public:
    // A window for the form, of the form's Width and Height as the runtime's layout set
    // them, at most MaxWindowSide a side, the client area inside the frame. The frame is
    // drawn for borderStyle (empty for the form's own BorderStyle) around the client
    // area the layout gave the form.
    FormWindow(rt::Object& form, QWidget* parent, std::string_view borderStyle = {});

    // The size the form asked for, before the cut to MaxWindowSide.
    QSize AskedSize() const { return asked_; }

    // Where the controls go: the client area, in the form's colour.
    QWidget* ClientArea() const { return client_; }
    QMenuBar* MenuBar() const { return menuBar_; }
    const FrameMetrics& Metrics() const { return chrome_.Metrics; }
    const WindowChrome& Chrome() const { return chrome_; }
    // The client area as the form paints it: its colour, then its controls.
    QImage GrabClient() const;
    // The whole window, title bar and frame included.
    QImage GrabWindow() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildMenuBar(const rt::Object& menu);

    rt::Object& form_;
    WindowChrome chrome_;
    QSize asked_;
    QWidget* client_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QString caption_;
    QImage icon_;
};

}  // namespace fw::preview
