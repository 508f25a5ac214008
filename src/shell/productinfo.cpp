#include "shell/productinfo.h"

#include "base/version.h"

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
