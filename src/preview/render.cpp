#include "preview/render.h"

#include <QApplication>
#include <QImage>
#include <exception>
#include <ostream>

#include "codec/codepage.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "codec/stream.h"
#include "preview/virtualdesktop.h"
#include "runtime/formbuild.h"

namespace fw::preview {

namespace {

constexpr const char* Usage = "Usage: formwright --render FORM [--codepage N] -o IMAGE.png\n";

}  // namespace

bool IsRenderCommand(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--render"));
}

int RenderFormFile(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    QString form, image;
    int codePageNumber = 1252;
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
    return desktop.PreviewMessages().empty() ? 0 : 1;
}

}  // namespace fw::preview
