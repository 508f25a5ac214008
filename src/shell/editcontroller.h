#pragma once
// EditController: the Edit commands of the toolbar, Undo, Copy, Cut and Paste, on the
// active document's source editor; each enabled by the editor's state.

#include "shell/documentcontroller.h"

namespace fw {

class EditController final : public DocumentController {
    Q_OBJECT
public:
    EditController(UserMessages& messages, QObject* parent);
    void UpdateEnabling(const CommandStates& states) override;

public slots:
    void Undo() { Run(&DocumentWindow::cmUndo); }
    void Copy() { Run(&DocumentWindow::cmCopy); }
    void Cut() { Run(&DocumentWindow::cmCut); }
    void Paste() { Run(&DocumentWindow::cmPaste); }

private:
    QAction* undo_;
    QAction* copy_;
    QAction* cut_;
    QAction* paste_;
};

}  // namespace fw
