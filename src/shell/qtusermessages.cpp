#include "shell/qtusermessages.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "document/savetypedialog.h"

namespace fw {

namespace {

const char* const kFormFileFilter = "Delphi Form files (*.dfm);;All files (*)";

void ShowBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok);
    box.exec();
}

}  // namespace

void QtUserMessages::DismissSplash() {
    if (splash_) splash_->close();
}

bool QtUserMessages::Confirm(const QString& text) {
    DismissSplash();
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmation"), text,
                    QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtUserMessages::Warning(const QString& text) {
    DismissSplash();
    ShowBox(QMessageBox::Warning, QStringLiteral("Warning"), text);
}

void QtUserMessages::Information(const QString& text) {
    DismissSplash();
    ShowBox(QMessageBox::Information, QStringLiteral("Information"), text);
}

void QtUserMessages::Error(const QString& text) {
    DismissSplash();
    ShowBox(QMessageBox::Critical, QStringLiteral("Error"), text);
}

std::optional<FormEncoding> QtUserMessages::AskSaveType() {
    DismissSplash();
    return TdlgType::Ask(dialogParent_);
}

QString QtUserMessages::AskSavePath() {
    DismissSplash();
    QFileDialog dialog(dialogParent_, QStringLiteral("Save As"), lastSaveFolder_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // AnyFile with AcceptSave: the folder must exist, the file may not; an existing
    // file is only replaced after the overwrite question.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromLatin1(kFormFileFilter));
    dialog.setDefaultSuffix(QStringLiteral("dfm"));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return {};
    lastSaveFolder_ = QFileInfo(files.first()).absolutePath();
    return files.first();
}

QString QtUserMessages::AskOpenDataFile() {
    DismissSplash();
    QFileDialog dialog(dialogParent_, QStringLiteral("Open"), lastDataFolder_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("All files (*)"));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return {};
    lastDataFolder_ = QFileInfo(files.first()).absolutePath();
    return files.first();
}

QString QtUserMessages::AskSaveImagePath(const QString& proposedName) {
    DismissSplash();
    QFileDialog dialog(dialogParent_, QStringLiteral("Save Form Image"), lastImageFolder_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Bitmaps (*.bmp)"));
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return {};
    lastImageFolder_ = QFileInfo(files.first()).absolutePath();
    return files.first();
}

QString QtUserMessages::AskSavePicturePath(const QString& filter) {
    DismissSplash();
    // The picture is written in its own format, so no extension is added to the name.
    QFileDialog dialog(dialogParent_, QStringLiteral("Save Picture"), lastPictureFolder_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return {};
    lastPictureFolder_ = QFileInfo(files.first()).absolutePath();
    return files.first();
}

QString QtUserMessages::AskOpenModuleFile(const QStringList& filters) {
    DismissSplash();
    QFileDialog dialog(dialogParent_, QStringLiteral("Open"), lastModuleFolder_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return {};
    lastModuleFolder_ = QFileInfo(files.first()).absolutePath();
    return files.first();
}

}  // namespace fw
