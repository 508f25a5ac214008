// (Being written.)

#include "preview/controlfactory.h"

namespace fw::preview {

namespace {

class DataViewFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "dataviews"; }
    bool Handles(const rt::Class&) const override { return false; }
    Realized Create(rt::Object&, QWidget*, RealizeContext&) const override { return {}; }
};

}  // namespace

std::unique_ptr<ControlFactory> MakeDataViewFactory() {
    return std::make_unique<DataViewFactory>();
}

}  // namespace fw::preview
