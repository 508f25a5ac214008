#include "document/usermessages.h"

#include <exception>

#include "base/errors.h"

namespace fw {

bool RunGuarded(UserMessages& messages, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const Exception& error) {
        messages.Error(QString::fromUtf8(error.what()));
    } catch (const std::exception& error) {
        messages.Error(QString::fromUtf8(error.what()));
    }
    return false;
}

}  // namespace fw
