#pragma once
// The user messages of the benchmarks that open documents: every question, warning and
// error goes to standard error, questions are answered No, and no dialog ever opens.
// An error ends the run when asked to, for a benchmark whose figures an error would
// make meaningless.

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "document/usermessages.h"

namespace fwbench {

class PrintingMessages : public fw::UserMessages {
public:
    explicit PrintingMessages(bool exitOnError = false) : exitOnError_(exitOnError) {}

    bool Confirm(const QString& text) override {
        std::fprintf(stderr, "question: %s\n", qPrintable(text));
        return false;
    }
    void Warning(const QString& text) override { std::fprintf(stderr, "warning: %s\n", qPrintable(text)); }
    void Information(const QString& text) override {
        std::fprintf(stderr, "information: %s\n", qPrintable(text));
    }
    void Error(const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
        if (exitOnError_) std::exit(1);
    }
    Answer ConfirmOrCancel(const QString& text) override {
        std::fprintf(stderr, "question: %s\n", qPrintable(text));
        return Answer::No;
    }
    std::optional<fw::FormEncoding> AskSaveType(fw::FormEncoding) override { return std::nullopt; }
    QString AskSavePath(const QString&) override { return {}; }

private:
    bool exitOnError_;
};

}  // namespace fwbench
