#include "preview/controlvalues.h"

namespace fw::preview {

QColor ColorProperty(const rt::Object& object, std::string_view name, const QColor& fallback) {
    // A missing property reads as clNone, which has no colour.
    const QColor color = ColorOf(OrdinalOf(object, name, clNone));
    return color.isValid() ? color : fallback;
}

QStringList LinesOf(const rt::Object& object, std::string_view name) {
    QStringList lines;
    const rt::Object* list = ObjectOf(object, name);
    if (!list) return lines;
    const auto& source = list->Lines();
    const std::size_t count = std::min(source.size(), MaxListLines);
    lines.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back(Q(source[i]));
    return lines;
}

Qt::Alignment HorizontalAlignment(const std::string& alignment, Qt::Alignment fallback) {
    if (alignment == "taLeftJustify") return Qt::AlignLeft;
    if (alignment == "taRightJustify") return Qt::AlignRight;
    if (alignment == "taCenter") return Qt::AlignHCenter;
    return fallback;
}

}  // namespace fw::preview
