// Data views: list and tree views, grids, date pickers and calendars, rich edits,
// outlines, gauges, colour grids, charts and the small arrow controls, drawn as their
// Windows controls look when the program runs.
//
// Item data that list and tree views keep in their own binary layouts is decoded here
// with a bound on every read: a block that is cut short, claims impossible counts or
// sizes, or follows a layout this code does not know shows what could be read before
// the fault, never more. Every control makes at most MaxEntries rows, items, nodes or
// grid lines of cells, whatever the form claims.

#include <QAbstractTableModel>
#include <QBoxLayout>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPolygon>
#include <QProgressBar>
#include <qdrawutil.h>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <numbers>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "codec/codepage.h"
#include "preview/classrows.h"
#include "preview/controlvalues.h"
#include "preview/controlfactory.h"
#include "preview/realizer.h"
#include "preview/vcllook.h"
#include "runtime/registry.h"
#include "runtime/valuetext.h"

namespace fw::preview {

namespace {

// ---------------------------------------------------------------------------------
// Limits and small helpers

// At most this many rows, columns, items or nodes are made for one control: a grid that
// claims a million rows shows its first ten thousand.
constexpr int MaxEntries = 10000;
// Columns of a list view or a data grid, sub-items of a list item.
constexpr int MaxColumns = 256;
// Tree nodes and outline lines nested deeper than this are left out.
constexpr int MaxDepth = 64;

// A floating-point property; values beyond ten million (no date or size this code
// shows comes near) and values that are not numbers give the fallback.
double FloatOf(const rt::Object& object, std::string_view name, double fallback = 0) {
    const rt::Property* p = object.FindProperty(name);
    if (!p || p->Kind() != rt::TypeKind::tkFloat) return fallback;
    const long double value = object.Float(*p);
    if (!std::isfinite(value) || std::fabs(value) > 1e7L) return fallback;
    return static_cast<double>(value);
}

// An ordinal property whose default depends on the program's data (a data grid
// column's Visible and Width follow its field): the class table gives it no default,
// so an unwritten value reads as 0 and cannot be told from a written 0. Such a 0 gives
// the fallback, the value the control takes without data.
std::int64_t Trusted(const rt::Object& object, std::string_view name, std::int64_t fallback) {
    const rt::Property* p = object.FindProperty(name);
    if (!p) return fallback;
    const std::int64_t value = OrdinalOf(object, name, fallback);
    return value == 0 && p->Info->Default.Which == rt::DefaultValue::Kind::None ? fallback : value;
}

// The lines of a string-list property as stored, or none.
const std::vector<std::string>* StoredLinesOf(const rt::Object& object, std::string_view name) {
    const rt::Object* strings = ObjectOf(object, name);
    return strings ? &strings->Lines() : nullptr;
}

// A block the object stored itself, by the name the form used, ignoring case.
const rt::StoredBlock* StoredBlockOf(const rt::Object& object, std::string_view name) {
    for (const auto& [key, block] : object.StoredBlocks())
        if (rt::EqualsIgnoringCase(key, name)) return &block;
    return nullptr;
}

// The integer list a grid stores (ColWidths, RowHeights), or none.
std::span<const std::int64_t> StoredIntegers(const rt::Object& object, std::string_view name) {
    const rt::StoredBlock* block = StoredBlockOf(object, name);
    if (!block) return {};
    return block->Integers;
}

// No widget of a data view takes the keyboard focus from the editor.
void NoFocusAll(QWidget* widget) {
    widget->setFocusPolicy(Qt::NoFocus);
    for (QWidget* inner : widget->findChildren<QWidget*>()) inner->setFocusPolicy(Qt::NoFocus);
}

// The frame of a windowed control: a sunken 3D edge for BorderStyle bsSingle (a flat
// line without Ctl3D), none for bsNone.
void ApplyBorder(QFrame& frame, const rt::Object& control) {
    if (EnumOf(control, "BorderStyle") == "bsNone") {
        frame.setFrameShape(QFrame::NoFrame);
    } else if (!BoolOf(control, "Ctl3D", true)) {
        frame.setFrameStyle(QFrame::Box | QFrame::Plain);
        frame.setLineWidth(1);
    } else {
        frame.setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    }
}

Qt::ScrollBarPolicy BarPolicy(bool allowed, bool onlyWhenNeeded) {
    if (!allowed) return Qt::ScrollBarAlwaysOff;
    return onlyWhenNeeded ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
}

// ScrollBars (ssNone, ssHorizontal, ssVertical, ssBoth) applied to a scroll area.
void ApplyScrollBars(QAbstractScrollArea& area, const rt::Object& control, bool onlyWhenNeeded,
                     const std::string& fallback) {
    std::string bars = EnumOf(control, "ScrollBars");
    if (bars.empty()) bars = fallback;
    const bool horizontal = bars == "ssHorizontal" || bars == "ssBoth";
    const bool vertical = bars == "ssVertical" || bars == "ssBoth";
    area.setHorizontalScrollBarPolicy(BarPolicy(horizontal, onlyWhenNeeded));
    area.setVerticalScrollBarPolicy(BarPolicy(vertical, onlyWhenNeeded));
}

// ---------------------------------------------------------------------------------
// Dates: TDateTime values are days since 1899-12-30, the fraction the time of day.

QDate BaseDate() {
    return QDate(1899, 12, 30);
}

bool DateTimeOk(double value) {
    // Years 1 to 9999, as the runtime's text forms accept them.
    return std::isfinite(value) && value >= -693593.0 && value < 2958466.0;
}

// The day part counts from the base date; the fraction counts forward from midnight
// even for a negative value.
QDateTime ToQDateTime(double value) {
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    const auto ms = static_cast<int>(std::clamp(std::llround(fraction * 86400000.0), 0LL, 86399999LL));
    return QDateTime(BaseDate().addDays(static_cast<qint64>(whole)), QTime::fromMSecsSinceStartOfDay(ms));
}

double FromQDateTime(const QDateTime& dt) {
    const auto days = static_cast<double>(BaseDate().daysTo(dt.date()));
    const double fraction = dt.time().msecsSinceStartOfDay() / 86400000.0;
    return days < 0 ? days - fraction : days + fraction;
}

// A date and time picker's custom format: d dd ddd dddd, M MM MMM MMMM, y yy yyyy,
// h hh H HH, m mm, s ss, t tt, 'quoted text'; anything else stands for itself.
QString FormatDateTime(const QString& format, const QDateTime& dt, const QLocale& locale) {
    QString out;
    const QDate date = dt.date();
    const QTime time = dt.time();
    const qsizetype n = std::min<qsizetype>(format.size(), 1000);
    for (qsizetype i = 0; i < n;) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            ++i;
            while (i < n) {
                if (format[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && format[i + 1] == QLatin1Char('\'')) {
                        out += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += format[i++];
            }
            continue;
        }
        qsizetype run = 1;
        while (i + run < n && format[i + run] == c) ++run;
        const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
        const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
        switch (c.unicode()) {
            case 'd':
                if (run == 1) out += QString::number(date.day());
                else if (run == 2) out += two(date.day());
                else if (run == 3) out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
                else out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
                break;
            case 'M':
                if (run == 1) out += QString::number(date.month());
                else if (run == 2) out += two(date.month());
                else if (run == 3) out += locale.monthName(date.month(), QLocale::ShortFormat);
                else out += locale.monthName(date.month(), QLocale::LongFormat);
                break;
            case 'y':
                if (run == 1) out += QString::number(date.year() % 10);
                else if (run == 2) out += two(date.year() % 100);
                else out += QString::number(date.year());
                break;
            case 'h': out += run == 1 ? QString::number(hour12) : two(hour12); break;
            case 'H': out += run == 1 ? QString::number(time.hour()) : two(time.hour()); break;
            case 'm': out += run == 1 ? QString::number(time.minute()) : two(time.minute()); break;
            case 's': out += run == 1 ? QString::number(time.second()) : two(time.second()); break;
            case 't': {
                const QString marker = time.hour() < 12 ? locale.amText() : locale.pmText();
                out += run == 1 ? marker.left(1) : marker;
                break;
            }
            default: out += QString(run, c); break;
        }
        i += run;
    }
    return out;
}

// ---------------------------------------------------------------------------------
// Reading the item blocks

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t Left() const { return bytes_.size() - pos_; }
    bool Skip(std::size_t n) {
        if (n > Left()) return false;
        pos_ += n;
        return true;
    }
    bool Byte(std::uint8_t& value) {
        if (Left() < 1) return false;
        value = bytes_[pos_++];
        return true;
    }
    bool Int32(std::int32_t& value) {
        if (Left() < 4) return false;
        value = Int32At(bytes_, pos_);
        pos_ += 4;
        return true;
    }
    bool Take(std::size_t n, std::span<const std::uint8_t>& out) {
        if (n > Left()) return false;
        out = bytes_.subspan(pos_, n);
        pos_ += n;
        return true;
    }
    static std::int32_t Int32At(std::span<const std::uint8_t> bytes, std::size_t at) {
        const std::uint32_t v = static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
                                static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
                                static_cast<std::uint32_t>(bytes[at + 3]) << 24;
        return static_cast<std::int32_t>(v);
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

QString WideText(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
    return QString::fromStdU16String(text);
}

// Narrow text as the form's code page wrote it; the default Windows code page stands in
// for the one the form was made with, which the live objects do not keep.
QString NarrowText(std::span<const std::uint8_t> bytes) {
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return QString::fromStdU16String(CodePage::Default().Decode(raw));
}

// Reads a text of a length byte and that many characters.
bool ReadShortText(ByteReader& in, bool wide, QString& text) {
    std::uint8_t length = 0;
    std::span<const std::uint8_t> bytes;
    if (!in.Byte(length) || !in.Take(std::size_t{length} * (wide ? 2 : 1), bytes)) return false;
    text = wide ? WideText(bytes) : NarrowText(bytes);
    return true;
}

struct NodeData {
    QString Text;
    std::vector<NodeData> Children;
};

// How one generation of the tree view writes a node: a record size, then the record
// (image indexes, data, the number of children, the text with its length byte); the
// newest puts a few bytes outside the records between one node and the next.
struct NodeLayout {
    bool ClassHeader;       // the block names the node class after the top-level count
    std::size_t CountAt;    // offset of the child count in the record
    std::size_t TextAt;     // offset of the text's length byte
    bool Wide;              // UTF-16 text; one byte per character otherwise
    std::size_t Separator;  // bytes before every node but the first
};
// The oldest "Data" block, without a version byte: ImageIndex, SelectedIndex,
// StateIndex, OverlayIndex, Data, Count, then the text in the form's code page.
constexpr NodeLayout NarrowNodes{false, 20, 24, false, 0};
// "NodeData" version 1: the same with UTF-16 text.
constexpr NodeLayout WideNodes1{false, 20, 24, true, 0};
// Version 3: an eight-byte data field, and a byte (Enabled) before the text.
constexpr NodeLayout WideNodes3{false, 24, 29, true, 0};
// Version 7: the node class is named once, a flag byte precedes the count, and two
// bytes separate one node from the next in the order they are written.
constexpr NodeLayout WideNodes7{true, 25, 30, true, 2};

class NodeParser {
public:
    // A strict parser wants every record and the block filled exactly.
    NodeParser(std::span<const std::uint8_t> bytes, const NodeLayout& layout, bool strict)
        : in_(bytes), layout_(layout), strict_(strict) {}

    // Reads the whole block; false when it does not follow the layout (the nodes read
    // before the fault stay in Nodes). Reaching the node limit is no fault.
    bool Parse() {
        std::int32_t top = 0;
        if (!in_.Int32(top)) return false;
        if (layout_.ClassHeader) {
            QString className;
            if (!ReadShortText(in_, true, className)) return false;
        }
        if (!ReadNodes(top, 0, Nodes)) return capped_;
        return !strict_ || in_.Left() == 0;
    }

    std::vector<NodeData> Nodes;

private:
    bool ReadNodes(std::int32_t count, int depth, std::vector<NodeData>& out) {
        if (count < 0 || (count > 0 && depth >= MaxDepth)) return false;
        for (std::int32_t i = 0; i < count; ++i) {
            if (budget_ <= 0) {
                capped_ = true;
                return false;
            }
            if (!first_ && !in_.Skip(layout_.Separator)) return false;
            first_ = false;
            std::int32_t size = 0;
            std::span<const std::uint8_t> record;
            if (!in_.Int32(size) || size < 0 || !in_.Take(static_cast<std::size_t>(size), record)) return false;
            if (record.size() < layout_.TextAt + 1 || record.size() < layout_.CountAt + 4) return false;
            const std::int32_t children = ByteReader::Int32At(record, layout_.CountAt);
            const std::size_t length = std::size_t{record[layout_.TextAt]} * (layout_.Wide ? 2 : 1);
            const std::size_t end = layout_.TextAt + 1 + length;
            if (end > record.size() || (strict_ && end != record.size())) return false;
            const auto text = record.subspan(layout_.TextAt + 1, length);
            --budget_;
            out.push_back(NodeData{layout_.Wide ? WideText(text) : NarrowText(text), {}});
            if (!ReadNodes(children, depth + 1, out.back().Children)) return false;
        }
        return true;
    }

    ByteReader in_;
    NodeLayout layout_;
    bool strict_;
    int budget_ = MaxEntries;
    bool capped_ = false;
    bool first_ = true;
};

// The nodes a tree view stored: "NodeData" (a version byte, then wide text) or the
// older "Data" (narrow text). A version this code knows is read with its own layout,
// and a damaged block gives the nodes before the damage. Any other version is read
// with the first known layout the whole block fits exactly, or not at all: a guess
// that does not fit would show noise.
std::vector<NodeData> DecodeTreeNodes(const rt::Object& tree) {
    const rt::Object* items = ObjectOf(tree, "Items");
    if (!items) return {};
    const NodeLayout* known = nullptr;
    std::span<const std::uint8_t> bytes;
    if (const rt::StoredBlock* block = StoredBlockOf(*items, "NodeData"); block && !block->Bytes.empty()) {
        bytes = std::span<const std::uint8_t>(block->Bytes).subspan(1);
        switch (block->Bytes[0]) {
            case 1: known = &WideNodes1; break;
            case 3: known = &WideNodes3; break;
            case 7: known = &WideNodes7; break;
            default: break;
        }
    } else if (const rt::StoredBlock* old = StoredBlockOf(*items, "Data"); old && !old->Bytes.empty()) {
        bytes = old->Bytes;
        known = &NarrowNodes;
    } else {
        return {};
    }
    if (known) {
        NodeParser parser(bytes, *known, false);
        parser.Parse();
        return std::move(parser.Nodes);
    }
    for (const NodeLayout* layout : {&WideNodes1, &WideNodes3, &WideNodes7}) {
        NodeParser strict(bytes, *layout, true);
        if (strict.Parse()) return std::move(strict.Nodes);
    }
    return {};
}

struct ListItemData {
    QString Caption;
    std::vector<QString> SubItems;
};

// The items a list view stored. "ItemData" (a version byte, a size, the count, then per
// item ImageIndex, StateIndex, OverlayIndex, the sub-item count, GroupID and Data, the
// caption and the sub-items in UTF-16, each sub-item followed by four bytes of its own
// data) or the older "Data" (the same without version byte and GroupID, narrow text, no
// bytes after a sub-item). Sub-item images at the end are not needed. Items are read
// until the block ends or stops making sense.
std::vector<ListItemData> DecodeListItems(const rt::Object& list) {
    const rt::Object* items = ObjectOf(list, "Items");
    if (!items) return {};
    bool wide = true;
    const rt::StoredBlock* block = StoredBlockOf(*items, "ItemData");
    if (!block || block->Bytes.empty()) {
        block = StoredBlockOf(*items, "Data");
        wide = false;
    }
    if (!block || block->Bytes.empty()) return {};
    ByteReader in(block->Bytes);
    std::int32_t size = 0, count = 0;
    if ((wide && !in.Skip(1)) || !in.Int32(size) || !in.Int32(count) || count < 0) return {};
    const std::size_t fields = wide ? 6 : 5;
    std::vector<ListItemData> result;
    for (std::int32_t i = 0; i < count && static_cast<int>(result.size()) < MaxEntries; ++i) {
        std::span<const std::uint8_t> record;
        if (!in.Take(fields * 4, record)) break;
        const std::int32_t subCount = ByteReader::Int32At(record, 12);
        ListItemData item;
        if (subCount < 0 || !ReadShortText(in, wide, item.Caption)) break;
        bool ok = true;
        for (std::int32_t j = 0; j < subCount; ++j) {
            QString text;
            if (!ReadShortText(in, wide, text) || (wide && !in.Skip(4))) {
                ok = false;
                break;
            }
            if (item.SubItems.size() < static_cast<std::size_t>(MaxColumns)) item.SubItems.push_back(std::move(text));
        }
        result.push_back(std::move(item));
        if (!ok) break;
    }
    return result;
}

// ---------------------------------------------------------------------------------
// Rich text

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
        "fonttbl",  "colortbl", "stylesheet", "info",     "pict",       "object",    "header",
        "headerl",  "headerr",  "headerf",    "footer",   "footerl",    "footerr",   "footerf",
        "listtable", "listoverridetable", "rsidtbl", "generator", "themedata", "colorschememapping",
        "latentstyles", "datastore", "xmlnstbl", "fldinst", "filetbl", "revtbl", "pgdsctbl",
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
            if (groups.size() < 256) groups.push_back(groups.back());
            else ++deeper;
            pendingSkip = 0;
            ++i;
            continue;
        }
        if (c == QLatin1Char('}')) {
            if (deeper > 0) --deeper;
            else if (groups.size() > 1) groups.pop_back();
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
                if (const CodePage* found = CodePage::Find(static_cast<int>(std::clamp<long long>(param, 0, 65535))))
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
            case '*': groups.back().Skip = true; break;
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
            case '}': put(next); break;
            case '~': put(QChar(0x00A0)); break;
            case '_': put(QLatin1Char('-')); break;
            case '\r':
            case '\n': put(QLatin1Char('\n')); break;
            default: break;
        }
    }
    if (out.endsWith(QLatin1Char('\n'))) out.chop(1);
    return out;
}

