#pragma once
// FormLexer: colours form text in a QScintilla editor with the form highlighting
// rules. Each line's state holds the highlighting range at its end, so a "{" left
// open on one line carries the comment colour into the lines after it.

#include <Qsci/qscilexercustom.h>

#include "codec/formhighlighter.h"

class FormLexer : public QsciLexerCustom {
    Q_OBJECT

public:
    // One style per highlighting attribute, numbered in the attributes' order.
    enum Style { Comment = 0, Identifier, Key, Number, Space, String, Symbol };

    explicit FormLexer(QObject* parent = nullptr);

    // The lexer-wide defaults stay visible beside the per-style overrides below.
    using QsciLexerCustom::defaultColor;
    using QsciLexerCustom::defaultFont;

    const char* language() const override;
    // The attribute's name for a style of this lexer, an empty string for any other.
    QString description(int style) const override;
    int defaultStyle() const override;
    // Comment, Number and String have colours of their own; the other styles take the
    // lexer's default colour, which the editor sets to its own.
    QColor defaultColor(int style) const override;
    // The lexer's fixed-pitch default font, bold for keys and italic for comments.
    QFont defaultFont(int style) const override;

    // Styles whole lines from the one holding `start` through the one holding
    // end - 1, and on past it while a line's end range differs from what the line
    // state held before, so that an edit that opens or closes a comment recolours
    // the lines it affects. Lines that were never styled stop the run at `end`.
    void styleText(int start, int end) override;

    static Style StyleOf(fw::HighlightKind kind);
};
