// (Being written.)

#include "preview/controlfactory.h"

namespace fw::preview {

namespace {

class ContainerFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "containers"; }
    bool Handles(const rt::Class&) const override { return false; }
    Realized Create(rt::Object&, QWidget*, RealizeContext&) const override { return {}; }
};

}  // namespace

std::unique_ptr<ControlFactory> MakeContainerFactory() {
    return std::make_unique<ContainerFactory>();
}

}  // namespace fw::preview