// ---------------------------------------------------------------------------------
// Trees: the Windows tree view's dotted lines and plus/minus buttons

class VclTree : public QTreeWidget {
public:
    VclTree(bool lines, bool buttons, QWidget* parent) : QTreeWidget(parent), lines_(lines), buttons_(buttons) {}

protected:
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override {
        const int indent = indentation();
        if (indent <= 0 || rect.width() <= 0) return;
        const int columns = rect.width() / indent;
        const QColor lineColor(0xA0, 0xA0, 0xA0);
        QPen dotted(lineColor, 1, Qt::CustomDashLine);
        dotted.setDashPattern({1.0, 1.0});
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        QModelIndex current = index;
        for (int column = columns - 1; column >= 0 && current.isValid(); --column, current = current.parent()) {
            const QRect cell(rect.left() + column * indent, rect.top(), indent, rect.height());
            const int cx = cell.left() + indent / 2;
            const int cy = cell.top() + cell.height() / 2;
            const bool hasNext = current.sibling(current.row() + 1, 0).isValid();
            if (current == index) {
                if (lines_) {
                    painter->setPen(dotted);
                    // The first top-level node has nothing above it to connect to.
                    const bool above = current.row() > 0 || current.parent().isValid();
                    if (above) painter->drawLine(cx, cell.top(), cx, cy);
                    if (hasNext) painter->drawLine(cx, cy, cx, cell.bottom());
                    painter->drawLine(cx, cy, cell.right(), cy);
                }
                if (buttons_ && model()->hasChildren(index)) {
                    const QRect box(cx - 4, cy - 4, 8, 8);
                    painter->setPen(QColor(0x91, 0x91, 0x91));
                    painter->setBrush(Qt::white);
                    painter->drawRect(box);
                    painter->setPen(Qt::black);
                    painter->drawLine(cx - 2, cy, cx + 2, cy);
                    if (!isExpanded(index)) painter->drawLine(cx, cy - 2, cx, cy + 2);
                }
            } else if (lines_ && hasNext) {
                painter->setPen(dotted);
                painter->drawLine(cx, cell.top(), cx, cell.bottom());
            }
        }
        painter->restore();
    }

private:
    bool lines_;
    bool buttons_;
};

struct TreeLook {
    bool Lines = true;
    bool Buttons = true;
    bool Root = true;
    int Indent = 19;
    int ItemHeight = 0;  // 0: from the font
    QIcon Branch, Leaf;  // pictures before the text, when shown
};

void AddNodes(QTreeWidget* tree, QTreeWidgetItem* parent, const std::vector<NodeData>& nodes, const TreeLook& look,
              int height, int depth) {
    if (depth >= MaxDepth) return;
    for (const NodeData& node : nodes) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, node.Text);
        item->setSizeHint(0, QSize(0, height));
        if (!look.Branch.isNull()) item->setIcon(0, node.Children.empty() ? look.Leaf : look.Branch);
        AddNodes(tree, item, node.Children, look, height, depth + 1);
    }
}

VclTree* MakeTree(const rt::Object& control, QWidget* parent, const std::vector<NodeData>& nodes, const TreeLook& look) {
    auto* tree = new VclTree(look.Lines, look.Buttons, parent);
    ApplyColorsAndFont(*tree, control, true);
    ApplyBorder(*tree, control);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setRootIsDecorated(look.Root);
    tree->setIndentation(std::clamp(look.Indent, 1, 200));
    tree->setUniformRowHeights(true);
    tree->setSelectionMode(QAbstractItemView::NoSelection);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (!look.Branch.isNull()) tree->setIconSize(QSize(16, 16));
    const int height = look.ItemHeight > 0 ? look.ItemHeight : QFontMetrics(tree->font()).height() + 4;
    AddNodes(tree, nullptr, nodes, look, std::clamp(height, 4, 500), 0);
    // Nodes come up collapsed, as the control loads them at run time.
    tree->collapseAll();
    return tree;
}

