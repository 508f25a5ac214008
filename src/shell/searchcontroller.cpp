#include "shell/searchcontroller.h"

#include <QAction>

namespace fw {

SearchController::SearchController(UserMessages& messages, QObject* parent)
    : DocumentController(messages, parent),
      find_(AddAction("sbFind", "Find and Replace", DrawnImage::Find, &DocumentWindow::cmReplace)),
      gotoSource_(AddAction("sbGoto", "Goto source", DrawnImage::Goto, &DocumentWindow::cmGoto)) {}

void SearchController::UpdateEnabling(const CommandStates& states) {
    find_->setEnabled(states.find);
    gotoSource_->setEnabled(states.gotoSource);
}

}  // namespace fw
