#pragma once
// SaveTypeDialog: the small dialog that asks which encoding a copy is saved in.

#include <QDialog>
#include <optional>

#include "codec/formformat.h"

class QRadioButton;

namespace fw {

class SaveTypeDialog : public QDialog {
    Q_OBJECT
public:
    explicit SaveTypeDialog(QWidget* parent = nullptr);

    FormEncoding Selected() const;

    void SetSelected(FormEncoding encoding);

    // Shows the dialog with `preselected` chosen; the encoding picked, nothing when
    // cancelled.
    static std::optional<FormEncoding> Ask(QWidget* parent = nullptr,
                                           FormEncoding preselected = FormEncoding::Text);

private:
    QRadioButton* text_ = nullptr;
    QRadioButton* binary_ = nullptr;
    QRadioButton* resource_ = nullptr;
};

}  // namespace fw