// A shell view's root, by its Root value: a shell folder's name or a path.
QString ShellRootName(const rt::Object& control) {
    const QString root = TextOf(control, "Root");
    static const std::pair<const char*, const char*> names[] = {
        {"rfDesktop", "Desktop"},       {"rfMyComputer", "This PC"},  {"rfNetwork", "Network"},
        {"rfRecycleBin", "Recycle Bin"}, {"rfPersonal", "Documents"},  {"rfPrinters", "Printers"},
        {"rfControlPanel", "Control Panel"}, {"rfAppData", "AppData"}, {"rfFavorites", "Favorites"},
        {"rfTemplates", "Templates"},   {"rfFonts", "Fonts"},
    };
    if (root.isEmpty()) return QStringLiteral("Desktop");
    for (const auto& [value, name] : names)
        if (root.compare(QLatin1String(value), Qt::CaseInsensitive) == 0) return QString::fromLatin1(name);
    return root;
}

// ---------------------------------------------------------------------------------
// Grids: a table view whose cells draw as the VCL grid draws them

struct GridLook {
    int Cols = 5;
    int Rows = 5;
    int FixedCols = 1;
    int FixedRows = 1;
    int DefaultColWidth = 64;
    int DefaultRowHeight = 24;
    std::vector<int> ColWidths;   // stored widths; missing ones take the default
    std::vector<int> RowHeights;  // stored heights
    int LineWidth = 1;            // GridLineWidth
    bool FixedVertLine = true, FixedHorzLine = true, VertLine = true, HorzLine = true;
    bool Classic = false;  // the classic drawing style: raised fixed cells, black lines
    bool RowSelect = false;
    int SelectedCol = -1, SelectedRow = -1;
    bool Stretch = false;            // all columns and rows share the size evenly
    bool StretchLastColumn = false;  // the last column takes the width the others leave
    bool CenterText = false;
    QColor Back, Fixed, Text, FixedText, Line, FixedLine, Highlight, HighlightText;
    QFont FixedFont;
    bool HasFixedFont = false;
    std::map<std::pair<int, int>, QString> Texts;  // (row, column)
    std::map<int, Qt::Alignment> ColumnAlign;
    std::map<int, Qt::Alignment> TitleAlign;

    int VLineWidth() const { return FixedVertLine || VertLine ? LineWidth : 0; }
    int HLineWidth() const { return FixedHorzLine || HorzLine ? LineWidth : 0; }
    int ColWidth(int col) const {
        const int w = col < static_cast<int>(ColWidths.size()) ? ColWidths[static_cast<std::size_t>(col)] : DefaultColWidth;
        return std::max(0, w);
    }
    int RowHeight(int row) const {
        const int h = row < static_cast<int>(RowHeights.size()) ? RowHeights[static_cast<std::size_t>(row)] : DefaultRowHeight;
        return std::max(0, h);
    }
};

class GridModel : public QAbstractTableModel {
public:
    GridModel(std::shared_ptr<const GridLook> look, QObject* parent)
        : QAbstractTableModel(parent), look_(std::move(look)) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : look_->Rows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : look_->Cols; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const auto it = look_->Texts.find({index.row(), index.column()});
        return it == look_->Texts.end() ? QVariant() : QVariant(it->second);
    }
    Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled; }

private:
    std::shared_ptr<const GridLook> look_;
};

class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(std::shared_ptr<const GridLook> look, QObject* parent)
        : QStyledItemDelegate(parent), look_(std::move(look)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const GridLook& g = *look_;
        const int row = index.row();
        const int col = index.column();
        const bool fixed = row < g.FixedRows || col < g.FixedCols;
        const bool selected = !fixed && row == g.SelectedRow && (g.RowSelect || col == g.SelectedCol);
        const QRect whole = option.rect;
        const int vw = std::min(g.VLineWidth(), whole.width());
        const int hw = std::min(g.HLineWidth(), whole.height());
        const QRect cell(whole.left(), whole.top(), whole.width() - vw, whole.height() - hw);
        painter->save();
        painter->fillRect(cell, fixed ? g.Fixed : selected ? g.Highlight : g.Back);
        if (fixed && g.Classic && cell.width() > 1 && cell.height() > 1) {
            painter->setPen(ColorOf(clBtnHighlight));
            painter->drawLine(cell.topLeft(), cell.topRight());
            painter->drawLine(cell.topLeft(), cell.bottomLeft());
            painter->setPen(ColorOf(clBtnShadow));
            painter->drawLine(cell.bottomLeft(), cell.bottomRight());
            painter->drawLine(cell.topRight(), cell.bottomRight());
        }
        const bool drawV = fixed ? g.FixedVertLine : g.VertLine;
        const bool drawH = fixed ? g.FixedHorzLine : g.HorzLine;
        const QColor line = fixed ? g.FixedLine : g.Line;
        if (hw > 0) painter->fillRect(QRect(whole.left(), cell.bottom() + 1, whole.width(), hw), drawH ? line : g.Back);
        if (vw > 0) painter->fillRect(QRect(cell.right() + 1, whole.top(), vw, whole.height()), drawV ? line : g.Back);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty() && cell.width() > 2 && cell.height() > 2) {
            painter->setClipRect(cell);
            painter->setFont(fixed && g.HasFixedFont ? g.FixedFont : option.font);
            painter->setPen(fixed ? g.FixedText : selected ? g.HighlightText : g.Text);
            Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
            if (g.CenterText) {
                align = Qt::AlignCenter;
            } else {
                const auto& table = row < g.FixedRows ? g.TitleAlign : g.ColumnAlign;
                if (const auto it = table.find(col); it != table.end()) align = it->second | Qt::AlignTop;
            }
            painter->drawText(cell.adjusted(2, 2, -2, -2), static_cast<int>(align) | Qt::TextSingleLine, text);
        }
        painter->restore();
    }

private:
    std::shared_ptr<const GridLook> look_;
};

// A grid whose last column can take the width the others leave.
class GridView : public QTableView {
public:
    GridView(bool stretchLast, QWidget* parent) : QTableView(parent), stretchLast_(stretchLast) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QTableView::resizeEvent(event);
        QHeaderView* columns = horizontalHeader();
        const int count = columns->count();
        if (!stretchLast_ || count == 0) return;
        int others = 0;
        for (int c = 0; c < count - 1; ++c) others += columns->sectionSize(c);
        columns->resizeSection(count - 1, std::max(8, viewport()->width() - others));
    }

private:
    bool stretchLast_;
};

QTableView* MakeGrid(const rt::Object& control, QWidget* parent, std::shared_ptr<GridLook> look) {
    auto* view = new GridView(look->StretchLastColumn && !look->Stretch, parent);
    ApplyColorsAndFont(*view, control, true);
    look->Cols = std::clamp(look->Cols, 0, MaxEntries);
    look->Rows = std::clamp(look->Rows, 0, MaxEntries);
    look->FixedCols = std::clamp(look->FixedCols, 0, look->Cols);
    look->FixedRows = std::clamp(look->FixedRows, 0, look->Rows);
    look->LineWidth = std::clamp(look->LineWidth, 0, 100);
    std::shared_ptr<const GridLook> shared = look;
    view->setModel(new GridModel(shared, view));
    view->setItemDelegate(new GridDelegate(shared, view));
    view->setShowGrid(false);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setCornerButtonEnabled(false);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    QHeaderView* columns = view->horizontalHeader();
    QHeaderView* rows = view->verticalHeader();
    columns->hide();
    rows->hide();
    columns->setMinimumSectionSize(0);
    rows->setMinimumSectionSize(0);
    if (look->Stretch) {
        columns->setSectionResizeMode(QHeaderView::Stretch);
        rows->setSectionResizeMode(QHeaderView::Stretch);
    } else {
        const int vw = look->VLineWidth();
        const int hw = look->HLineWidth();
        columns->setDefaultSectionSize(std::clamp(look->DefaultColWidth, 0, 100000) + vw);
        rows->setDefaultSectionSize(std::clamp(look->DefaultRowHeight, 0, 100000) + hw);
        const int storedCols = std::min(look->Cols, static_cast<int>(look->ColWidths.size()));
        for (int c = 0; c < storedCols; ++c) columns->resizeSection(c, std::min(look->ColWidth(c), 100000) + vw);
        const int storedRows = std::min(look->Rows, static_cast<int>(look->RowHeights.size()));
        for (int r = 0; r < storedRows; ++r) rows->resizeSection(r, std::min(look->RowHeight(r), 100000) + hw);
    }
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, look->Back);
    view->setPalette(palette);
    return view;
}

// The published look every grid shares: its colours, line options and drawing style.
std::shared_ptr<GridLook> GridBase(const rt::Object& control) {
    auto look = std::make_shared<GridLook>();
    look->Back = ControlColor(control);
    look->Fixed = ColorProperty(control, "FixedColor", ColorOf(clBtnFace));
    look->Text = ControlFontColor(control);
    look->FixedText = look->Text;
    look->Classic = EnumOf(control, "DrawingStyle") == "gdsClassic";
    look->Line = QColor(0xC0, 0xC0, 0xC0);
    look->FixedLine = look->Classic ? QColor(Qt::black) : ColorOf(clBtnShadow);
    look->Highlight = ColorOf(clHighlight);
    look->HighlightText = ColorOf(clHighlightText);
    look->LineWidth = ClampInt(OrdinalOf(control, "GridLineWidth", 1), 0, 100);
    look->FixedVertLine = HasElement(control, "Options", "goFixedVertLine");
    look->FixedHorzLine = HasElement(control, "Options", "goFixedHorzLine");
    look->VertLine = HasElement(control, "Options", "goVertLine");
    look->HorzLine = HasElement(control, "Options", "goHorzLine");
    look->RowSelect = HasElement(control, "Options", "goRowSelect");
    return look;
}

std::vector<int> StoredSizes(const rt::Object& control, std::string_view name, int count) {
    std::vector<int> sizes;
    const auto stored = StoredIntegers(control, name);
    const std::size_t n = std::min(stored.size(), static_cast<std::size_t>(std::max(0, count)));
    sizes.reserve(n);
    for (std::size_t i = 0; i < n; ++i) sizes.push_back(ClampInt(stored[i], -1, 100000));
    return sizes;
}

// ---------------------------------------------------------------------------------
// Painted controls

// The progress bar of the classic Windows look: a sunken frame, blocks in the bar colour
// or one smooth bar, filling from the left (from the bottom when vertical).
class ProgressView : public QProgressBar {
public:
    ProgressView(bool smooth, QColor bar, QColor back, QWidget* parent)
        : QProgressBar(parent), smooth_(smooth), bar_(std::move(bar)), back_(std::move(back)) {
        setTextVisible(false);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect();
        p.fillRect(r, back_);
        qDrawShadePanel(&p, r, palette(), true, 1);
        const QRect inner = r.adjusted(2, 2, -2, -2);
        const qint64 range = static_cast<qint64>(maximum()) - minimum();
        if (range <= 0 || inner.isEmpty()) return;
        const double part = std::clamp(static_cast<double>(static_cast<qint64>(value()) - minimum()) / static_cast<double>(range), 0.0, 1.0);
        const bool vertical = orientation() == Qt::Vertical;
        const int length = vertical ? inner.height() : inner.width();
        const int filled = static_cast<int>(std::lround(part * length));
        if (filled <= 0) return;
        if (smooth_) {
            p.fillRect(vertical ? QRect(inner.left(), inner.bottom() - filled + 1, inner.width(), filled)
                                : QRect(inner.left(), inner.top(), filled, inner.height()),
                       bar_);
            return;
        }
        // Blocks two thirds as long as the bar is thick, two pixels apart.
        const int thickness = vertical ? inner.width() : inner.height();
        const int block = std::max(2, thickness * 2 / 3);
        for (int at = 0; at < filled; at += block + 2) {
            const int size = std::min(block, length - at);
            if (size <= 0) break;
            p.fillRect(vertical ? QRect(inner.left(), inner.bottom() - at - size + 1, inner.width(), size)
                                : QRect(inner.left() + at, inner.top(), size, inner.height()),
                       bar_);
        }
    }

private:
    bool smooth_;
    QColor bar_, back_;
};

