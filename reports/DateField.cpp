#include "reports/DateField.h"

#include "store/DataWorkbook.h"

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QStyle>

namespace reports {

namespace {

// How a date is asked for wherever one is typed.
const QString kTypedDateExample = QStringLiteral("15.11.2026");

const QColor kWrongBackground(255, 215, 215);

QString hint()
{
    return QStringLiteral("Въведете дата като %1 или я изберете от календара (Alt+Стрелка надолу)").arg(kTypedDateExample);
}

} // namespace

DateField::DateField(const QDate& date, const QString& caption, QWidget* parent)
    : QLineEdit(parent), calendar_(new QCalendarWidget(this))
{
    setAccessibleName(caption);
    QAction* open = addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    open->setObjectName(QStringLiteral("calendarAction"));
    open->setToolTip(QStringLiteral("Календар (Alt+Стрелка надолу)"));
    connect(open, &QAction::triggered, this, &DateField::showCalendar);

    calendar_->setObjectName(QStringLiteral("calendar"));
    calendar_->setWindowFlags(Qt::Popup);
    calendar_->setFirstDayOfWeek(Qt::Monday);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    connect(calendar_, &QCalendarWidget::clicked, this, &DateField::pick);
    connect(calendar_, &QCalendarWidget::activated, this, &DateField::pick);

    connect(this, &QLineEdit::editingFinished, this, &DateField::settle);
    // A wrong text turns right as soon as it is corrected.
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (wrong_) showWhetherDate();
    });
    setDate(date);
}

QDate DateField::date() const
{
    return store::parseTypedDate(text()).value_or(QDate());
}

void DateField::setDate(const QDate& date)
{
    setText(store::formatShopDate(date));
    showWhetherDate();
}

QString DateField::problem() const
{
    if (date().isValid()) return {};
    const QString ask = QStringLiteral("Въведете дата като %1.").arg(kTypedDateExample);
    if (text().trimmed().isEmpty()) return QStringLiteral("Полето „%1“ е празно. %2").arg(accessibleName(), ask);
    return QStringLiteral("„%1“ не е дата. %2").arg(text().trimmed(), ask);
}

void DateField::showCalendar()
{
    const QDate shown = date().isValid() ? date() : QDate::currentDate();
    calendar_->setSelectedDate(shown);
    calendar_->adjustSize();
    calendar_->move(mapToGlobal(rect().bottomLeft()));
    calendar_->show();
    calendar_->setFocus();
}

void DateField::keyPressEvent(QKeyEvent* event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (event->key() == Qt::Key_F4 || (alt && event->key() == Qt::Key_Down)) {
        showCalendar();
        return;
    }
    if (!alt && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && date().isValid()) {
        setDate(date().addDays(event->key() == Qt::Key_Up ? 1 : -1));
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DateField::settle()
{
    if (date().isValid() && text() != store::formatShopDate(date())) setText(store::formatShopDate(date()));
    showWhetherDate();
}

void DateField::showWhetherDate()
{
    wrong_ = !date().isValid();
    QPalette colours;   // the application's
    if (wrong_) colours.setColor(QPalette::Base, kWrongBackground);
    setPalette(colours);
    setToolTip(wrong_ ? problem() : hint());
}

void DateField::pick(const QDate& day)
{
    calendar_->hide();
    setDate(day);
    setFocus(Qt::PopupFocusReason);
    selectAll();
}

} // namespace reports
