#pragma once
// AboutBox: the About box with the product's name, version and purpose, and the
// operating system, processor and memory of the running computer.

#include <QDialog>

#include "shell/systeminfo.h"

namespace fw {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    // Shows `system`; ReadSystemInfo() gives the running computer's.
    explicit AboutBox(const SystemInfo& system, QWidget* parent = nullptr);
};

}  // namespace fw
