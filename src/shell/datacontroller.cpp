#include "shell/datacontroller.h"

#include <QAction>

namespace fw {

DataController::DataController(UserMessages& messages, QObject* parent)
    : DocumentController(messages, parent),
      preview_(AddAction("sbPreview", "Preview Form", DrawnImage::Preview, &DocumentWindow::cmPreview)),
      rescan_(AddAction("sbRescan", "Rescan Hierarchy", DrawnImage::Rescan, &DocumentWindow::cmRescan)) {}

void DataController::UpdateEnabling(const CommandStates& states) {
    preview_->setEnabled(states.preview);
    rescan_->setEnabled(states.rescan);
}

}  // namespace fw
