#pragma once
// FindReplaceDialog: the modeless find-and-replace dialog of a document window, rd. It
// holds the find text, the replace text and the options, and keeps them while its
// window lives; its buttons only signal, the document does the searching.

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fw {

class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindReplaceDialog(QWidget* parent = nullptr);

    QString FindText() const;
    void SetFindText(const QString& text);
    QString ReplaceText() const;
    void SetReplaceText(const QString& text);
    bool MatchCase() const;
    void SetMatchCase(bool on);
    bool WholeWord() const;
    void SetWholeWord(bool on);
    // The search direction: true for Down (towards the end of the text).
    bool Down() const;
    void SetDown(bool down);

    QPushButton* FindNextButton() const { return findNext_; }
    QPushButton* ReplaceButton() const { return replace_; }
    QPushButton* ReplaceAllButton() const { return replaceAll_; }
    QPushButton* CancelButton() const { return cancel_; }

signals:
    void FindNextClicked();
    void ReplaceClicked();
    void ReplaceAllClicked();

private:
    QLineEdit* findText_ = nullptr;
    QLineEdit* replaceText_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* replaceAll_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace fw
