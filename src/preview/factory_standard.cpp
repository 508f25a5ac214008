// (Being written.)

#include "preview/controlfactory.h"

namespace fw::preview {

namespace {

class StandardFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "standard"; }
    bool Handles(const rt::Class&) const override { return false; }
    Realized Create(rt::Object&, QWidget*, RealizeContext&) const override { return {}; }
};

}  // namespace

std::unique_ptr<ControlFactory> MakeStandardFactory() {
    return std::make_unique<StandardFactory>();
}

}  // namespace fw::preview
