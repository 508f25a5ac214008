#include "preview/render.h"

#include <QApplication>
#include <QImage>
#include <exception>
#include <memory>
#include <string>
#include <vector>
#include <ostream>

#include "codec/codepage.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "codec/stream.h"
#include "packages/designpackages.h"
#include "preview/virtualdesktop.h"
#include "runtime/formbuild.h"

namespace fw::preview {

namespace {

constexpr const char* Usage =
    "Usage: formwright --render FORM [--codepage N] [--package BPL]... [--installed-packages] -o IMAGE.png\n";

}  // namespace

bool IsRenderCommand(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--render"));
}

int RenderFormFile(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    QString form, image;
    int codePageNumber = 1252;
    std::vector<std::string> packageFiles;
    bool installedPackages = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto next = [&](QString& into) {
            if (i + 1 >= arguments.size()) return false;
            into = arguments[++i];
            return true;
        };
        QString value;
        if (a == QStringLiteral("--render")) {
            if (!next(form)) break;
        } else if (a == QStringLiteral("-o") || a == QStringLiteral("--output")) {
            if (!next(image)) break;
        } else if (a == QStringLiteral("--codepage")) {
            bool ok = false;
            if (next(value)) codePageNumber = value.toInt(&ok);
            if (!ok) {
                err << "formwright: --codepage needs a number\n" << Usage;
                return 2;
            }
        } else if (a == QStringLiteral("--package")) {
            if (!next(value)) {
                err << "formwright: --package needs a file\n" << Usage;
                return 2;
            }
            packageFiles.push_back(value.toStdString());
        } else if (a == QStringLiteral("--installed-packages")) {
            installedPackages = true;
        } else if (a.startsWith(QStringLiteral("--codepage="))) {
            bool ok = false;
            codePageNumber = a.mid(11).toInt(&ok);
            if (!ok) {
                err << "formwright: --codepage needs a number\n" << Usage;
                return 2;
            }
        } else {
            err << "formwright: unexpected argument '" << a.toStdString() << "'\n" << Usage;
            return 2;
        }
    }
    if (form.isEmpty() || image.isEmpty()) {
        err << "formwright: --render needs a form file and -o IMAGE.png\n" << Usage;
        return 2;
    }
    const CodePage* codePage = CodePage::Find(codePageNumber);
    if (!codePage) {
        err << "formwright: code page " << codePageNumber << " is not supported\n";
        return 2;
    }
    const std::string path = form.toStdString();
    Bytes bytes;
    try {
        bytes = ReadFileBytes(path);
        if (DetectEncoding(bytes) != FormEncoding::Text) bytes = ConvertForm(bytes, FormEncoding::Text, *codePage);
    } catch (const std::exception& e) {
        err << path << ": " << e.what() << '\n';
        return 2;
    }
    // Design packages join the registry the preview builds from, as in the editor.
    std::unique_ptr<pkg::DesignPackages> packages;
    bool packageFailed = false;
    if (!packageFiles.empty() || installedPackages) {
        packages = std::make_unique<pkg::DesignPackages>(AppRegistry(), pkg::UserPackageListPath());
        if (installedPackages) {
            packages->ReadPackageList();
            packageFiles.insert(packageFiles.end(), packages->PackageFiles().begin(), packages->PackageFiles().end());
        }
        packages->SetPackageFiles(packageFiles);
        packages->LoadAllPackages();
        for (const std::string& entry : packages->PackageErrors()) {
            err << "formwright: package " << entry << '\n';
            packageFailed = true;
        }
    }
    VirtualDesktop desktop;
    desktop.resize(1280, 1024);
    desktop.BuildPreview(rt::SplitFormLines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())),
                         *codePage);
    QApplication::processEvents();
    const QImage picture = desktop.FormWindowImage();
    if (picture.isNull() || !picture.save(image, "PNG")) {
        err << image.toStdString() << ": the image could not be written\n";
        return 2;
    }
    for (const std::string& message : desktop.PreviewMessages()) out << path << ": " << message << '\n';
    return desktop.PreviewMessages().empty() && !packageFailed ? 0 : 1;
}

}  // namespace fw::preview
