#include "document/savetypedialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fw {

SaveTypeDialog::SaveTypeDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Save as"));
    auto* group = new QGroupBox(QStringLiteral(" Type "), this);
    text_ = new QRadioButton(QStringLiteral("Text"), group);
    binary_ = new QRadioButton(QStringLiteral("Binary"), group);
    resource_ = new QRadioButton(QStringLiteral("Resource"), group);
    text_->setChecked(true);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(text_);
    groupLayout->addWidget(binary_);
    groupLayout->addWidget(resource_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

FormEncoding SaveTypeDialog::Selected() const {
    if (binary_->isChecked()) return FormEncoding::Binary;
    if (resource_->isChecked()) return FormEncoding::Resource;
    return FormEncoding::Text;
}

void SaveTypeDialog::SetSelected(FormEncoding encoding) {
    switch (encoding) {
        case FormEncoding::Binary:
            binary_->setChecked(true);
            break;
        case FormEncoding::Resource:
            resource_->setChecked(true);
            break;
        case FormEncoding::Text:
            text_->setChecked(true);
            break;
    }
}

std::optional<FormEncoding> SaveTypeDialog::Ask(QWidget* parent, FormEncoding preselected) {
    SaveTypeDialog dialog(parent);
    dialog.SetSelected(preselected);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Selected();
}

}  // namespace fw
