#include "shell/editcontroller.h"

#include <QAction>

namespace fw {

EditController::EditController(UserMessages& messages, QObject* parent)
    : DocumentController(messages, parent),
      undo_(AddAction("sbUndo", "Undo", DrawnImage::Undo, &DocumentWindow::cmUndo)),
      copy_(AddAction("sbCopy", "Copy", DrawnImage::Copy, &DocumentWindow::cmCopy)),
      cut_(AddAction("sbCut", "Cut", DrawnImage::Cut, &DocumentWindow::cmCut)),
      paste_(AddAction("sbPaste", "Paste", DrawnImage::Paste, &DocumentWindow::cmPaste)) {}

void EditController::UpdateEnabling(const CommandStates& states) {
    undo_->setEnabled(states.undo);
    copy_->setEnabled(states.copy);
    cut_->setEnabled(states.cut);
    paste_->setEnabled(states.paste);
}

}  // namespace fw
