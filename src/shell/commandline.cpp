#include "shell/commandline.h"

#include <QFileInfo>

namespace fw {

namespace {

// Blanks and control characters, the characters a trim drops.
bool IsTrimmed(QChar c) {
    return c.unicode() <= u' ';
}

QString TrimBlanksAndControls(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsTrimmed(text[first]))
        ++first;
    while (last > first && IsTrimmed(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

}  // namespace

QStringList JoinCommandLineFiles(const QStringList& arguments, QString* leftover) {
    QStringList files;
    QString candidate;
    for (const QString& argument : arguments) {
        candidate += argument;
        candidate += u' ';
        const QString name = candidate.left(candidate.size() - 1);
        // isFile() is false for folders and for names that do not exist.
        if (!name.isEmpty() && QFileInfo(name).isFile()) {
            files << TrimBlanksAndControls(name);
            candidate.clear();
        }
    }
    if (leftover != nullptr) *leftover = TrimBlanksAndControls(candidate);
    return files;
}

}  // namespace fw
