#include "document/findreplacedialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace fw {

FindReplaceDialog::FindReplaceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("rd"));
    setWindowTitle(QStringLiteral("Replace"));
    setModal(false);

    findText_ = new QLineEdit(this);
    findText_->setObjectName(QStringLiteral("FindText"));
    replaceText_ = new QLineEdit(this);
    replaceText_->setObjectName(QStringLiteral("ReplaceText"));
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(findText_);
    auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
    replaceLabel->setBuddy(replaceText_);

    wholeWord_ = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    matchCase_ = new QCheckBox(QStringLiteral("Match &case"), this);
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    up_ = new QRadioButton(QStringLiteral("&Up"), direction);
    down_ = new QRadioButton(QStringLiteral("&Down"), direction);
    down_->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);

    findNext_ = new QPushButton(QStringLiteral("&Find Next"), this);
    replace_ = new QPushButton(QStringLiteral("&Replace"), this);
    replaceAll_ = new QPushButton(QStringLiteral("Replace &All"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    findNext_->setDefault(true);

    auto* fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(findText_, 0, 1);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(replaceText_, 1, 1);
    auto* options = new QVBoxLayout;
    options->addWidget(wholeWord_);
    options->addWidget(matchCase_);
    auto* lower = new QHBoxLayout;
    lower->addLayout(options);
    lower->addWidget(direction);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(lower);
    left->addStretch();
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {findNext_, replace_, replaceAll_, cancel_})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(findNext_, &QPushButton::clicked, this, &FindReplaceDialog::FindNextClicked);
    connect(replace_, &QPushButton::clicked, this, &FindReplaceDialog::ReplaceClicked);
    connect(replaceAll_, &QPushButton::clicked, this, &FindReplaceDialog::ReplaceAllClicked);
    // Cancel only hides the dialog: the texts and options stay for the next time.
    connect(cancel_, &QPushButton::clicked, this, &QDialog::hide);
}

QString FindReplaceDialog::FindText() const {
    return findText_->text();
}

void FindReplaceDialog::SetFindText(const QString& text) {
    findText_->setText(text);
}

QString FindReplaceDialog::ReplaceText() const {
    return replaceText_->text();
}

void FindReplaceDialog::SetReplaceText(const QString& text) {
    replaceText_->setText(text);
}

bool FindReplaceDialog::MatchCase() const {
    return matchCase_->isChecked();
}

void FindReplaceDialog::SetMatchCase(bool on) {
    matchCase_->setChecked(on);
}

bool FindReplaceDialog::WholeWord() const {
    return wholeWord_->isChecked();
}

void FindReplaceDialog::SetWholeWord(bool on) {
    wholeWord_->setChecked(on);
}

bool FindReplaceDialog::Down() const {
    return down_->isChecked();
}

void FindReplaceDialog::SetDown(bool down) {
    (down ? down_ : up_)->setChecked(true);
}

}  // namespace fw
