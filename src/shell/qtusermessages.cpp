#include "shell/qtusermessages.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <algorithm>

#include "base/codepage.h"
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

UserMessages::Answer QtUserMessages::ConfirmOrCancel(const QString& text) {
    DismissSplash();
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmation"), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
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

std::optional<FormEncoding> QtUserMessages::AskSaveType(FormEncoding preselected) {
    DismissSplash();
    return SaveTypeDialog::Ask(dialogParent_, preselected);
}

QString QtUserMessages::AskSavePath(const QString& proposedPath) {
    DismissSplash();
    const QFileInfo proposed(proposedPath);
    // A path whose folder has gone opens in the folder last saved to, with its name.
    const bool inFolder = proposed.isAbsolute() && proposed.absoluteDir().exists();
    QFileDialog dialog(dialogParent_, QStringLiteral("Save As"),
                       inFolder ? proposed.absolutePath() : lastSaveFolder_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // AnyFile with AcceptSave: the folder must exist, the file may not; an existing
    // file is only replaced after the overwrite question.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromLatin1(kFormFileFilter));
    dialog.setDefaultSuffix(QStringLiteral("dfm"));
    if (!proposed.fileName().isEmpty()) dialog.selectFile(proposed.fileName());
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return {};
    lastSaveFolder_ = QFileInfo(files.first()).absolutePath();
    return files.first();
}

std::optional<int> QtUserMessages::AskCodePage(int current) {
    DismissSplash();
    QStringList items;
    int currentIndex = 0;
    const std::vector<int> numbers = CodePage::Supported();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] == current) currentIndex = static_cast<int>(i);
        items << QStringLiteral("Windows-%1").arg(numbers[i]);
    }
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(dialogParent_, QStringLiteral("Code page"), QStringLiteral("Code page:"), items,
                              currentIndex, false, &ok);
    if (!ok) return {};
    const qsizetype index = items.indexOf(chosen);
    if (index < 0) return {};
    return numbers[static_cast<std::size_t>(index)];
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

QString QtUserMessages::AskFolder(const QString& title) {
    DismissSplash();
    return QFileDialog::getExistingDirectory(dialogParent_, title, QString(), QFileDialog::ShowDirsOnly);
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

std::optional<int> QtUserMessages::AskLineNumber(int current, int lineCount) {
    DismissSplash();
    bool ok = false;
    const int last = std::max(lineCount, 1);
    const int line = QInputDialog::getInt(dialogParent_, QStringLiteral("Go to Line"),
                                          QStringLiteral("Line number (1-%1):").arg(last),
                                          std::clamp(current, 1, last), 1, last, 1, &ok);
    if (!ok) return std::nullopt;
    return line;
}

}  // namespace fw