// The Gauges unit's gauge: bars, a pie, a needle or the text alone, with the
// percentage as text.
class GaugeView : public QProgressBar {
public:
    enum class Kind { Text, HorizontalBar, VerticalBar, Pie, Needle };
    GaugeView(Kind kind, QColor fore, QColor back, QColor color, bool border, QWidget* parent)
        : QProgressBar(parent), kind_(kind), fore_(std::move(fore)), back_(std::move(back)), color_(std::move(color)),
          border_(border) {
        setFormat(QStringLiteral("%p%"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QRect r = rect();
        p.fillRect(r, color_);
        if (border_) {
            p.setPen(Qt::black);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            r.adjust(1, 1, -1, -1);
        }
        if (r.isEmpty()) return;
        const qint64 range = static_cast<qint64>(maximum()) - minimum();
        const double part =
            range <= 0 ? 0.0 : std::clamp(static_cast<double>(static_cast<qint64>(value()) - minimum()) / static_cast<double>(range), 0.0, 1.0);
        QRegion filledArea;
        switch (kind_) {
            case Kind::Text: p.fillRect(r, back_); break;
            case Kind::HorizontalBar: {
                p.fillRect(r, back_);
                const QRect bar(r.left(), r.top(), static_cast<int>(std::lround(part * r.width())), r.height());
                p.fillRect(bar, fore_);
                filledArea = QRegion(bar);
                break;
            }
            case Kind::VerticalBar: {
                p.fillRect(r, back_);
                const int h = static_cast<int>(std::lround(part * r.height()));
                const QRect bar(r.left(), r.bottom() - h + 1, r.width(), h);
                p.fillRect(bar, fore_);
                filledArea = QRegion(bar);
                break;
            }
            case Kind::Pie: {
                p.setRenderHint(QPainter::Antialiasing);
                const QRectF e = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
                p.setPen(Qt::black);
                p.setBrush(back_);
                p.drawEllipse(e);
                if (part > 0) {
                    p.setBrush(fore_);
                    p.drawPie(e, 90 * 16, -static_cast<int>(std::lround(part * 360 * 16)));
                }
                break;
            }
            case Kind::Needle: {
                p.setRenderHint(QPainter::Antialiasing);
                // The top half of an ellipse as high as the control, the needle turning
                // from left (0%) to right (100%) about the middle of its base.
                const QRectF e(r.left() + 0.5, r.top() + 0.5, r.width() - 1.0, 2.0 * r.height() - 2.0);
                p.setPen(Qt::black);
                p.setBrush(back_);
                p.drawPie(e, 0, 180 * 16);
                const QPointF centre(e.center().x(), r.bottom());
                const double angle = std::numbers::pi * (1.0 - part);
                p.setPen(QPen(fore_, 2));
                p.drawLine(centre, QPointF(centre.x() + std::cos(angle) * e.width() / 2.0,
                                           centre.y() - std::sin(angle) * (e.height() / 2.0 - 1.0)));
                break;
            }
        }
        if (!isTextVisible()) return;
        // The percentage in the font's colour; over the filled part of a bar in the
        // background colour, so that it stays readable.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setFont(font());
        const QString t = text();
        p.setClipRegion(QRegion(r).subtracted(filledArea));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(r, Qt::AlignCenter, t);
        if (!filledArea.isEmpty()) {
            p.setClipRegion(filledArea.intersected(r));
            p.setPen(back_);
            p.drawText(r, Qt::AlignCenter, t);
        }
    }

private:
    Kind kind_;
    QColor fore_, back_, color_;
    bool border_;
};

// The ColorGrd unit's grid of the sixteen standard colours, with FG, BG or FB on the
// cells that hold the foreground and background indexes.
class ColorGridView : public QWidget {
public:
    ColorGridView(int columns, int rows, int foreground, int background, int selection, QWidget* parent)
        : QWidget(parent), columns_(columns), rows_(rows), foreground_(foreground), background_(background),
          selection_(selection) {}

    static QColor Standard(int index) {
        static constexpr std::uint32_t colors[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                                     0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                                     0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        return QColor::fromRgb(colors[static_cast<std::size_t>(std::clamp(index, 0, 15))]);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        if (columns_ <= 0 || rows_ <= 0) return;
        const int w = width() / columns_;
        const int h = height() / rows_;
        if (w <= 0 || h <= 0) return;
        for (int i = 0; i < 16; ++i) {
            const QRect cell((i % columns_) * w, (i / columns_) * h, w, h);
            const QColor color = Standard(i);
            p.fillRect(cell.adjusted(1, 1, -1, -1), color);
            qDrawShadeRect(&p, cell, palette(), true, 1);
            if (i == selection_) {
                p.setPen(QPen(Qt::black, 1));
                p.drawRect(cell.adjusted(1, 1, -2, -2));
                p.setPen(QPen(Qt::white, 1));
                p.drawRect(cell.adjusted(2, 2, -3, -3));
            }
            QString mark;
            if (i == foreground_ && i == background_) mark = QStringLiteral("FB");
            else if (i == foreground_) mark = QStringLiteral("FG");
            else if (i == background_) mark = QStringLiteral("BG");
            if (!mark.isEmpty()) {
                p.setPen(color.lightness() > 128 ? Qt::black : Qt::white);
                p.setFont(font());
                p.drawText(cell, Qt::AlignCenter, mark);
            }
        }
    }

private:
    int columns_, rows_, foreground_, background_, selection_;
};

// Edges of a bevel of the given cut (bvLowered, bvRaised; anything else none), width
// pixels deep, drawn inside rect; returns the rect inside them.
QRect DrawBevel(QPainter& p, QRect rect, const std::string& cut, int width) {
    if (cut != "bvLowered" && cut != "bvRaised") return rect;
    const QColor light = ColorOf(clBtnHighlight);
    const QColor dark = ColorOf(clBtnShadow);
    const bool raised = cut == "bvRaised";
    for (int i = 0; i < width && rect.width() > 1 && rect.height() > 1; ++i) {
        p.setPen(raised ? light : dark);
        p.drawLine(rect.topLeft(), rect.topRight());
        p.drawLine(rect.topLeft(), rect.bottomLeft());
        p.setPen(raised ? dark : light);
        p.drawLine(rect.bottomLeft(), rect.bottomRight());
        p.drawLine(rect.topRight(), rect.bottomRight());
        rect.adjust(1, 1, -1, -1);
    }
    return rect;
}

// A chart panel without series: its background or gradient and bevels, the title and
// foot, the walls with empty axes and a few grid lines (drawn with depth in 3D), and
// the legend's box.
struct ChartLook {
    QColor Back;
    bool Gradient = false;
    QColor GradientStart, GradientEnd;
    std::string GradientDirection;
    std::string BevelOuter, BevelInner;
    int BevelWidth = 1;
    int BorderWidth = 0;
    QStringList Title, Foot;
    QFont TitleFont, FootFont;
    QColor TitleColor, FootColor;
    Qt::Alignment TitleAlign = Qt::AlignHCenter, FootAlign = Qt::AlignHCenter;
    bool Legend = true;
    std::string LegendAlign = "laRight";
    QColor LegendColor = Qt::white;
    int LegendShadow = 3;
    QColor LegendShadowColor = Qt::black;
    int LegendTop = 10;
    bool View3D = true;
    int Percent3D = 15;
    bool WallFilled = true;
    QColor WallColor = Qt::white;
    bool SideFilled = true;
    QColor SideWallColor = Qt::white;
    bool DarkSides = true;
    bool LeftAxis = true, BottomAxis = true, Grid = true;
    int MarginLeft = 3, MarginRight = 3, MarginTop = 4, MarginBottom = 4;
};

class ChartView : public QWidget {
public:
    ChartView(ChartLook look, QWidget* parent) : QWidget(parent), look_(std::move(look)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const ChartLook& c = look_;
        QRect r = rect();
        if (c.Gradient) {
            QLinearGradient g;
            const QRectF f(r);
            if (c.GradientDirection == "gdBottomTop") g = QLinearGradient(f.bottomLeft(), f.topLeft());
            else if (c.GradientDirection == "gdLeftRight") g = QLinearGradient(f.topLeft(), f.topRight());
            else if (c.GradientDirection == "gdRightLeft") g = QLinearGradient(f.topRight(), f.topLeft());
            else g = QLinearGradient(f.topLeft(), f.bottomLeft());
            g.setColorAt(0, c.GradientStart);
            g.setColorAt(1, c.GradientEnd);
            p.fillRect(r, g);
        } else {
            p.fillRect(r, c.Back);
        }
        r = DrawBevel(p, r, c.BevelOuter, c.BevelWidth);
        r.adjust(c.BorderWidth, c.BorderWidth, -c.BorderWidth, -c.BorderWidth);
        r = DrawBevel(p, r, c.BevelInner, c.BevelWidth);
        r.adjust(r.width() * c.MarginLeft / 100, r.height() * c.MarginTop / 100, -r.width() * c.MarginRight / 100,
                 -r.height() * c.MarginBottom / 100);
        if (r.width() < 4 || r.height() < 4) return;
        // Title above, foot below.
        const auto lines = [&](const QStringList& text, const QFont& font, const QColor& color, Qt::Alignment align,
                               bool top) {
            if (text.isEmpty()) return;
            const QFontMetrics fm(font);
            const int h = fm.height() * static_cast<int>(text.size()) + 4;
            const QRect band = top ? QRect(r.left(), r.top(), r.width(), h) : QRect(r.left(), r.bottom() - h + 1, r.width(), h);
            p.setFont(font);
            p.setPen(color);
            p.drawText(band, static_cast<int>(align | Qt::AlignVCenter), text.join(QLatin1Char('\n')));
            if (top) r.setTop(band.bottom() + 1);
            else r.setBottom(band.top() - 1);
        };
        lines(c.Title, c.TitleFont, c.TitleColor, c.TitleAlign, true);
        lines(c.Foot, c.FootFont, c.FootColor, c.FootAlign, false);
        if (c.Legend) DrawLegend(p, r);
        // Room for the axis labels the chart shows once it has values.
        r.adjust(8, 4, -4, -8);
        if (r.width() < 8 || r.height() < 8) return;
        DrawWalls(p, r);
    }

private:
    void DrawLegend(QPainter& p, QRect& r) const {
        const ChartLook& c = look_;
        const QFontMetrics fm(font());
        const bool side = c.LegendAlign != "laTop" && c.LegendAlign != "laBottom";
        const int w = side ? std::clamp(r.width() / 6, 30, 120) : std::clamp(r.width() / 3, 40, 200);
        const int h = fm.height() + 8;
        QRect box;
        if (c.LegendAlign == "laLeft") {
            box = QRect(r.left() + 4, r.top() + r.height() * std::clamp(c.LegendTop, 0, 90) / 100, w, h);
            r.setLeft(box.right() + 8);
        } else if (c.LegendAlign == "laTop") {
            box = QRect(r.left() + (r.width() - w) / 2, r.top() + 2, w, h);
            r.setTop(box.bottom() + 6);
        } else if (c.LegendAlign == "laBottom") {
            box = QRect(r.left() + (r.width() - w) / 2, r.bottom() - h - 2, w, h);
            r.setBottom(box.top() - 6);
        } else {
            box = QRect(r.right() - w - 4 - c.LegendShadow, r.top() + r.height() * std::clamp(c.LegendTop, 0, 90) / 100, w, h);
            r.setRight(box.left() - 8);
        }
        const int shadow = std::clamp(c.LegendShadow, 0, 20);
        if (shadow > 0) p.fillRect(box.translated(shadow, shadow), c.LegendShadowColor);
        p.fillRect(box, c.LegendColor);
        p.setPen(Qt::black);
        p.drawRect(box.adjusted(0, 0, -1, -1));
    }

    void DrawWalls(QPainter& p, const QRect& area) const {
        const ChartLook& c = look_;
        const int depth = c.View3D ? std::min(std::min(area.width(), area.height()) * std::clamp(c.Percent3D, 0, 100) / 100,
                                              std::min(area.width(), area.height()) / 3)
                                   : 0;
        // The front plane, and the back wall behind it up and to the right.
        const QRect front(area.left(), area.top() + depth, area.width() - depth, area.height() - depth);
        const QRect back = front.translated(depth, -depth);
        const QColor frame(Qt::black);
        p.setRenderHint(QPainter::Antialiasing, false);
        if (depth > 0) {
            const QColor side = c.DarkSides ? c.SideWallColor.darker(115) : c.SideWallColor;
            const QPolygon left({front.bottomLeft(), front.topLeft(), back.topLeft(), back.bottomLeft()});
            const QPolygon bottom({front.bottomLeft(), back.bottomLeft(), back.bottomRight(), front.bottomRight()});
            p.setPen(frame);
            p.setBrush(c.SideFilled ? QBrush(side) : QBrush(Qt::NoBrush));
            p.drawPolygon(left);
            p.drawPolygon(bottom);
        }
        if (c.WallFilled) p.fillRect(back, c.WallColor);
        if (c.Grid) {
            QPen grid(QColor(0x80, 0x80, 0x80), 1, Qt::DotLine);
            p.setPen(grid);
            for (int i = 1; i < 5; ++i) {
                const int y = back.top() + back.height() * i / 5;
                p.drawLine(back.left(), y, back.right(), y);
                if (depth > 0) p.drawLine(front.left(), y + depth, back.left(), y);
                const int x = back.left() + back.width() * i / 5;
                p.drawLine(x, back.top(), x, back.bottom());
                if (depth > 0) p.drawLine(x - depth, back.bottom() + depth, x, back.bottom());
            }
        }
        p.setPen(frame);
        p.setBrush(Qt::NoBrush);
        p.drawRect(back);
        if (c.LeftAxis) p.drawLine(front.topLeft(), front.bottomLeft());
        if (c.BottomAxis) p.drawLine(front.bottomLeft(), front.bottomRight());
    }

    ChartLook look_;
};

// Two arrow buttons side by side or one above the other: the up-down control, and
// the scroller of a tab set.
QWidget* MakeArrowPair(const rt::Object& control, QWidget* parent, bool vertical) {
    auto* box = new QWidget(parent);
    ApplyColorsAndFont(*box, control, false);
    auto* layout = new QBoxLayout(vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const std::array<Qt::ArrowType, 2> arrows = vertical ? std::array{Qt::UpArrow, Qt::DownArrow}
                                                         : std::array{Qt::LeftArrow, Qt::RightArrow};
    for (Qt::ArrowType arrow : arrows) {
        auto* button = new QToolButton(box);
        button->setArrowType(arrow);
        button->setAutoRaise(false);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        button->setMinimumSize(0, 0);
        layout->addWidget(button);
    }
    return box;
}

// ---------------------------------------------------------------------------------
// Date and time pickers

// The check box a picker shows before its text with ShowCheckbox.
void AddPickerCheck(QWidget& picker, QLineEdit& edit, bool checked) {
    auto* check = new QCheckBox(&picker);
    check->setChecked(checked);
    check->setObjectName(QStringLiteral("checkbox"));
    edit.setTextMargins(16, 0, 0, 0);
    if (!checked) {
        QPalette palette = edit.palette();
        palette.setColor(QPalette::Text, ColorOf(clGrayText));
        edit.setPalette(palette);
    }
}

void PlacePickerCheck(QWidget& picker) {
    if (auto* check = picker.findChild<QCheckBox*>(QStringLiteral("checkbox"), Qt::FindDirectChildrenOnly)) {
        const QSize size = check->sizeHint();
        check->setGeometry(4, (picker.height() - size.height()) / 2, size.width(), size.height());
        check->raise();
    }
}

class PickerCombo : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QComboBox::resizeEvent(event);
        PlacePickerCheck(*this);
    }
};

class PickerSpin : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    QLineEdit* Edit() const { return lineEdit(); }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QSpinBox::resizeEvent(event);
        PlacePickerCheck(*this);
    }
};

