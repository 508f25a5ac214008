#pragma once
// The base of the controllers that hold the main window's commands on the active
// document (EditController, SearchController, DataController): the document they act
// on, and the making of their actions. The main window puts the actions into its
// toolbar and hands the controllers the active document and the command states.

#include <QList>
#include <QObject>
#include <QPointer>

#include "document/documentwindow.h"
#include "shell/commandstate.h"
#include "shell/drawnicons.h"

class QAction;

namespace fw {

class UserMessages;

class DocumentController : public QObject {
    Q_OBJECT
public:
    // The document the commands act on; none (nullptr) makes them do nothing. A
    // document that is destroyed is dropped by itself.
    void SetTarget(DocumentWindow* document) { target_ = document; }
    DocumentWindow* Target() const { return target_.data(); }
    // The actions, in the order the toolbar shows them.
    const QList<QAction*>& Actions() const { return actions_; }
    // Enables the actions by the states the main window computed.
    virtual void UpdateEnabling(const CommandStates& states) = 0;

protected:
    DocumentController(UserMessages& messages, QObject* parent);
    // A toolbar action named `name` with `hint` as its text and tooltip, drawn as
    // `image`, that runs `command` on the target; an error it throws is shown.
    QAction* AddAction(const char* name, const char* hint, DrawnImage image,
                       void (DocumentWindow::*command)());
    // Runs a command on the target, when there is one; an error it throws is shown.
    void Run(void (DocumentWindow::*command)());

private:
    UserMessages& messages_;
    QPointer<DocumentWindow> target_;
    QList<QAction*> actions_;
};

}  // namespace fw
