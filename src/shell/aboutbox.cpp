#include "shell/aboutbox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "shell/drawnicons.h"
#include "shell/productinfo.h"

namespace fw {

namespace {

QLabel* Selectable(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

}  // namespace

AboutBox::AboutBox(const SystemInfo& system, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgAbout"));
    setWindowTitle(QStringLiteral("About %1").arg(ProductName()));

    auto* picture = new QLabel(this);
    picture->setPixmap(DrawnPixmap(DrawnImage::FormDocument, 48));

    auto* name = new QLabel(ProductName(), this);
    QFont nameFont = name->font();
    nameFont.setPointSize(nameFont.pointSize() + 6);
    nameFont.setBold(true);
    name->setFont(nameFont);

    auto* product = new QVBoxLayout;
    product->addWidget(name);
    product->addWidget(new QLabel(QStringLiteral("Version %1").arg(VersionText()), this));
    product->addWidget(Selectable(ProductDescription(), this));
    product->addWidget(new QLabel(LegalNotice(), this));

    auto* header = new QHBoxLayout;
    header->addWidget(picture, 0, Qt::AlignTop);
    header->addSpacing(12);
    header->addLayout(product, 1);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* computer = new QFormLayout;
    computer->addRow(QStringLiteral("Operating system:"), Selectable(system.operatingSystem, this));
    computer->addRow(QStringLiteral("Processor:"), Selectable(system.processor, this));
    computer->addRow(QStringLiteral("Physical memory:"), Selectable(system.memory, this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(line);
    layout->addLayout(computer);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

}  // namespace fw
