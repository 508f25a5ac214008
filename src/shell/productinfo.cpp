#include "shell/productinfo.h"

#ifndef FW_VERSION_MAJOR
#error "FW_VERSION_MAJOR must be defined by the build"
#endif
#ifndef FW_VERSION_MINOR
#error "FW_VERSION_MINOR must be defined by the build"
#endif
#ifndef FW_VERSION_PATCH
#define FW_VERSION_PATCH 0
#endif

namespace fw {

QString ProductName() {
    return QStringLiteral("Formwright");
}

QString ProductDescription() {
    return QStringLiteral("Editor and converter for Delphi and C++Builder form files");
}

QString LegalNotice() {
    return QStringLiteral(u"Copyright \u00A9 2026 Zentrix. All rights reserved.");
}

int VersionMajor() {
    return FW_VERSION_MAJOR;
}
int VersionMinor() {
    return FW_VERSION_MINOR;
}

QString VersionText() {
    return QStringLiteral("%1.%2.%3").arg(FW_VERSION_MAJOR).arg(FW_VERSION_MINOR).arg(FW_VERSION_PATCH);
}

}  // namespace fw
