#pragma once
// The user messages of the running program: message boxes without an owner window,
// the save-type dialog and the file dialogs.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "document/usermessages.h"

namespace fw {

class QtUserMessages : public UserMessages {
public:
    QtUserMessages() = default;

    // The window the file dialogs belong to (the main window); none until set.
    void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }
    // A splash window that must go before any box is shown: it stays on top and
    // would hide the box.
    void SetSplash(QWidget* splash) { splash_ = splash; }

    bool Confirm(const QString& text) override;
    Answer ConfirmOrCancel(const QString& text) override;
    void Warning(const QString& text) override;
    void Information(const QString& text) override;
    void Error(const QString& text) override;
    std::optional<FormEncoding> AskSaveType(FormEncoding preselected) override;
    QString AskSavePath(const QString& proposedPath) override;
    QString AskOpenDataFile() override;
    std::optional<int> AskCodePage(int current) override;
    QString AskSaveImagePath(const QString& proposedName) override;
    QString AskSavePicturePath(const QString& filter) override;
    QString AskOpenModuleFile(const QStringList& filters) override;
    QString AskFolder(const QString& title) override;
    std::optional<int> AskLineNumber(int current, int lineCount) override;

private:
    void DismissSplash();

    QPointer<QWidget> dialogParent_;
    QPointer<QWidget> splash_;
    QString lastSaveFolder_;
    QString lastDataFolder_;
    QString lastImageFolder_;
    QString lastPictureFolder_;
    QString lastModuleFolder_;
};

}  // namespace fw
