#include <QEvent>
#include <QObject>

#include "base/errors.h"
#include "shelltestsupport.h"

namespace fw {
namespace {

class ThrowingObject : public QObject {
public:
    int handled = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) throw Exception("Stream read error");
        if (event->type() == QEvent::Type(QEvent::User + 1)) {
            ++handled;
            return true;
        }
        return QObject::event(event);
    }
};

TEST(FwApplication, AnErrorEscapingAnEventHandlerIsShownAndTheProgramGoesOn) {
    test::RecordingMessages messages;
    test::App().SetErrorMessages(&messages);
    ThrowingObject target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::Type(QEvent::User + 1)));
    QCoreApplication::processEvents();
    test::App().SetErrorMessages(nullptr);

    EXPECT_EQ(messages.errors, QStringList{"Stream read error"});
    EXPECT_EQ(target.handled, 1);
}

}  // namespace
}  // namespace fw
