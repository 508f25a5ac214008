// The save-type dialog: its face, and what Ask returns for OK and Cancel, with "Text"
// chosen afresh each time it is shown.

#include "document/savetypedialog.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "documenttestsupport.h"

namespace {

using fw::FormEncoding;

QRadioButton* Radio(QWidget* dialog, const QString& text) {
    for (QRadioButton* button : dialog->findChildren<QRadioButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

QPushButton* Button(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

// Runs `answer` on the dialog once it is showing.
void WhenShown(const std::function<void(QWidget*)>& answer) {
    QTimer::singleShot(0, [answer] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<fw::SaveTypeDialog*>(widget); dialog && dialog->isVisible())
                answer(dialog);
    });
}

TEST(SaveTypeDialog, LooksAsDesigned) {
    fw::test::EnsureApplication();
    fw::SaveTypeDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Save as"));
    const auto groups = dialog.findChildren<QGroupBox*>();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0]->title(), QStringLiteral(" Type "));
    QStringList items;
    for (QRadioButton* button : groups[0]->findChildren<QRadioButton*>())
        items << button->text();
    EXPECT_EQ(items, QStringList({"Text", "Binary", "Resource"}));
    EXPECT_TRUE(Radio(&dialog, "Text")->isChecked());
    ASSERT_NE(Button(&dialog, "OK"), nullptr);
    EXPECT_TRUE(Button(&dialog, "OK")->isDefault());
    EXPECT_NE(Button(&dialog, "Cancel"), nullptr);
}

TEST(SaveTypeDialog, AskReturnsTheChoiceOrNothing) {
    fw::test::EnsureApplication();
    const struct {
        const char* Choose;
        const char* Press;
        std::optional<FormEncoding> Expected;
    } cases[] = {
        {"Resource", "OK", FormEncoding::Resource},
        {nullptr, "OK", FormEncoding::Text},  // Text again, not the last choice
        {"Binary", "OK", FormEncoding::Binary},
        {"Binary", "Cancel", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Choose ? c.Choose : "-") + " " + c.Press);
        WhenShown([&c](QWidget* dialog) {
            if (c.Choose) Radio(dialog, c.Choose)->setChecked(true);
            Button(dialog, c.Press)->click();
        });
        EXPECT_EQ(fw::SaveTypeDialog::Ask(), c.Expected);
    }
}

// Save As offers the document's own encoding first.
TEST(SaveTypeDialog, AskStartsWithThePreselectedEncoding) {
    fw::test::EnsureApplication();
    for (FormEncoding preselected : {FormEncoding::Binary, FormEncoding::Resource, FormEncoding::Text}) {
        SCOPED_TRACE(static_cast<int>(preselected));
        bool checked = false;
        WhenShown([&](QWidget* dialog) {
            checked = static_cast<fw::SaveTypeDialog*>(dialog)->Selected() == preselected;
            Button(dialog, "OK")->click();
        });
        EXPECT_EQ(fw::SaveTypeDialog::Ask(nullptr, preselected), preselected);
        EXPECT_TRUE(checked);
    }
}

}  // namespace