// The value a picker or calendar shows: its stored value, or now when it stores none
// (a picker takes the current date and time when it is made).
double PickerValue(const rt::Object& control, std::string_view name) {
    const double value = FloatOf(control, name);
    if (value != 0 && DateTimeOk(value)) return value;
    return FromQDateTime(QDateTime::currentDateTime());
}

QString PickerText(const rt::Object& control, bool time) {
    const double value = PickerValue(control, time ? "Time" : "Date");
    const QString format = TextOf(control, "Format");
    const QLocale locale;
    if (!format.isEmpty()) return FormatDateTime(format, ToQDateTime(value), locale);
    try {
        if (time) return Q(rt::TimeToText(value));
        if (EnumOf(control, "DateFormat") == "dfLong") return locale.toString(ToQDateTime(value).date(), QLocale::LongFormat);
        return Q(rt::DateToText(value));
    } catch (const std::exception&) {
        return {};
    }
}

QWidget* MakeDateTimePicker(const rt::Object& control, QWidget* parent) {
    const bool time = EnumOf(control, "Kind") == "dtkTime";
    const bool upDown = time || EnumOf(control, "DateMode") == "dmUpDown";
    const bool showCheck = BoolOf(control, "ShowCheckbox", false);
    const bool checked = BoolOf(control, "Checked", true);
    QString text = PickerText(control, time);
    if (upDown) {
        auto* spin = new PickerSpin(parent);
        ApplyColorsAndFont(*spin, control, true);
        spin->setRange(0, 0);
        // The shown text stands in for the number; an empty one would show the number.
        spin->setSpecialValueText(text.isEmpty() ? QStringLiteral(" ") : text);
        spin->setReadOnly(true);
        spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        if (showCheck) AddPickerCheck(*spin, *spin->Edit(), checked);
        return spin;
    }
    auto* combo = new PickerCombo(parent);
    ApplyColorsAndFont(*combo, control, true);
    combo->setEditable(true);
    combo->lineEdit()->setReadOnly(true);
    combo->setEditText(text);
    combo->lineEdit()->setCursorPosition(0);
    if (showCheck) AddPickerCheck(*combo, *combo->lineEdit(), checked);
    return combo;
}

Qt::DayOfWeek FirstDayOf(const rt::Object& control) {
    const std::string day = EnumOf(control, "FirstDayOfWeek");
    static const std::pair<const char*, Qt::DayOfWeek> days[] = {
        {"dowMonday", Qt::Monday}, {"dowTuesday", Qt::Tuesday},   {"dowWednesday", Qt::Wednesday},
        {"dowThursday", Qt::Thursday}, {"dowFriday", Qt::Friday}, {"dowSaturday", Qt::Saturday},
        {"dowSunday", Qt::Sunday},
    };
    for (const auto& [name, value] : days)
        if (day == name) return value;
    return QLocale().firstDayOfWeek();
}

// The month calendar and the "Today" line under it; the line goes when the calendar
// needs its room.
class MonthBox : public QWidget {
public:
    using QWidget::QWidget;
    QCalendarWidget* Calendar = nullptr;
    QLabel* Today = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (!Calendar) return;
        // The line shows when the month's rows keep the height of a line of text.
        const int line = Today ? Today->sizeHint().height() : 0;
        const int rows = 8 + (Calendar->isNavigationBarVisible() ? 1 : 0);
        const bool room = Today && height() - line >= rows * (fontMetrics().height() + 2);
        if (Today) {
            Today->setVisible(room);
            Today->setGeometry(0, height() - line, width(), line);
        }
        Calendar->setGeometry(0, 0, width(), room ? height() - line : height());
    }
};

QWidget* MakeMonthCalendar(const rt::Object& control, QWidget* parent) {
    auto* box = new MonthBox(parent);
    ApplyColorsAndFont(*box, control, true);
    QPalette palette = box->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) palette.setColor(role, ColorOf(clWindow));
    box->setPalette(palette);
    auto* calendar = new QCalendarWidget(box);
    box->Calendar = calendar;
    calendar->setGridVisible(false);
    calendar->setFirstDayOfWeek(FirstDayOf(control));
    calendar->setVerticalHeaderFormat(BoolOf(control, "WeekNumbers", false) ? QCalendarWidget::ISOWeekNumbers
                                                                              : QCalendarWidget::NoVerticalHeader);
    const double minDate = FloatOf(control, "MinDate");
    const double maxDate = FloatOf(control, "MaxDate");
    if (minDate != 0 && DateTimeOk(minDate)) calendar->setMinimumDate(ToQDateTime(minDate).date());
    if (maxDate != 0 && DateTimeOk(maxDate) && maxDate >= minDate) calendar->setMaximumDate(ToQDateTime(maxDate).date());
    calendar->setSelectedDate(ToQDateTime(PickerValue(control, "Date")).date());
    // The month and year sit on a plain band, as the Windows calendar shows them, not
    // on the highlight colour.
    if (auto* bar = calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"))) {
        QPalette band = bar->palette();
        band.setColor(QPalette::Window, ColorOf(clWindow));
        band.setColor(QPalette::Highlight, ColorOf(clWindow));
        band.setColor(QPalette::ButtonText, ControlFontColor(control));
        band.setColor(QPalette::WindowText, ControlFontColor(control));
        band.setColor(QPalette::HighlightedText, ControlFontColor(control));
        bar->setPalette(band);
        for (QWidget* inner : bar->findChildren<QWidget*>()) inner->setPalette(band);
        for (const auto& [name, arrow] : {std::pair{"qt_calendar_prevmonth", Qt::LeftArrow},
                                          std::pair{"qt_calendar_nextmonth", Qt::RightArrow}})
            if (auto* button = bar->findChild<QToolButton*>(QLatin1String(name))) {
                button->setIcon(QIcon());
                button->setArrowType(arrow);
            }
    }
    // The month's rows share the height the control has, as small as it makes them.
    if (auto* days = calendar->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"))) {
        days->verticalHeader()->setMinimumSectionSize(0);
        days->horizontalHeader()->setMinimumSectionSize(0);
    }
    calendar->setMinimumSize(0, 0);
    QTextCharFormat plain;
    plain.setForeground(ControlFontColor(control));
    for (Qt::DayOfWeek day : {Qt::Saturday, Qt::Sunday}) calendar->setWeekdayTextFormat(day, plain);
    if (BoolOf(control, "ShowToday", true)) {
        QString today;
        try {
            today = Q(rt::DateToText(FromQDateTime(QDateTime(QDate::currentDate(), QTime(0, 0)))));
        } catch (const std::exception&) {
        }
        auto* label = new QLabel(QStringLiteral("Today: ") + today, box);
        label->setAlignment(Qt::AlignCenter);
        box->Today = label;
    }
    return box;
}

