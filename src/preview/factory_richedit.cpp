// Rich edits: the stored rich text shown as its plain text with the control's font.

#include "preview/dataviews_parts.h"

namespace fw::preview::dataviews {

// ---------------------------------------------------------------------------------
// Rich text

namespace {

// The visible text of rich text: paragraph and line marks become line breaks, \tab a
// tab, \'hh and \uN characters are decoded, and groups that hold no visible text (font
// and colour tables, style sheets, pictures, field instructions, ignorable
// destinations) are skipped.
QString RichTextToPlain(const QString& rtf) {
    struct Group {
        bool Skip = false;
        int UnicodeSkip = 1;
    };
    static const char* const hidden[] = {
        "fonttbl",      "colortbl",  "stylesheet", "info",
        "pict",         "object",    "header",     "headerl",
        "headerr",      "headerf",   "footer",     "footerl",
        "footerr",      "footerf",   "listtable",  "listoverridetable",
        "rsidtbl",      "generator", "themedata",  "colorschememapping",
        "latentstyles", "datastore", "xmlnstbl",   "fldinst",
        "filetbl",      "revtbl",    "pgdsctbl",
    };
    std::vector<Group> groups{Group{}};
    int deeper = 0;  // groups opened beyond the bound, closed before any kept one
    const CodePage* codePage = &CodePage::Default();
    QString out;
    int pendingSkip = 0;
    const auto put = [&](QChar c) {
        if (groups.back().Skip) return;
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        out += c;
    };
    const qsizetype n = rtf.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = rtf[i];
        if (c == QLatin1Char('{')) {
            if (groups.size() < 256)
                groups.push_back(groups.back());
            else
                ++deeper;
            pendingSkip = 0;
            ++i;
            continue;
        }
        if (c == QLatin1Char('}')) {
            if (deeper > 0)
                --deeper;
            else if (groups.size() > 1)
                groups.pop_back();
            pendingSkip = 0;
            ++i;
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            ++i;
            continue;
        }
        if (c != QLatin1Char('\\')) {
            put(c);
            ++i;
            continue;
        }
        // A control symbol or word.
        if (i + 1 >= n) break;
        const QChar next = rtf[i + 1];
        if (next.isLetter() && next.unicode() < 128) {
            qsizetype j = i + 1;
            std::string word;
            for (; j < n && rtf[j].unicode() < 128 && rtf[j].isLetter(); ++j)
                if (word.size() < 32) word.push_back(static_cast<char>(rtf[j].unicode()));
            bool hasParam = false;
            bool negative = false;
            long long param = 0;
            if (j < n && rtf[j] == QLatin1Char('-')) {
                negative = true;
                ++j;
            }
            int digits = 0;
            while (j < n && rtf[j].isDigit() && rtf[j].unicode() < 128) {
                if (digits++ < 10) param = param * 10 + (rtf[j].unicode() - '0');
                hasParam = true;
                ++j;
            }
            if (negative) param = -param;
            if (j < n && rtf[j] == QLatin1Char(' ')) ++j;
            i = j;
            if (word == "par" || word == "line" || word == "row" || word == "sect" || word == "page") {
                put(QLatin1Char('\n'));
            } else if (word == "tab" || word == "cell") {
                put(QLatin1Char('\t'));
            } else if (word == "u" && hasParam) {
                const auto unit = static_cast<char16_t>(param < 0 ? param + 65536 : param);
                put(QChar(unit));
                pendingSkip = groups.back().Skip ? 0 : std::clamp(groups.back().UnicodeSkip, 0, 16);
            } else if (word == "uc" && hasParam) {
                groups.back().UnicodeSkip = static_cast<int>(std::clamp<long long>(param, 0, 16));
            } else if (word == "ansicpg" && hasParam) {
                if (const CodePage* found =
                        CodePage::Find(static_cast<int>(std::clamp<long long>(param, 0, 65535))))
                    codePage = found;
            } else if (word == "emdash") {
                put(QChar(0x2014));
            } else if (word == "endash") {
                put(QChar(0x2013));
            } else if (word == "bullet") {
                put(QChar(0x2022));
            } else if (word == "lquote") {
                put(QChar(0x2018));
            } else if (word == "rquote") {
                put(QChar(0x2019));
            } else if (word == "ldblquote") {
                put(QChar(0x201C));
            } else if (word == "rdblquote") {
                put(QChar(0x201D));
            } else {
                for (const char* h : hidden)
                    if (word == h) groups.back().Skip = true;
            }
            continue;
        }
        i += 2;
        switch (next.unicode()) {
            case '*':
                groups.back().Skip = true;
                break;
            case '\'': {
                const auto hex = [](QChar h) {
                    const char16_t u = h.unicode();
                    if (u >= '0' && u <= '9') return u - '0';
                    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
                    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
                    return -1;
                };
                const int high = i < n ? hex(rtf[i]) : -1;
                const int low = i + 1 < n ? hex(rtf[i + 1]) : -1;
                if (high >= 0 && low >= 0) {
                    put(QChar(codePage->ToUnit(static_cast<std::uint8_t>(high * 16 + low))));
                    i += 2;
                }
                break;
            }
            case '\\':
            case '{':
            case '}':
                put(next);
                break;
            case '~':
                put(QChar(0x00A0));
                break;
            case '_':
                put(QLatin1Char('-'));
                break;
            case '\r':
            case '\n':
                put(QLatin1Char('\n'));
                break;
            default:
                break;
        }
    }
    if (out.endsWith(QLatin1Char('\n'))) out.chop(1);
    return out;
}

}  // namespace

QWidget* MakeRichEdit(const rt::Object& control, QWidget* parent) {
    auto* edit = new QTextEdit(parent);
    ApplyColorsAndFont(*edit, control, true);
    ApplyBorder(*edit, control);
    edit->setReadOnly(true);
    edit->setAcceptRichText(false);
    edit->document()->setDocumentMargin(1);
    edit->setLineWrapMode(BoolOf(control, "WordWrap", true) ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    ApplyScrollBars(*edit, control, BoolOf(control, "HideScrollBars", true), "ssNone");
    QString text;
    if (const auto* lines = StoredLinesOf(control, "Lines")) {
        QStringList joined;
        for (const std::string& line : *lines) {
            if (joined.size() >= MaxEntries) break;
            joined << Q(line);
        }
        text = joined.join(QLatin1Char('\n'));
        // A rich edit loads its lines as rich text when they are rich text.
        if (!BoolOf(control, "PlainText", false) && text.trimmed().startsWith(QLatin1String("{\\rtf")))
            text = RichTextToPlain(text);
    }
    edit->setPlainText(text);
    QTextCursor all(edit->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(HorizontalAlignment(EnumOf(control, "Alignment")));
    all.mergeBlockFormat(format);
    return edit;
}

}  // namespace fw::preview::dataviews
