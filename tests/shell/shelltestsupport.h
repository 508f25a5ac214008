#pragma once
// Shared pieces of the shell tests: the application object, a UserMessages that
// answers from a script and records what it was shown, and event helpers.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QStringList>
#include <deque>
#include <optional>

#include "document/usermessages.h"
#include "shell/application.h"

namespace fw::test {

// The test program's application object: the program's own, so that its error
// handling is under test too. Widgets run on the offscreen platform.
inline FwApplication& App() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fw_shell_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: widgets of failed tests may still refer to it at exit.
    static FwApplication* app = new FwApplication(argc, argv);
    return *app;
}

// Delivers pending events, including the deletion of closed windows.
inline void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Answers from scripted values and keeps every text it was shown. A question nobody
// scripted fails the test and gets No / cancel.
class RecordingMessages : public UserMessages {
public:
    std::deque<bool> confirmAnswers;
    std::deque<Answer> choiceAnswers;  // of ConfirmOrCancel, which records into confirms too
    std::deque<std::optional<FormEncoding>> saveTypes;
    std::deque<QString> savePaths;
    std::deque<QString> moduleFiles;   // answers of the executable/package open dialog
    QList<QStringList> moduleFilters;  // the filters that dialog offered, per question
    std::deque<QString> folders;       // answers of the folder chooser
    QStringList confirms, warnings, informations, errors;
    QStringList savePathProposals;

    bool Confirm(const QString& text) override {
        confirms << text;
        if (confirmAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return false;
        }
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    Answer ConfirmOrCancel(const QString& text) override {
        confirms << text;
        if (choiceAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return Answer::Cancel;
        }
        const Answer answer = choiceAnswers.front();
        choiceAnswers.pop_front();
        return answer;
    }
    void Warning(const QString& text) override { warnings << text; }
    void Information(const QString& text) override { informations << text; }
    void Error(const QString& text) override { errors << text; }
    std::optional<FormEncoding> AskSaveType(FormEncoding) override {
        if (saveTypes.empty()) {
            ADD_FAILURE() << "unexpected save-type question";
            return std::nullopt;
        }
        const auto answer = saveTypes.front();
        saveTypes.pop_front();
        return answer;
    }
    QString AskOpenModuleFile(const QStringList& filters) override {
        moduleFilters << filters;
        if (moduleFiles.empty()) {
            ADD_FAILURE() << "unexpected open-module question";
            return {};
        }
        const QString answer = moduleFiles.front();
        moduleFiles.pop_front();
        return answer;
    }
    QString AskFolder(const QString&) override {
        if (folders.empty()) {
            ADD_FAILURE() << "unexpected folder question";
            return {};
        }
        const QString answer = folders.front();
        folders.pop_front();
        return answer;
    }
    QString AskSavePath(const QString& proposedPath) override {
        savePathProposals << proposedPath;
        if (savePaths.empty()) {
            ADD_FAILURE() << "unexpected save-path question";
            return {};
        }
        const QString answer = savePaths.front();
        savePaths.pop_front();
        return answer;
    }
};

}  // namespace fw::test
