#pragma once
// Text measured with the fonts the preview really draws with, so that labels and edits
// that size themselves fit their text on this desktop.

#include "runtime/layout.h"

namespace fw::preview {

class QtTextMeasurer : public rt::TextMeasurer {
public:
    rt::TextSize Measure(std::string_view text, const rt::Object* font) const override;
    int LineHeight(const rt::Object* font) const override;
};

}  // namespace fw::preview
