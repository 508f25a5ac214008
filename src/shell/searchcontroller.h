#pragma once
// SearchController: the search commands of the toolbar on the active document: Find and
// Replace (the dialog, with the word at the caret) and Goto source (the text of the
// object selected in the tree).

#include "shell/documentcontroller.h"

namespace fw {

class SearchController final : public DocumentController {
    Q_OBJECT
public:
    SearchController(UserMessages& messages, QObject* parent);
    void UpdateEnabling(const CommandStates& states) override;

public slots:
    void Find() { Run(&DocumentWindow::cmReplace); }
    void GotoSource() { Run(&DocumentWindow::cmGoto); }

private:
    QAction* find_;
    QAction* gotoSource_;
};

}  // namespace fw
