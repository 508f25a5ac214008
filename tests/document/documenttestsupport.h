#pragma once
// Shared pieces of the document tests: the application object widgets need, a
// UserMessages that answers from a script and records what was asked, and file helpers.

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/usermessages.h"

namespace fw::test {

// Widgets need an application. The binary makes one for all its tests (see
// testapplication.cpp); this only checks that it is there.
inline void EnsureApplication() {
    ASSERT_NE(QApplication::instance(), nullptr) << "the test environment made no application";
}

// Answers questions from scripted values and keeps every text it was shown. A question
// that was not scripted fails the test and is answered No.
class RecordingMessages : public UserMessages {
public:
    std::deque<bool> ConfirmAnswers;
    std::deque<Answer> ChoiceAnswers;  // of ConfirmOrCancel, which records into Confirms too
    std::deque<std::optional<FormEncoding>> SaveTypes;
    std::deque<QString> SavePaths;
    std::deque<QString> OpenDataFiles;
    std::deque<QString> ImagePaths;
    QStringList ImageProposals;  // the file names the image save dialog proposed
    std::deque<QString> PicturePaths;
    std::deque<std::optional<int>> LineNumbers;            // answers of Go to line
    std::vector<std::pair<int, int>> LineNumberQuestions;  // its offered line and line count
    QStringList PictureFilters;                            // the filters the picture save dialog offered

    QStringList Confirms, Warnings, Informations, Errors;
    int SaveTypeQuestions = 0;
    int SavePathQuestions = 0;
    std::vector<FormEncoding> SaveTypePreselections;
    QStringList SavePathProposals;
    int OpenDataFileQuestions = 0;

    bool Confirm(const QString& text) override {
        Confirms << text;
        if (ConfirmAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return false;
        }
        const bool answer = ConfirmAnswers.front();
        ConfirmAnswers.pop_front();
        return answer;
    }
    Answer ConfirmOrCancel(const QString& text) override {
        Confirms << text;
        if (ChoiceAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return Answer::Cancel;
        }
        const Answer answer = ChoiceAnswers.front();
        ChoiceAnswers.pop_front();
        return answer;
    }
    void Warning(const QString& text) override { Warnings << text; }
    void Information(const QString& text) override { Informations << text; }
    void Error(const QString& text) override { Errors << text; }

    std::optional<FormEncoding> AskSaveType(FormEncoding preselected) override {
        ++SaveTypeQuestions;
        SaveTypePreselections.push_back(preselected);
        if (SaveTypes.empty()) {
            ADD_FAILURE() << "unexpected save-type question";
            return std::nullopt;
        }
        const auto answer = SaveTypes.front();
        SaveTypes.pop_front();
        return answer;
    }
    QString AskSaveImagePath(const QString& proposedName) override {
        ImageProposals << proposedName;
        if (ImagePaths.empty()) return {};
        const QString answer = ImagePaths.front();
        ImagePaths.pop_front();
        return answer;
    }
    QString AskSavePicturePath(const QString& filter) override {
        PictureFilters << filter;
        if (PicturePaths.empty()) return {};
        const QString answer = PicturePaths.front();
        PicturePaths.pop_front();
        return answer;
    }
    std::optional<int> AskLineNumber(int current, int lineCount) override {
        LineNumberQuestions.emplace_back(current, lineCount);
        if (LineNumbers.empty()) {
            ADD_FAILURE() << "unexpected line-number question";
            return std::nullopt;
        }
        const auto answer = LineNumbers.front();
        LineNumbers.pop_front();
        return answer;
    }
    QString AskSavePath(const QString& proposedPath) override {
        ++SavePathQuestions;
        SavePathProposals << proposedPath;
        if (SavePaths.empty()) {
            ADD_FAILURE() << "unexpected save-path question";
            return {};
        }
        const QString answer = SavePaths.front();
        SavePaths.pop_front();
        return answer;
    }
    QString AskOpenDataFile() override {
        ++OpenDataFileQuestions;
        if (OpenDataFiles.empty()) {
            ADD_FAILURE() << "unexpected open-file question";
            return {};
        }
        const QString answer = OpenDataFiles.front();
        OpenDataFiles.pop_front();
        return answer;
    }
};

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll();
}

inline void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray Bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace fw::test
