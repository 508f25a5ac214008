#pragma once
// The questions and messages the program puts to its user, behind one small interface:
// the shell answers them with message boxes and dialogs, tests with a recorder.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "codec/formformat.h"

namespace fw {

class UserMessages {
public:
    virtual ~UserMessages() = default;

    // The answers of a question that can also call off the command that asked it.
    enum class Answer { Yes, No, Cancel };

    // A question box captioned "Confirmation" with Yes and No; true for Yes.
    virtual bool Confirm(const QString& text) = 0;
    // A question box captioned "Confirmation" with Yes, No and Cancel; closing the box
    // or Escape is Cancel.
    virtual Answer ConfirmOrCancel(const QString& text) = 0;
    // A warning box captioned "Warning".
    virtual void Warning(const QString& text) = 0;
    // An information box captioned "Information".
    virtual void Information(const QString& text) = 0;
    // An error box with OK.
    virtual void Error(const QString& text) = 0;

    // The save-type dialog ("Save as", Text/Binary/Resource) with `preselected` chosen;
    // nothing when cancelled.
    virtual std::optional<FormEncoding> AskSaveType(FormEncoding preselected) = 0;
    // The save-file dialog (form-file filter, default extension "dfm", overwrite
    // prompt) proposing `proposedPath`: a full path opens in its folder with its name
    // filled in, a bare name is filled in within the folder last saved to. An empty
    // path when cancelled.
    virtual QString AskSavePath(const QString& proposedPath) = 0;
    // The open dialog of "Load and Paste Data..." (filter "All files (*)", the file must
    // exist); an empty path when cancelled. Without a dialog to show, it is cancelled.
    virtual QString AskOpenDataFile() { return {}; }
    // The code page of "Reopen/Save with code page...", one of CodePage::Supported()
    // with `current` offered; nothing when cancelled. Without a dialog to show, it is
    // cancelled.
    virtual std::optional<int> AskCodePage(int current) {
        (void)current;
        return {};
    }
    // The save dialog of "Save Form Image..." (filter "Bitmaps (*.bmp)|*.bmp", default
    // extension "bmp", overwrite prompt, the folder must exist) with the file name
    // proposed; an empty path when cancelled. Without a dialog to show, it is cancelled.
    virtual QString AskSaveImagePath(const QString& proposedName) {
        (void)proposedName;
        return {};
    }
    // The inspector's picture save dialog, with a filter for the picture's format (as
    // "Bitmaps (*.bmp)"), an overwrite prompt, the folder must exist; an empty path when
    // cancelled. Without a dialog to show, it is cancelled.
    virtual QString AskSavePicturePath(const QString& filter) {
        (void)filter;
        return {};
    }
    // The line number of Go to line, 1 to lineCount with `current` offered; nothing when
    // cancelled. Without a dialog to show, it is cancelled.
    virtual std::optional<int> AskLineNumber(int current, int lineCount) {
        (void)current;
        (void)lineCount;
        return std::nullopt;
    }
    // The open dialog for an executable or package file, offering the name filters in
    // the given order (each as "Label (*.ext1 *.ext2)", the first selected); the path
    // and the file must exist. An empty path when cancelled. Without a dialog to show,
    // it is cancelled.
    virtual QString AskOpenModuleFile(const QStringList& filters) {
        (void)filters;
        return {};
    }
    // The folder chooser, titled `title`; the folder must exist. An empty path when
    // cancelled. Without a dialog to show, it is cancelled.
    virtual QString AskFolder(const QString& title) {
        (void)title;
        return {};
    }
};

// Runs a command the way the application's default error handler would: an exception
// that escapes it is shown in an error box and the program goes on. Returns false when
// the command failed.
bool RunGuarded(UserMessages& messages, const std::function<void()>& command);

}  // namespace fw
