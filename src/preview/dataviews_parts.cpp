// Limits and small helpers the data views share: typed reads of stored values, and the
// frame, focus and scroll bars of a windowed control.

#include "preview/dataviews_parts.h"

namespace fw::preview::dataviews {

// ---------------------------------------------------------------------------------
// Limits and small helpers

double FloatOf(const rt::Object& object, std::string_view name, double fallback) {
    const rt::Property* p = object.FindProperty(name);
    if (!p || p->Kind() != rt::TypeKind::tkFloat) return fallback;
    const long double value = object.Float(*p);
    if (!std::isfinite(value) || std::fabs(value) > 1e7L) return fallback;
    return static_cast<double>(value);
}

std::int64_t Trusted(const rt::Object& object, std::string_view name, std::int64_t fallback) {
    const rt::Property* p = object.FindProperty(name);
    if (!p) return fallback;
    const std::int64_t value = OrdinalOf(object, name, fallback);
    return value == 0 && p->Info->Default.Which == rt::DefaultValue::Kind::None ? fallback : value;
}

const std::vector<std::string>* StoredLinesOf(const rt::Object& object, std::string_view name) {
    const rt::Object* strings = ObjectOf(object, name);
    return strings ? &strings->Lines() : nullptr;
}

const rt::StoredBlock* StoredBlockOf(const rt::Object& object, std::string_view name) {
    for (const auto& [key, block] : object.StoredBlocks())
        if (rt::EqualsIgnoringCase(key, name)) return &block;
    return nullptr;
}

std::span<const std::int64_t> StoredIntegers(const rt::Object& object, std::string_view name) {
    const rt::StoredBlock* block = StoredBlockOf(object, name);
    if (!block) return {};
    return block->Integers;
}

void NoFocusAll(QWidget* widget) {
    widget->setFocusPolicy(Qt::NoFocus);
    for (QWidget* inner : widget->findChildren<QWidget*>())
        inner->setFocusPolicy(Qt::NoFocus);
}

void ApplyBorder(QFrame& frame, const rt::Object& control) {
    if (EnumOf(control, "BorderStyle") == "bsNone") {
        frame.setFrameShape(QFrame::NoFrame);
    } else if (!BoolOf(control, "Ctl3D", true)) {
        frame.setFrameStyle(QFrame::Box | QFrame::Plain);
        frame.setLineWidth(1);
    } else {
        frame.setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    }
}

Qt::ScrollBarPolicy BarPolicy(bool allowed, bool onlyWhenNeeded) {
    if (!allowed) return Qt::ScrollBarAlwaysOff;
    return onlyWhenNeeded ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
}

void ApplyScrollBars(QAbstractScrollArea& area, const rt::Object& control, bool onlyWhenNeeded,
                     const std::string& fallback) {
    std::string bars = EnumOf(control, "ScrollBars");
    if (bars.empty()) bars = fallback;
    const bool horizontal = bars == "ssHorizontal" || bars == "ssBoth";
    const bool vertical = bars == "ssVertical" || bars == "ssBoth";
    area.setHorizontalScrollBarPolicy(BarPolicy(horizontal, onlyWhenNeeded));
    area.setVerticalScrollBarPolicy(BarPolicy(vertical, onlyWhenNeeded));
}

}  // namespace fw::preview::dataviews
