#pragma once
// What the program says about itself: name, version and legal notice, compiled in
// from the project's version so that the splash, the About box and the command-line
// tool agree.

#include <QString>

namespace fw {

QString ProductName();
// One line saying what the program is for.
QString ProductDescription();
// The legal notice shown on the splash window and in the About box.
QString LegalNotice();
int VersionMajor();
int VersionMinor();
// The full version, "major.minor.patch".
QString VersionText();

}  // namespace fw
