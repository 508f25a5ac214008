#include "preview/qtmeasurer.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>

#include "preview/vcllook.h"

namespace fw::preview {

rt::TextSize QtTextMeasurer::Measure(std::string_view text, const rt::Object* font) const {
    const QFontMetrics metrics(FontOf(font));
    rt::TextSize size;
    int lines = 0;
    QString all = Q(text);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QString& line : all.split(QLatin1Char('\n'))) {
        QString expanded = line;
        expanded.replace(QLatin1Char('\t'), QStringLiteral("        "));
        size.Width = std::max(size.Width, metrics.horizontalAdvance(expanded));
        ++lines;
    }
    size.Height = lines * metrics.height();
    return size;
}

int QtTextMeasurer::LineHeight(const rt::Object* font) const {
    return QFontMetrics(FontOf(font)).height();
}

}  // namespace fw::preview
