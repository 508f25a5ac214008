#include "preview/drawnlook.h"

namespace fw::preview {

std::string ClassLineText(const rt::Object& object, const DrawnLook* look) {
    std::string text(object.ClassName());
    if (look && (look->How == DrawnLook::Kind::Ancestor || look->How == DrawnLook::Kind::Lookalike) &&
        !look->DrawnAs.empty())
        return text + " (drawn as " + look->DrawnAs + ")";
    // The one place that says how a class the runtime does not know is shown.
    if (object.GetClass().Has(rt::CfStandIn)) text += " (not registered)";
    return text;
}

}  // namespace fw::preview
