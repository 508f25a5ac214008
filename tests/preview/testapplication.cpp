// Every test of this binary runs inside one application object, made before the first
// test and destroyed after the last while Qt's own globals still exist. An application
// left to static destruction would outlive them (the input devices QTest's key events
// register, for one) and crash the process on its way out.

#include <gtest/gtest.h>

#include <QApplication>

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = new QApplication(argc_, argv_);
    }
    void TearDown() override {
        delete application_;
        application_ = nullptr;
    }

private:
    int argc_ = 1;
    char name_[32] = "fw_preview_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication* application_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const Registered =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