// The Calendar unit's grid: a row of day names over the days of the month, the shown
// day selected.
QWidget* MakeCalendarGrid(const rt::Object& control, QWidget* parent) {
    QDate date = QDate::currentDate();
    if (!BoolOf(control, "UseCurrentDate", true)) {
        const double stored = FloatOf(control, "CalendarDate");
        const int year = ClampInt(OrdinalOf(control, "Year"), 0, 9999);
        const int month = ClampInt(OrdinalOf(control, "Month"), 0, 12);
        const int day = ClampInt(OrdinalOf(control, "Day"), 0, 31);
        if (QDate(year, month, 1).isValid()) date = QDate(year, month, std::clamp(day, 1, QDate(year, month, 1).daysInMonth()));
        else if (stored != 0 && DateTimeOk(stored)) date = ToQDateTime(stored).date();
    }
    auto look = GridBase(control);
    look->Cols = 7;
    look->Rows = 7;
    look->FixedCols = 0;
    look->FixedRows = 1;
    look->Stretch = true;
    look->CenterText = true;
    look->FixedVertLine = look->FixedHorzLine = look->VertLine = look->HorzLine = true;
    // StartOfWeek counts from Sunday (0).
    const int start = ClampInt(OrdinalOf(control, "StartOfWeek", 1), 0, 6);
    const QLocale locale;
    for (int col = 0; col < 7; ++col) {
        const int sundayBased = (start + col) % 7;
        look->Texts[{0, col}] = locale.dayName(sundayBased == 0 ? 7 : sundayBased, QLocale::ShortFormat);
    }
    const QDate first(date.year(), date.month(), 1);
    const int firstColumn = (first.dayOfWeek() % 7 - start + 7) % 7;
    for (int day = 1; day <= date.daysInMonth(); ++day) {
        const int at = firstColumn + day - 1;
        const int row = 1 + at / 7;
        if (row >= 7) break;
        look->Texts[{row, at % 7}] = QString::number(day);
        if (day == date.day()) {
            look->SelectedRow = row;
            look->SelectedCol = at % 7;
        }
    }
    QTableView* grid = MakeGrid(control, parent, look);
    ApplyBorder(*grid, control);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return grid;
}

// ---------------------------------------------------------------------------------
// Builders, one per class

