// Date and time pickers, month calendars and the calendar grid. TDateTime values are
// days since 1899-12-30, the fraction the time of day.

#include "preview/dataviews_parts.h"

namespace fw::preview::dataviews {

// ---------------------------------------------------------------------------------
// Dates: TDateTime values are days since 1899-12-30, the fraction the time of day.

namespace {

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
        while (i + run < n && format[i + run] == c)
            ++run;
        const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
        const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
        switch (c.unicode()) {
            case 'd':
                if (run == 1)
                    out += QString::number(date.day());
                else if (run == 2)
                    out += two(date.day());
                else if (run == 3)
                    out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
                else
                    out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
                break;
            case 'M':
                if (run == 1)
                    out += QString::number(date.month());
                else if (run == 2)
                    out += two(date.month());
                else if (run == 3)
                    out += locale.monthName(date.month(), QLocale::ShortFormat);
                else
                    out += locale.monthName(date.month(), QLocale::LongFormat);
                break;
            case 'y':
                if (run == 1)
                    out += QString::number(date.year() % 10);
                else if (run == 2)
                    out += two(date.year() % 100);
                else
                    out += QString::number(date.year());
                break;
            case 'h':
                out += run == 1 ? QString::number(hour12) : two(hour12);
                break;
            case 'H':
                out += run == 1 ? QString::number(time.hour()) : two(time.hour());
                break;
            case 'm':
                out += run == 1 ? QString::number(time.minute()) : two(time.minute());
                break;
            case 's':
                out += run == 1 ? QString::number(time.second()) : two(time.second());
                break;
            case 't': {
                const QString marker = time.hour() < 12 ? locale.amText() : locale.pmText();
                out += run == 1 ? marker.left(1) : marker;
                break;
            }
            default:
                out += QString(run, c);
                break;
        }
        i += run;
    }
    return out;
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
        if (EnumOf(control, "DateFormat") == "dfLong")
            return locale.toString(ToQDateTime(value).date(), QLocale::LongFormat);
        return Q(rt::DateToText(value));
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

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

namespace {

Qt::DayOfWeek FirstDayOf(const rt::Object& control) {
    const std::string day = EnumOf(control, "FirstDayOfWeek");
    static const std::pair<const char*, Qt::DayOfWeek> days[] = {
        {"dowMonday", Qt::Monday},     {"dowTuesday", Qt::Tuesday}, {"dowWednesday", Qt::Wednesday},
        {"dowThursday", Qt::Thursday}, {"dowFriday", Qt::Friday},   {"dowSaturday", Qt::Saturday},
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

}  // namespace

QWidget* MakeMonthCalendar(const rt::Object& control, QWidget* parent) {
    auto* box = new MonthBox(parent);
    ApplyColorsAndFont(*box, control, true);
    QPalette palette = box->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base})
        palette.setColor(role, ColorOf(clWindow));
    box->setPalette(palette);
    auto* calendar = new QCalendarWidget(box);
    box->Calendar = calendar;
    calendar->setGridVisible(false);
    calendar->setFirstDayOfWeek(FirstDayOf(control));
    calendar->setVerticalHeaderFormat(BoolOf(control, "WeekNumbers", false)
                                          ? QCalendarWidget::ISOWeekNumbers
                                          : QCalendarWidget::NoVerticalHeader);
    const double minDate = FloatOf(control, "MinDate");
    const double maxDate = FloatOf(control, "MaxDate");
    if (minDate != 0 && DateTimeOk(minDate)) calendar->setMinimumDate(ToQDateTime(minDate).date());
    if (maxDate != 0 && DateTimeOk(maxDate) && maxDate >= minDate)
        calendar->setMaximumDate(ToQDateTime(maxDate).date());
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
        for (QWidget* inner : bar->findChildren<QWidget*>())
            inner->setPalette(band);
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
    for (Qt::DayOfWeek day : {Qt::Saturday, Qt::Sunday})
        calendar->setWeekdayTextFormat(day, plain);
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
        if (QDate(year, month, 1).isValid())
            date = QDate(year, month, std::clamp(day, 1, QDate(year, month, 1).daysInMonth()));
        else if (stored != 0 && DateTimeOk(stored))
            date = ToQDateTime(stored).date();
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

}  // namespace fw::preview::dataviews
