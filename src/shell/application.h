#pragma once
// FwApplication and the program's composition root.

#include <QApplication>

#include "shell/qtusermessages.h"

namespace fw {

// The application object. Anything that escapes an event handler is shown in an error
// box and the program goes on, as for a failed command.
class FwApplication : public QApplication {
    Q_OBJECT
public:
    FwApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The message boxes and dialogs of the running program.
    QtUserMessages& Messages() { return messages_; }
    // Where errors caught by notify() go; Messages() unless set (null restores it).
    void SetErrorMessages(UserMessages* messages) { errorMessages_ = messages; }

private:
    QtUserMessages messages_;
    UserMessages* errorMessages_ = nullptr;
};

// Runs the editor: splash, main window, the files of the command line, the event
// loop. Returns the program's exit code. When the program already runs for this user,
// the arguments go to that instance instead and the exit code is 0 (see SingleInstance;
// FW_INSTANCE_NAME names the instance's socket in place of the one derived from the
// program's path). --render and the picture run below never go to another instance.
//
// With the environment variable FW_GRAB_AND_QUIT set to a file path, the program saves
// a picture of its main window there as PNG once the command-line files are open and
// the events have settled, and ends: 0 when a document with text is active, 3 when no
// document is open or the active one is empty, 4 when start-up never settles.
int RunFormwright(int argc, char** argv);

}  // namespace fw