QWidget* MakeListView(const rt::Object& control, QWidget* parent) {
    const bool shell = rt::EqualsIgnoringCase(control.ClassName(), "TShellListView");
    std::vector<ListItemData> items;
    if (shell) items.push_back(ListItemData{ShellRootName(control), {}});
    else items = DecodeListItems(control);
    const bool checkboxes = BoolOf(control, "Checkboxes", false);
    const std::string style = EnumOf(control, "ViewStyle");
    if (style == "vsReport") {
        auto* table = new QTableWidget(parent);
        ApplyColorsAndFont(*table, control, true);
        ApplyBorder(*table, control);
        const QFontMetrics fm(table->font());
        struct Column {
            QString Caption;
            std::int64_t Width;
            Qt::Alignment Align;
            bool AutoSize;
        };
        std::vector<Column> columns;
        if (const rt::Object* collection = ObjectOf(control, "Columns")) {
            for (const auto& item : collection->Items()) {
                if (static_cast<int>(columns.size()) >= MaxColumns) break;
                columns.push_back(Column{TextOf(*item, "Caption"), OrdinalOf(*item, "Width", 50),
                                         HorizontalAlignment(EnumOf(*item, "Alignment")), BoolOf(*item, "AutoSize", false)});
            }
        }
        if (shell && columns.empty())
            for (const char* name : {"Name", "Size", "Type", "Date Modified"})
                columns.push_back(Column{QString::fromLatin1(name), 100, Qt::AlignLeft, false});
        const int rowCount = static_cast<int>(items.size());
        table->setColumnCount(static_cast<int>(columns.size()));
        table->setRowCount(rowCount);
        table->verticalHeader()->hide();
        table->verticalHeader()->setDefaultSectionSize(fm.height() + 4);
        table->horizontalHeader()->setVisible(BoolOf(control, "ShowColumnHeaders", true));
        table->horizontalHeader()->setFixedHeight(fm.height() + 8);
        table->horizontalHeader()->setMinimumSectionSize(0);
        table->horizontalHeader()->setSectionsClickable(false);
        table->setShowGrid(BoolOf(control, "GridLines", false));
        table->setGridStyle(Qt::SolidLine);
        table->setSelectionMode(QAbstractItemView::NoSelection);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setWordWrap(false);
        table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        QPalette palette = table->palette();
        palette.setColor(QPalette::Mid, ColorOf(clBtnFace));  // the grid lines' colour
        table->setPalette(palette);
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            const Column& column = columns[static_cast<std::size_t>(c)];
            auto* header = new QTableWidgetItem(column.Caption);
            header->setTextAlignment(column.Align | Qt::AlignVCenter);
            table->setHorizontalHeaderItem(c, header);
        }
        for (int r = 0; r < rowCount; ++r) {
            const ListItemData& data = items[static_cast<std::size_t>(r)];
            for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
                const QString text = c == 0 ? data.Caption
                                            : static_cast<std::size_t>(c) <= data.SubItems.size()
                                                  ? data.SubItems[static_cast<std::size_t>(c - 1)]
                                                  : QString();
                if (text.isEmpty() && !(c == 0 && checkboxes)) continue;
                auto* cell = new QTableWidgetItem(text);
                cell->setFlags(Qt::ItemIsEnabled);
                cell->setTextAlignment(columns[static_cast<std::size_t>(c)].Align | Qt::AlignVCenter);
                if (c == 0 && checkboxes) cell->setCheckState(Qt::Unchecked);
                table->setItem(r, c, cell);
            }
        }
        // Widths: -1 fits the column's texts, -2 its header too (the last such column
        // fills the rest of the list); AutoSize columns share what is left.
        bool autoSized = false;
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            const Column& column = columns[static_cast<std::size_t>(c)];
            int width = ClampInt(column.Width, 0, 100000);
            if (column.Width == -1 || column.Width == -2) {
                width = column.Width == -2 ? fm.horizontalAdvance(column.Caption) + 12 : 0;
                for (int r = 0; r < std::min(rowCount, 1000); ++r)
                    if (const QTableWidgetItem* cell = table->item(r, c))
                        width = std::max(width, fm.horizontalAdvance(cell->text()) + 12);
                width = std::max(width, 8);
            }
            autoSized = autoSized || column.AutoSize;
            table->setColumnWidth(c, width);
        }
        if (!columns.empty() && (columns.back().Width == -2 || autoSized))
            table->horizontalHeader()->setStretchLastSection(true);
        return table;
    }
    auto* list = new QListWidget(parent);
    ApplyColorsAndFont(*list, control, true);
    ApplyBorder(*list, control);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setWrapping(true);
    const QFontMetrics fm(list->font());
    QIcon blankIcon;
    if (style == "vsSmallIcon" || style == "vsList") {
        list->setViewMode(QListView::ListMode);
        list->setFlow(style == "vsList" ? QListView::TopToBottom : QListView::LeftToRight);
    } else {
        // Large icons: the icon's place above the text stays even without an image list.
        // They are arranged in rows, or in columns when arranged from the left.
        const rt::Object* icons = ObjectOf(control, "IconOptions");
        const bool byColumns = icons && EnumOf(*icons, "Arrangement") == "iaLeft";
        list->setViewMode(QListView::IconMode);
        list->setFlow(byColumns ? QListView::TopToBottom : QListView::LeftToRight);
        list->setIconSize(QSize(32, 32));
        list->setGridSize(QSize(75, 32 + 8 + 2 * fm.height()));
        list->setWordWrap(true);
        QPixmap blank(32, 32);
        blank.fill(Qt::transparent);
        blankIcon = QIcon(blank);
    }
    for (const ListItemData& data : items) {
        auto* item = new QListWidgetItem(data.Caption, list);
        item->setFlags(Qt::ItemIsEnabled | (checkboxes ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
        if (!blankIcon.isNull()) item->setIcon(blankIcon);
        if (checkboxes) item->setCheckState(Qt::Unchecked);
    }
    return list;
}

QWidget* MakeTreeView(const rt::Object& control, QWidget* parent) {
    TreeLook look;
    look.Lines = BoolOf(control, "ShowLines", true);
    look.Buttons = BoolOf(control, "ShowButtons", true);
    look.Root = BoolOf(control, "ShowRoot", true);
    const std::int64_t indent = OrdinalOf(control, "Indent", 19);
    look.Indent = indent > 0 ? ClampInt(indent, 1, 200) : 19;
    if (rt::EqualsIgnoringCase(control.ClassName(), "TShellTreeView")) {
        // The root of the shell's namespace; its contents are the machine's, not the form's.
        VclTree* tree = MakeTree(control, parent, {}, look);
        auto* root = new QTreeWidgetItem(tree, QStringList{ShellRootName(control)});
        root->setSizeHint(0, QSize(0, QFontMetrics(tree->font()).height() + 4));
        root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        return tree;
    }
    return MakeTree(control, parent, DecodeTreeNodes(control), look);
}

// An outline's lines: each line's leading tabs or spaces give its level.
std::vector<NodeData> OutlineNodes(const std::vector<std::string>& lines) {
    std::vector<NodeData> roots;
    std::vector<std::vector<NodeData>*> path{&roots};
    int count = 0;
    for (const std::string& line : lines) {
        if (++count > MaxEntries) break;
        std::size_t indent = 0;
        while (indent < line.size() && (line[indent] == '\t' || line[indent] == ' ')) ++indent;
        // A line indented past the one before it hangs from that one.
        const std::size_t level = std::min({indent, path.size() - 1, static_cast<std::size_t>(MaxDepth - 1)});
        path.resize(level + 1);
        path[level]->push_back(NodeData{Q(std::string_view(line).substr(indent)), {}});
        path.push_back(&path[level]->back().Children);
    }
    return roots;
}

QWidget* MakeOutline(const rt::Object& control, QWidget* parent) {
    const std::string style = EnumOf(control, "OutlineStyle");
    const bool directory = rt::EqualsIgnoringCase(control.ClassName(), "TDirectoryOutline");
    TreeLook look;
    // The outline styles: text alone, with plus/minus pictures, with folder pictures,
    // or with tree lines (the default draws lines and pictures).
    const bool tree = directory || style.empty() || style == "osTreeText" || style == "osTreePictureText";
    const bool pictures = directory || style.empty() || style == "osPictureText" || style == "osPlusMinusPictureText" ||
                          style == "osTreePictureText";
    look.Lines = tree;
    look.Buttons = tree || style == "osPlusMinusText" || style == "osPlusMinusPictureText";
    look.Root = directory || HasElement(control, "Options", "ooDrawTreeRoot") || !tree;
    look.Indent = 19;
    look.ItemHeight = ClampInt(OrdinalOf(control, "ItemHeight", 0), 0, 500);
    if (pictures) {
        if (QStyle* s = PreviewStyle()) {
            look.Branch = s->standardIcon(QStyle::SP_DirClosedIcon);
            look.Leaf = s->standardIcon(QStyle::SP_FileIcon);
        }
    }
    std::vector<NodeData> nodes;
    if (directory) {
        // The drive's root; the folders under it are the machine's, not the form's.
        const std::int64_t drive = OrdinalOf(control, "Drive", 'C');
        const bool isLetter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
        QChar letter = isLetter ? QChar(static_cast<char16_t>(drive)) : QLatin1Char('C');
        const std::string textCase = EnumOf(control, "TextCase");
        letter = textCase == "tcUpperCase" ? letter.toUpper() : textCase == "tcAsIs" ? letter : letter.toLower();
        nodes.push_back(NodeData{QString(letter) + QStringLiteral(":\\"), {}});
    } else if (const auto* lines = StoredLinesOf(control, "Lines")) {
        nodes = OutlineNodes(*lines);
    }
    VclTree* view = MakeTree(control, parent, nodes, look);
    // A drive is a folder, whatever the form knows of its contents.
    if (directory && view->topLevelItemCount() > 0 && !look.Branch.isNull()) {
        view->topLevelItem(0)->setIcon(0, look.Branch);
        view->topLevelItem(0)->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    ApplyScrollBars(*view, control, true, "ssBoth");
    return view;
}

QWidget* MakeStringGrid(const rt::Object& control, QWidget* parent) {
    auto look = GridBase(control);
    look->Cols = ClampInt(OrdinalOf(control, "ColCount", 5), 0, MaxEntries);
    look->Rows = ClampInt(OrdinalOf(control, "RowCount", 5), 0, MaxEntries);
    look->FixedCols = ClampInt(OrdinalOf(control, "FixedCols", 1), 0, MaxEntries);
    look->FixedRows = ClampInt(OrdinalOf(control, "FixedRows", 1), 0, MaxEntries);
    look->DefaultColWidth = ClampInt(OrdinalOf(control, "DefaultColWidth", 64), 0, 100000);
    look->DefaultRowHeight = ClampInt(OrdinalOf(control, "DefaultRowHeight", 24), 0, 100000);
    look->ColWidths = StoredSizes(control, "ColWidths", look->Cols);
    look->RowHeights = StoredSizes(control, "RowHeights", look->Rows);
    // The current cell, the first one past the fixed ones, shows selected.
    if (look->FixedCols < look->Cols && look->FixedRows < look->Rows) {
        look->SelectedCol = look->FixedCols;
        look->SelectedRow = look->FixedRows;
    }
    QTableView* grid = MakeGrid(control, parent, look);
    ApplyBorder(*grid, control);
    ApplyScrollBars(*grid, control, true, "ssBoth");
    return grid;
}

QWidget* MakeDBGrid(const rt::Object& control, QWidget* parent) {
    auto look = GridBase(control);
    const bool titles = HasElement(control, "Options", "dgTitles");
    const bool indicator = HasElement(control, "Options", "dgIndicator");
    const bool colLines = HasElement(control, "Options", "dgColLines");
    const bool rowLines = HasElement(control, "Options", "dgRowLines");
    look->FixedVertLine = look->VertLine = colLines;
    look->FixedHorzLine = look->HorzLine = rowLines;
    look->RowSelect = false;
    const rt::Object* titleFont = ObjectOf(control, "TitleFont");
    look->FixedFont = titleFont ? FontOf(titleFont) : ControlFont(control);
    look->HasFixedFont = true;
    look->FixedText = titleFont ? FontColorOf(titleFont) : look->Text;
    const int first = indicator ? 1 : 0;
    look->FixedCols = first;
    look->FixedRows = titles ? 1 : 0;
    std::vector<int> widths;
    if (indicator) widths.push_back(11);
    if (const rt::Object* collection = ObjectOf(control, "Columns")) {
        for (const auto& column : collection->Items()) {
            if (static_cast<int>(widths.size()) >= MaxColumns) break;
            if (!Trusted(*column, "Visible", true)) continue;
            const int col = static_cast<int>(widths.size());
            widths.push_back(ClampInt(Trusted(*column, "Width", 64), 0, 100000));
            QString caption;
            Qt::Alignment titleAlign = Qt::AlignLeft;
            if (const rt::Object* title = ObjectOf(*column, "Title")) {
                caption = TextOf(*title, "Caption");
                titleAlign = HorizontalAlignment(EnumOf(*title, "Alignment"));
            }
            if (caption.isEmpty()) caption = TextOf(*column, "FieldName");
            if (titles) look->Texts[{0, col}] = caption;
            look->TitleAlign[col] = titleAlign;
            look->ColumnAlign[col] = HorizontalAlignment(EnumOf(*column, "Alignment"));
        }
    }
    // Without columns and data the grid shows one empty column.
    if (static_cast<int>(widths.size()) == first) widths.push_back(64);
    look->Cols = static_cast<int>(widths.size());
    look->ColWidths = widths;
    look->Rows = look->FixedRows + 1;
    const int textHeight = QFontMetrics(ControlFont(control)).height();
    look->DefaultRowHeight = textHeight + 3;
    look->RowHeights.assign(static_cast<std::size_t>(look->FixedRows), QFontMetrics(look->FixedFont).height() + 3);
    look->DefaultColWidth = 64;
    QTableView* grid = MakeGrid(control, parent, look);
    ApplyBorder(*grid, control);
    ApplyScrollBars(*grid, control, true, "ssBoth");
    return grid;
}

QWidget* MakeValueListEditor(const rt::Object& control, QWidget* parent) {
    auto look = GridBase(control);
    const bool titles = HasElement(control, "DisplayOptions", "doColumnTitles");
    const bool keyFixed = HasElement(control, "DisplayOptions", "doKeyColFixed");
    look->Cols = 2;
    look->FixedCols = std::max(ClampInt(OrdinalOf(control, "FixedCols", 0), 0, 1), keyFixed ? 1 : 0);
    look->FixedRows = titles ? 1 : 0;
    look->DefaultColWidth = ClampInt(OrdinalOf(control, "DefaultColWidth", 150), 0, 100000);
    look->DefaultRowHeight = ClampInt(OrdinalOf(control, "DefaultRowHeight", 18), 0, 100000);
    look->ColWidths = StoredSizes(control, "ColWidths", 2);
    look->RowHeights = StoredSizes(control, "RowHeights", MaxEntries);
    look->StretchLastColumn = HasElement(control, "DisplayOptions", "doAutoColResize");
    if (titles) {
        QString key = QStringLiteral("Key"), value = QStringLiteral("Value");
        if (const auto* captions = StoredLinesOf(control, "TitleCaptions")) {
            if (!captions->empty()) key = Q((*captions)[0]);
            if (captions->size() > 1) value = Q((*captions)[1]);
        }
        look->Texts[{0, 0}] = key;
        look->Texts[{0, 1}] = value;
    }
    int row = look->FixedRows;
    if (const auto* strings = StoredLinesOf(control, "Strings")) {
        for (const std::string& line : *strings) {
            if (row >= MaxEntries) break;
            const std::size_t eq = line.find('=');
            look->Texts[{row, 0}] = Q(std::string_view(line).substr(0, eq));
            if (eq != std::string::npos) look->Texts[{row, 1}] = Q(std::string_view(line).substr(eq + 1));
            ++row;
        }
    }
    // An empty list still shows one empty row.
    look->Rows = std::max(row, look->FixedRows + 1);
    QTableView* grid = MakeGrid(control, parent, look);
    ApplyBorder(*grid, control);
    ApplyScrollBars(*grid, control, true, "ssBoth");
    return grid;
}

// A track bar keeps its thumb ThumbLength pixels long near its top (its left when
// vertical), with the ticks beside it, whatever room the control has; the slider the
// style draws would grow its thumb to fill the room instead.
class TrackBox : public QWidget {
public:
    TrackBox(int thumb, QWidget* parent) : QWidget(parent), thumb_(thumb) {}
    QSlider* Slider = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (!Slider) return;
        const QSlider::TickPosition ticks = Slider->tickPosition();
        const int sides = ticks == QSlider::NoTicks ? 0 : ticks == QSlider::TicksBothSides ? 2 : 1;
        const int extra = sides == 0 ? 0 : sides == 1 ? 6 : 14;
        const bool vertical = Slider->orientation() == Qt::Vertical;
        const int room = vertical ? width() : height();
        const int thickness = std::min(room, thumb_ + extra + 4);
        const int at = std::min(4, room - thickness);
        if (vertical) Slider->setGeometry(at, 0, thickness, height());
        else Slider->setGeometry(0, at, width(), thickness);
    }

private:
    int thumb_;
};

QWidget* MakeTrackBar(const rt::Object& control, QWidget* parent) {
    const bool vertical = EnumOf(control, "Orientation") == "trVertical";
    auto* box = new TrackBox(ClampInt(OrdinalOf(control, "ThumbLength", 20), 8, 200), parent);
    ApplyColorsAndFont(*box, control, false);
    auto* slider = new QSlider(vertical ? Qt::Vertical : Qt::Horizontal, box);
    box->Slider = slider;
    const int min = ClampInt(OrdinalOf(control, "Min", 0), -1000000000, 1000000000);
    const int max = std::max(min, ClampInt(OrdinalOf(control, "Max", 10), -1000000000, 1000000000));
    slider->setRange(min, max);
    slider->setValue(std::clamp(ClampInt(OrdinalOf(control, "Position", 0), -1000000000, 1000000000), min, max));
    slider->setPageStep(std::max(1, ClampInt(OrdinalOf(control, "PageSize", 2), 1, 1000000000)));
    // A vertical track bar has its minimum at the top.
    slider->setInvertedAppearance(vertical);
    const std::string ticks = EnumOf(control, "TickStyle");
    const std::string marks = EnumOf(control, "TickMarks");
    if (ticks == "tsNone") {
        slider->setTickPosition(QSlider::NoTicks);
    } else {
        if (marks == "tmBoth") slider->setTickPosition(QSlider::TicksBothSides);
        else if (marks == "tmTopLeft") slider->setTickPosition(QSlider::TicksAbove);
        else slider->setTickPosition(QSlider::TicksBelow);
        // Manual ticks show only at the ends until the program adds its own. A
        // thousand ticks fill any track bar; more would only cost time to draw.
        const std::int64_t range = static_cast<std::int64_t>(max) - min;
        const std::int64_t frequency = std::clamp<std::int64_t>(OrdinalOf(control, "Frequency", 1), 1, 2000000000);
        const std::int64_t interval = ticks == "tsManual" ? range : std::max(frequency, range / 1000);
        slider->setTickInterval(ClampInt(interval, 1, 2000000000));
    }
    return box;
}

QWidget* MakeProgressBar(const rt::Object& control, QWidget* parent) {
    const bool vertical = EnumOf(control, "Orientation") == "pbVertical";
    const QColor barSet = ColorOf(OrdinalOf(control, "BarColor", clDefault));
    const QColor backSet = ColorOf(OrdinalOf(control, "BackgroundColor", clDefault));
    auto* bar = new ProgressView(BoolOf(control, "Smooth", false), barSet.isValid() ? barSet : ColorOf(clHighlight),
                                 backSet.isValid() ? backSet : ColorOf(clBtnFace), parent);
    ApplyColorsAndFont(*bar, control, false);
    bar->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
    const int min = ClampInt(OrdinalOf(control, "Min", 0), -1000000000, 1000000000);
    const int max = std::max(min, ClampInt(OrdinalOf(control, "Max", 100), -1000000000, 1000000000));
    bar->setRange(min, max);
    // A marquee bar runs only while the program does.
    const bool marquee = EnumOf(control, "Style") == "pbstMarquee";
    bar->setValue(marquee ? min : std::clamp(ClampInt(OrdinalOf(control, "Position", 0), -1000000000, 1000000000), min, max));
    return bar;
}

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

QWidget* MakeGauge(const rt::Object& control, QWidget* parent) {
    const std::string kind = EnumOf(control, "Kind");
    GaugeView::Kind k = GaugeView::Kind::HorizontalBar;
    if (kind == "gkText") k = GaugeView::Kind::Text;
    else if (kind == "gkVerticalBar") k = GaugeView::Kind::VerticalBar;
    else if (kind == "gkPie") k = GaugeView::Kind::Pie;
    else if (kind == "gkNeedle") k = GaugeView::Kind::Needle;
    auto* gauge = new GaugeView(k, ColorProperty(control, "ForeColor", ColorOf(0x000000)), ColorProperty(control, "BackColor", ColorOf(0xFFFFFF)),
                                ControlColor(control), EnumOf(control, "BorderStyle") != "bsNone", parent);
    ApplyColorsAndFont(*gauge, control, false);
    const int min = ClampInt(OrdinalOf(control, "MinValue", 0), -1000000000, 1000000000);
    const int max = ClampInt(OrdinalOf(control, "MaxValue", 100), -1000000000, 1000000000);
    gauge->setRange(min, std::max(min, max));
    gauge->setValue(std::clamp(ClampInt(OrdinalOf(control, "Progress", 0), -1000000000, 1000000000), min, std::max(min, max)));
    gauge->setTextVisible(BoolOf(control, "ShowText", true));
    // With no range the gauge counts nothing done.
    if (max <= min) gauge->setFormat(QStringLiteral("0%"));
    return gauge;
}

QWidget* MakeColorGrid(const rt::Object& control, QWidget* parent) {
    const std::string ordering = EnumOf(control, "GridOrdering");
    int columns = 4, rows = 4;
    if (ordering == "go16x1") columns = 16, rows = 1;
    else if (ordering == "go8x2") columns = 8, rows = 2;
    else if (ordering == "go2x8") columns = 2, rows = 8;
    else if (ordering == "go1x16") columns = 1, rows = 16;
    const int foreground = BoolOf(control, "ForegroundEnabled", true) ? ClampInt(OrdinalOf(control, "ForegroundIndex", 0), -1, 16) : -1;
    const int background = BoolOf(control, "BackgroundEnabled", true) ? ClampInt(OrdinalOf(control, "BackgroundIndex", 0), -1, 16) : -1;
    auto* grid = new ColorGridView(columns, rows, foreground, background, ClampInt(OrdinalOf(control, "Selection", 0), -1, 16),
                                   parent);
    ApplyColorsAndFont(*grid, control, false);
    return grid;
}

QStringList LinesText(const rt::Object* title) {
    QStringList text;
    if (!title || !BoolOf(*title, "Visible", true)) return text;
    if (const auto* lines = StoredLinesOf(*title, "Text"))
        for (const std::string& line : *lines) {
            if (text.size() >= 100) break;
            text << Q(line);
        }
    // A title of empty lines takes no room.
    bool blank = true;
    for (const QString& line : text) blank = blank && line.trimmed().isEmpty();
    return blank ? QStringList() : text;
}

QWidget* MakeChart(const rt::Object& control, QWidget* parent) {
    ChartLook look;
    look.Back = ControlColor(control);
    if (const rt::Object* g = ObjectOf(control, "Gradient"); g && BoolOf(*g, "Visible", false)) {
        look.Gradient = true;
        look.GradientStart = ColorProperty(*g, "StartColor", ColorOf(0xFFFFFF));
        look.GradientEnd = ColorProperty(*g, "EndColor", ColorOf(0x00FFFF));
        look.GradientDirection = EnumOf(*g, "Direction");
    }
    look.BevelOuter = EnumOf(control, "BevelOuter");
    look.BevelInner = EnumOf(control, "BevelInner");
    look.BevelWidth = ClampInt(OrdinalOf(control, "BevelWidth", 1), 0, 50);
    look.BorderWidth = ClampInt(OrdinalOf(control, "BorderWidth", 0), 0, 50);
    const auto titleLook = [](const rt::Object* title, QFont& font, QColor& color, Qt::Alignment& align) {
        const rt::Object* f = title ? ObjectOf(*title, "Font") : nullptr;
        font = FontOf(f);
        // The chart's titles are blue unless the form gives them another colour.
        const std::int64_t written = f ? OrdinalOf(*f, "Color", clWindowText) : clWindowText;
        color = written == clWindowText ? QColor(Qt::blue) : FontColorOf(f);
        const std::string writtenAlign = title ? EnumOf(*title, "Alignment") : std::string();
        align = writtenAlign.empty() ? Qt::AlignHCenter : HorizontalAlignment(writtenAlign);
    };
    const rt::Object* title = ObjectOf(control, "Title");
    const rt::Object* foot = ObjectOf(control, "Foot");
    look.Title = LinesText(title);
    look.Foot = LinesText(foot);
    titleLook(title, look.TitleFont, look.TitleColor, look.TitleAlign);
    titleLook(foot, look.FootFont, look.FootColor, look.FootAlign);
    if (const rt::Object* legend = ObjectOf(control, "Legend")) {
        look.Legend = BoolOf(*legend, "Visible", true);
        look.LegendAlign = EnumOf(*legend, "Alignment");
        look.LegendColor = ColorProperty(*legend, "Color", ColorOf(0xFFFFFF));
        look.LegendShadow = ClampInt(OrdinalOf(*legend, "ShadowSize", 3), 0, 20);
        look.LegendShadowColor = ColorProperty(*legend, "ShadowColor", ColorOf(0x000000));
        look.LegendTop = ClampInt(OrdinalOf(*legend, "TopPos", 10), 0, 90);
    }
    look.View3D = BoolOf(control, "View3D", true);
    look.Percent3D = ClampInt(OrdinalOf(control, "Chart3DPercent", 15), 0, 100);
    const auto wallFill = [](const rt::Object* wall, bool& filled, QColor& color) {
        if (!wall) return;
        const rt::Object* brush = ObjectOf(*wall, "Brush");
        filled = !BoolOf(*wall, "Transparent", false) && !(brush && EnumOf(*brush, "Style") == "bsClear");
        const QColor own = ColorOf(OrdinalOf(*wall, "Color", clNone));
        color = own.isValid() ? own : brush ? ColorProperty(*brush, "Color", ColorOf(0xFFFFFF)) : QColor(Qt::white);
    };
    wallFill(ObjectOf(control, "BackWall"), look.WallFilled, look.WallColor);
    wallFill(ObjectOf(control, "LeftWall"), look.SideFilled, look.SideWallColor);
    if (const rt::Object* left = ObjectOf(control, "LeftWall")) look.DarkSides = BoolOf(*left, "Dark3D", true);
    if (!BoolOf(control, "View3DWalls", true)) look.SideWallColor = look.Back;
    const auto axisShown = [&](std::string_view name, bool& shown) {
        if (const rt::Object* axis = ObjectOf(control, name)) shown = BoolOf(*axis, "Visible", true);
    };
    axisShown("LeftAxis", look.LeftAxis);
    axisShown("BottomAxis", look.BottomAxis);
    if (const rt::Object* axis = ObjectOf(control, "LeftAxis"))
        if (const rt::Object* grid = ObjectOf(*axis, "Grid")) look.Grid = BoolOf(*grid, "Visible", true);
    look.MarginLeft = ClampInt(OrdinalOf(control, "MarginLeft", 3), 0, 40);
    look.MarginRight = ClampInt(OrdinalOf(control, "MarginRight", 3), 0, 40);
    look.MarginTop = ClampInt(OrdinalOf(control, "MarginTop", 4), 0, 40);
    look.MarginBottom = ClampInt(OrdinalOf(control, "MarginBottom", 4), 0, 40);
    auto* chart = new ChartView(std::move(look), parent);
    ApplyColorsAndFont(*chart, control, false);
    return chart;
}

// ---------------------------------------------------------------------------------
// The factory

using Builder = QWidget* (*)(const rt::Object&, QWidget*);

struct ClassEntry {
    std::string_view Name;
    Builder Build;
    bool HoldsControls;
};

QWidget* MakeUpDown(const rt::Object& control, QWidget* parent) {
    return MakeArrowPair(control, parent, EnumOf(control, "Orientation") != "udHorizontal");
}

QWidget* MakeScroller(const rt::Object& control, QWidget* parent) {
    return MakeArrowPair(control, parent, false);
}

constexpr ClassEntry Classes[] = {
    {"TListView", MakeListView, false},
    {"TShellListView", MakeListView, false},
    {"TTreeView", MakeTreeView, false},
    {"TShellTreeView", MakeTreeView, false},
    {"TStringGrid", MakeStringGrid, false},
    {"TDrawGrid", MakeStringGrid, false},
    {"TDBGrid", MakeDBGrid, false},
    {"TValueListEditor", MakeValueListEditor, false},
    {"TTrackBar", MakeTrackBar, false},
    {"TProgressBar", MakeProgressBar, false},
    {"TUpDown", MakeUpDown, false},
    {"TDateTimePicker", MakeDateTimePicker, false},
    {"TMonthCalendar", MakeMonthCalendar, false},
    {"TCalendar", MakeCalendarGrid, false},
    {"TRichEdit", MakeRichEdit, false},
    {"TDBRichEdit", MakeRichEdit, false},
    {"TOutline", MakeOutline, false},
    {"TDirectoryOutline", MakeOutline, false},
    {"TGauge", MakeGauge, false},
    {"TColorGrid", MakeColorGrid, false},
    {"TChart", MakeChart, true},
    {"TDBChart", MakeChart, true},
    {"TScroller", MakeScroller, false},
};

const ClassEntry* EntryOf(std::string_view className) {
    for (const ClassEntry& entry : Classes)
        if (rt::EqualsIgnoringCase(entry.Name, className)) return &entry;
    return nullptr;
}

class DataViewFactory : public ControlFactory {
public:
    std::string_view Family() const override { return "dataviews"; }
    bool Handles(const rt::Class& cls) const override { return NearestRow(&cls, EntryOf) != nullptr; }
    bool HasRow(std::string_view className) const override { return EntryOf(className) != nullptr; }
    Realized Create(rt::Object& control, QWidget* parent, RealizeContext& context) const override {
        const ClassEntry* entry = NearestRow(&LookClass(control, context), EntryOf);
        if (!entry) return {};
        QWidget* widget = entry->Build(control, parent);
        if (!widget) return {};
        NoFocusAll(widget);
        return {widget, entry->HoldsControls ? widget : nullptr};
    }
};

}  // namespace

std::unique_ptr<ControlFactory> MakeDataViewFactory() {
    return std::make_unique<DataViewFactory>();
}

}  // namespace fw::preview
