#pragma once
// DataController: the Data commands of the toolbar on the active document: the form
// preview (a second press returns to the source) and the rescan of the object tree.

#include "shell/documentcontroller.h"

namespace fw {

class DataController final : public DocumentController {
    Q_OBJECT
public:
    DataController(UserMessages& messages, QObject* parent);
    void UpdateEnabling(const CommandStates& states) override;

public slots:
    void Preview() { Run(&DocumentWindow::cmPreview); }
    void Rescan() { Run(&DocumentWindow::cmRescan); }

private:
    QAction* preview_;
    QAction* rescan_;
};

}  // namespace fw
