#include "shell/documentcontroller.h"

#include <QAction>

#include "document/usermessages.h"

namespace fw {

DocumentController::DocumentController(UserMessages& messages, QObject* parent)
    : QObject(parent), messages_(messages) {}

QAction* DocumentController::AddAction(const char* name, const char* hint, DrawnImage image,
                                       void (DocumentWindow::*command)()) {
    auto* action = new QAction(QString::fromLatin1(hint), this);
    action->setObjectName(QString::fromLatin1(name));
    action->setIcon(DrawnIcon(image));
    action->setToolTip(QString::fromLatin1(hint));
    connect(action, &QAction::triggered, this, [this, command] { Run(command); });
    actions_ << action;
    return action;
}

void DocumentController::Run(void (DocumentWindow::*command)()) {
    RunGuarded(messages_, [this, command] {
        if (DocumentWindow* document = Target()) (document->*command)();
    });
}

}  // namespace fw
