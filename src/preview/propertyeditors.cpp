#include "preview/propertyeditors.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>

#include "base/asciitext.h"
#include "base/codepage.h"
#include "preview/formlines.h"
#include "runtime/metadata.h"
#include "runtime/object.h"
#include "runtime/registry.h"
#include "runtime/valuetext.h"

namespace fw::preview {

namespace {

bool IsType(const InspectorRow& row, std::string_view name) {
    return row.Type && EqualsIgnoringCase(row.Type->Name, name);
}

bool IsIdentifier(std::string_view text) {
    if (text.empty()) return false;
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (!letter(text.front())) return false;
    return std::all_of(text.begin(), text.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

template <typename Number>
std::optional<Number> ReadWhole(std::string_view text) {
    Number value{};
    if (!ReadNumber(text, value)) return std::nullopt;
    return value;
}

// A name of the list equal to text ignoring case, as the list spells it.
std::optional<std::string> FindName(const std::vector<std::string>& names, std::string_view text) {
    for (const std::string& name : names)
        if (EqualsIgnoringCase(name, text)) return name;
    return std::nullopt;
}

std::vector<std::string> Names(std::span<const std::string_view> names) {
    return {names.begin(), names.end()};
}

// The colour a QColor is, as the form stores colours: red in the low byte.
std::int64_t ColorValueOf(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (static_cast<std::int64_t>(colour.blue()) << 16);
}

// A colour value as form text: its name, else the number in decimal.
std::string ColorValueText(std::int64_t value) {
    const std::string text = rt::ColorToText(value);
    return text.starts_with('$') ? std::to_string(value) : text;
}

std::string Utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

ValueKind ValueKindOf(const InspectorRow& row, bool eventRow, bool topLevel) {
    if (!row.Type) return ValueKind::None;
    if (eventRow) return ValueKind::Identifier;
    using K = rt::TypeKind;
    switch (row.Type->Kind) {
        case K::tkInteger:
            if (IsType(row, "TColor")) return ValueKind::Color;
            if (IsType(row, "TCursor")) return ValueKind::Cursor;
            if (IsType(row, "TShortCut")) return ValueKind::ShortCut;
            return row.Type->Idents.empty() ? ValueKind::Integer : ValueKind::NamedInteger;
        case K::tkInt64:
            return ValueKind::Int64;
        case K::tkFloat:
            return ValueKind::Float;
        case K::tkChar:
        case K::tkWChar:
            return ValueKind::Char;
        case K::tkString:
        case K::tkLString:
        case K::tkWString:
            // An object's name is an identifier in its header, not a property line:
            // the edit renames the object.
            return topLevel && row.Name == "Name" ? ValueKind::Identifier : ValueKind::String;
        case K::tkEnumeration:
            return IsType(row, "Boolean") ? ValueKind::Boolean : ValueKind::Enumeration;
        case K::tkSet:
            return row.Type->ElementType ? ValueKind::Set : ValueKind::None;
        case K::tkClass:
            if (row.Reference) return ValueKind::Identifier;
            if (row.Object && row.Object->GetClass().Has(rt::CfStrings)) return ValueKind::Strings;
            if (row.Object && row.Object->InheritsFrom("TFont")) return ValueKind::Font;
            return ValueKind::None;
        default:
            return ValueKind::None;
    }
}

std::string FormStringLiteral(std::u16string_view value) {
    std::string text;
    bool quoted = false;
    for (const char16_t unit : value) {
        const bool plain = unit >= 0x20 && unit < 0x7F;
        if (plain != quoted) {
            text += '\'';
            quoted = plain;
        }
        if (!plain) {
            text += '#' + std::to_string(static_cast<unsigned>(unit));
        } else {
            if (unit == u'\'') text += '\'';
            text += static_cast<char>(unit);
        }
    }
    if (quoted) text += '\'';
    return text.empty() ? "''" : text;
}

std::string FormSetValue(const std::vector<std::string>& names) {
    std::string text = "[";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i ? ", " : "") + names[i];
    return text + "]";
}

std::string FormStringListValue(const std::vector<std::u16string>& lines) {
    if (lines.empty()) return {};
    std::string text = "(";
    for (const std::u16string& line : lines)
        text += ' ' + FormStringLiteral(line);
    return text + " )";
}

std::vector<std::string> SetNames(std::string_view text) {
    text = TrimBlanks(text);
    if (text.starts_with('[')) text.remove_prefix(1);
    if (text.ends_with(']')) text.remove_suffix(1);
    std::vector<std::string> names;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view name = TrimBlanks(text.substr(0, comma));
        if (!name.empty()) names.emplace_back(name);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return names;
}

std::vector<std::string> ChoicesOf(const InspectorRow& row, ValueKind kind) {
    if (!row.Type) return {};
    switch (kind) {
        case ValueKind::Boolean:
        case ValueKind::Enumeration:
            return Names(row.Type->EnumNames);
        case ValueKind::NamedInteger:
        case ValueKind::Color:
        case ValueKind::Cursor: {
            std::vector<std::string> names;
            for (const rt::IdentEntry& entry : row.Type->Idents)
                names.emplace_back(entry.Name);
            if (kind == ValueKind::Cursor && names.empty())
                for (const std::string_view name : CursorNames)
                    names.emplace_back(name);
            return names;
        }
        default:
            return {};
    }
}

std::vector<std::string> SetElementsOf(const InspectorRow& row) {
    if (!row.Type || !row.Type->ElementType) return {};
    return Names(row.Type->ElementType->EnumNames);
}

std::optional<std::string> FormValueOf(const InspectorRow& row, ValueKind kind, const QString& typed) {
    const std::string text = Utf8(typed);
    const std::string_view trimmed = TrimBlanks(text);
    try {
        switch (kind) {
            case ValueKind::None:
            case ValueKind::Strings:
            case ValueKind::Font:
                return std::nullopt;
            case ValueKind::Integer: {
                const auto value = ReadWhole<std::int64_t>(trimmed);
                if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
                    *value > std::numeric_limits<std::uint32_t>::max())
                    return std::nullopt;
                return std::to_string(*value);
            }
            case ValueKind::Int64: {
                const auto value = ReadWhole<std::int64_t>(trimmed);
                if (!value) return std::nullopt;
                return std::to_string(*value);
            }
            case ValueKind::Float: {
                const auto value = ReadWhole<double>(trimmed);
                if (!value || !std::isfinite(*value)) return std::nullopt;
                // The number as typed: the writer puts it in its own form.
                return std::string(trimmed.starts_with('+') ? trimmed.substr(1) : trimmed);
            }
            case ValueKind::String:
                return FormStringLiteral(typed.toStdU16String());
            case ValueKind::Char: {
                const std::u16string units = typed.toStdU16String();
                if (units.size() != 1) return std::nullopt;
                return FormStringLiteral(units);
            }
            case ValueKind::Identifier:
                if (trimmed.empty()) return std::string();
                if (!IsIdentifier(trimmed)) return std::nullopt;
                return std::string(trimmed);
            case ValueKind::Boolean:
            case ValueKind::Enumeration:
                return FindName(ChoicesOf(row, kind), trimmed);
            case ValueKind::Set: {
                const std::vector<std::string> elements = SetElementsOf(row);
                std::vector<std::string> names;
                for (const std::string& name : SetNames(trimmed)) {
                    const std::optional<std::string> element = FindName(elements, name);
                    if (!element) return std::nullopt;
                    if (std::find(names.begin(), names.end(), *element) == names.end())
                        names.push_back(*element);
                }
                // In the order of the elements, as the writer lists them.
                std::vector<std::string> ordered;
                for (const std::string& element : elements)
                    if (std::find(names.begin(), names.end(), element) != names.end())
                        ordered.push_back(element);
                return FormSetValue(ordered);
            }
            case ValueKind::NamedInteger: {
                if (const std::optional<std::string> name = FindName(ChoicesOf(row, kind), trimmed))
                    return name;
                const std::optional<std::string> number = FormValueOf(row, ValueKind::Integer, typed);
                // A number that has a name is written by its name, as the writer does.
                if (number)
                    for (const rt::IdentEntry& entry : row.Type->Idents)
                        if (std::to_string(entry.Value) == *number) return std::string(entry.Name);
                return number;
            }
            case ValueKind::Color:
                return ColorValueText(rt::TextToColor(trimmed));
            case ValueKind::Cursor:
                return rt::CursorToText(rt::TextToCursor(trimmed));
            case ValueKind::ShortCut: {
                if (trimmed.empty()) return std::string("0");
                // The number the form stores stands for itself.
                if (const auto number = ReadWhole<std::uint16_t>(trimmed)) return std::to_string(*number);
                const std::uint16_t value = rt::TextToShortCut(trimmed);
                if (value == 0) return std::nullopt;
                return std::to_string(value);
            }
        }
    } catch (const std::exception&) {
        // A colour or cursor text that names none.
    }
    return std::nullopt;
}

// ---- fonts ----

QFont QFontOf(const FontValues& values) {
    QFont font(QString::fromStdString(values.Name));
    if (values.Height < 0)
        font.setPointSizeF(-values.Height * 72.0 / DesignPixelsPerInch);
    else if (values.Height > 0)
        font.setPixelSize(values.Height);
    const auto has = [&](std::string_view name) {
        return std::any_of(values.Style.begin(), values.Style.end(),
                           [&](const std::string& s) { return EqualsIgnoringCase(s, name); });
    };
    font.setBold(has("fsBold"));
    font.setItalic(has("fsItalic"));
    font.setUnderline(has("fsUnderline"));
    font.setStrikeOut(has("fsStrikeOut"));
    return font;
}

FontValues FontValuesOf(const QFont& font) {
    FontValues values;
    values.Name = Utf8(font.family());
    if (font.pixelSize() > 0)
        values.Height = -font.pixelSize();
    else
        values.Height = -static_cast<int>(std::lround(font.pointSizeF() * DesignPixelsPerInch / 72.0));
    if (font.bold()) values.Style.emplace_back("fsBold");
    if (font.italic()) values.Style.emplace_back("fsItalic");
    if (font.underline()) values.Style.emplace_back("fsUnderline");
    if (font.strikeOut()) values.Style.emplace_back("fsStrikeOut");
    return values;
}

std::vector<std::pair<std::string, std::string>> FontChanges(const std::string& prefix,
                                                             const FontValues& before,
                                                             const FontValues& after) {
    std::vector<std::pair<std::string, std::string>> changes;
    if (after.Name != before.Name)
        changes.emplace_back(prefix + "Name", FormStringLiteral(Utf16FromUtf8(after.Name)));
    if (after.Height != before.Height) changes.emplace_back(prefix + "Height", std::to_string(after.Height));
    if (after.Style != before.Style) changes.emplace_back(prefix + "Style", FormSetValue(after.Style));
    return changes;
}

// ---- dialogs ----

namespace {

std::optional<QStringList> AskLinesDialog(const QStringList& lines) {
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("String List Editor"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new QPlainTextEdit(&dialog);
    edit->setObjectName(QStringLiteral("Lines"));
    edit->setPlainText(lines.join(QLatin1Char('\n')));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    dialog.resize(360, 260);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QString text = edit->toPlainText();
    if (text.isEmpty()) return QStringList();
    return text.split(QLatin1Char('\n'));
}

std::optional<QStringList> AskSetDialog(const QStringList& names, const QStringList& checked) {
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Set"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(checked.contains(name) ? Qt::Checked : Qt::Unchecked);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(list);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked) result << list->item(i)->text();
    return result;
}

}  // namespace

EditorDialogs EditorDialogs::Standard() {
    EditorDialogs dialogs;
    dialogs.AskColor = [](const QColor& initial) -> std::optional<QColor> {
        const QColor colour = QColorDialog::getColor(initial);
        if (!colour.isValid()) return std::nullopt;
        return colour;
    };
    dialogs.AskFont = [](const QFont& initial) -> std::optional<QFont> {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, initial);
        if (!ok) return std::nullopt;
        return font;
    };
    dialogs.AskLines = AskLinesDialog;
    dialogs.AskSet = AskSetDialog;
    return dialogs;
}

// ---- the editor ----

ValueEditor::ValueEditor(InspectorRow row, ValueKind kind, std::string path, FontValues font,
                         const EditorDialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      row_(std::move(row)),
      kind_(kind),
      path_(std::move(path)),
      font_(std::move(font)),
      dialogs_(dialogs) {
    setObjectName(QStringLiteral("ValueEditor"));
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // A string starts from its characters; a shortcut the text stores as a number from
    // its key text.
    std::string start = kind_ == ValueKind::String ? row_.EditText : row_.Value;
    if (kind_ == ValueKind::ShortCut)
        if (const auto number = ReadWhole<std::uint16_t>(start)) start = rt::ShortCutToText(*number);
    const QString shown = QString::fromStdString(start);
    const std::vector<std::string> names = ChoicesOf(row_, kind_);
    const bool pickOnly = kind_ == ValueKind::Boolean || kind_ == ValueKind::Enumeration;
    if (!names.empty()) {
        choices_ = new QComboBox(this);
        choices_->setObjectName(QStringLiteral("Choices"));
        for (const std::string& name : names)
            choices_->addItem(QString::fromStdString(name));
        choices_->setEditable(!pickOnly);
        if (!pickOnly) {
            choices_->setInsertPolicy(QComboBox::NoInsert);
            line_ = choices_->lineEdit();
        }
        const int at = choices_->findText(shown, Qt::MatchFixedString);
        if (at >= 0) choices_->setCurrentIndex(at);
        if (line_) line_->setText(shown);
        layout->addWidget(choices_, 1);
        setFocusProxy(choices_);
        connect(choices_, &QComboBox::activated, this, [this](int index) {
            if (line_) line_->setText(choices_->itemText(index));
            if (const auto value = FormValueOf(row_, kind_, choices_->itemText(index)))
                Commit({QString::fromStdString(path_)}, {QString::fromStdString(*value)});
        });
    } else {
        line_ = new QLineEdit(this);
        line_->setText(shown);
        // A font or a string list is edited in its dialog; Enter opens it.
        line_->setReadOnly(kind_ == ValueKind::Font || kind_ == ValueKind::Strings);
        layout->addWidget(line_, 1);
        setFocusProxy(line_);
    }
    if (line_) {
        line_->setObjectName(QStringLiteral("Line"));
        line_->selectAll();
        connect(line_, &QLineEdit::returnPressed, this, [this] { CommitTyped(); });
    }
    const bool dialog = kind_ == ValueKind::Color || kind_ == ValueKind::Font ||
                        kind_ == ValueKind::Strings || kind_ == ValueKind::Set;
    if (dialog) {
        dialogButton_ = new QToolButton(this);
        dialogButton_->setObjectName(QStringLiteral("DialogButton"));
        dialogButton_->setText(QStringLiteral("..."));
        layout->addWidget(dialogButton_);
        connect(dialogButton_, &QToolButton::clicked, this, &ValueEditor::OpenDialog);
    }
}

bool ValueEditor::CommitTyped() {
    if (kind_ == ValueKind::Font || kind_ == ValueKind::Strings) {
        OpenDialog();
        return true;
    }
    const QString typed = line_ ? line_->text() : choices_->currentText();
    const std::optional<std::string> value = FormValueOf(row_, kind_, typed);
    if (!value) {
        if (line_) line_->setStyleSheet(QStringLiteral("color: red"));
        return false;
    }
    Commit({QString::fromStdString(path_)}, {QString::fromStdString(*value)});
    return true;
}

void ValueEditor::OpenDialog() {
    switch (kind_) {
        case ValueKind::Color: {
            if (!dialogs_.AskColor) return;
            QColor initial;
            try {
                const std::int64_t value = rt::TextToColor(Utf8(line_ ? line_->text() : QString()));
                if (value >= 0) initial = QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
            } catch (const std::exception&) {
                // No colour typed: the dialog starts from its own.
            }
            if (const std::optional<QColor> colour = dialogs_.AskColor(initial))
                Commit({QString::fromStdString(path_)},
                       {QString::fromStdString(ColorValueText(ColorValueOf(*colour)))});
            return;
        }
        case ValueKind::Font: {
            if (!dialogs_.AskFont) return;
            if (const std::optional<QFont> font = dialogs_.AskFont(QFontOf(font_))) {
                QStringList paths, values;
                for (const auto& [path, value] : FontChanges(path_ + ".", font_, FontValuesOf(*font))) {
                    paths << QString::fromStdString(path);
                    values << QString::fromStdString(value);
                }
                // The same font again changes nothing, and the editor stays open.
                if (!paths.isEmpty()) Commit(paths, values);
            }
            return;
        }
        case ValueKind::Strings: {
            if (!dialogs_.AskLines || !row_.Object) return;
            QStringList lines;
            for (const std::string& line : row_.Object->Lines())
                lines << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
            if (const std::optional<QStringList> edited = dialogs_.AskLines(lines)) {
                std::vector<std::u16string> units;
                for (const QString& line : *edited)
                    units.push_back(line.toStdU16String());
                Commit({QString::fromStdString(path_ + ".Strings")},
                       {QString::fromStdString(FormStringListValue(units))});
            }
            return;
        }
        case ValueKind::Set: {
            if (!dialogs_.AskSet) return;
            QStringList names, checked;
            for (const std::string& name : SetElementsOf(row_))
                names << QString::fromStdString(name);
            for (const std::string& name : SetNames(Utf8(line_->text())))
                checked << QString::fromStdString(name);
            if (const std::optional<QStringList> picked = dialogs_.AskSet(names, checked)) {
                std::vector<std::string> set;
                for (const QString& name : *picked)
                    set.push_back(Utf8(name));
                Commit({QString::fromStdString(path_)}, {QString::fromStdString(FormSetValue(set))});
            }
            return;
        }
        default:
            return;
    }
}

void ValueEditor::Commit(const QStringList& paths, const QStringList& values) {
    if (done_) return;
    done_ = true;
    emit Committed(paths, values);
}

void ValueEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (!done_) {
            done_ = true;
            emit Cancelled();
        }
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // The line has committed on its own; the key goes no further, where the
        // inspector's tree would open an editor again.
        if (!line_) CommitTyped();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace fw::preview
