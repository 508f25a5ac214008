#pragma once
// The file names of a first start's command line.

#include <QString>
#include <QStringList>

namespace fw {

// Joins the arguments into file names so that a path with blanks may be given
// without quotes: each argument is appended to a candidate followed by one blank, and
// as soon as the candidate less that blank names an existing file (not a folder), it
// is taken, trimmed of blanks and control characters at both ends, and the candidate
// starts again. A candidate left over when the arguments run out opens nothing, so an
// argument that names nothing swallows every argument after it; it is handed back in
// `leftover` (less its trailing blank, trimmed; empty when nothing was left) so that the
// caller can say so.
QStringList JoinCommandLineFiles(const QStringList& arguments, QString* leftover = nullptr);

}  // namespace fw
