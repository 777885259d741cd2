#pragma once

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;

namespace reports {

// A date field: the date typed as the shop keeper writes it (see store::parseTypedDate) or picked from a
// calendar, opened by the arrow at the field's right end, Alt+Down or F4. Up and Down move the
// date by a day. On leaving the field a date is shown as the shop writes dates ("5. 03. 2026"),
// and a text that is no date is shown red, its tool tip telling how to write one. The field's
// accessible name is its caption, which the messages about it name.
class DateField : public QLineEdit {
    Q_OBJECT
public:
    DateField(const QDate& date, const QString& caption, QWidget* parent = nullptr);

    // The date typed; invalid while the text is no date.
    QDate date() const;
    void setDate(const QDate& date);
    // What the shop keeper is told when the text is no date; empty while it is one.
    QString problem() const;
    // True while the field shows its text as no date.
    bool showsWrong() const { return wrong_; }

    void showCalendar();
    QCalendarWidget* calendar() const { return calendar_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void settle();
    void showWhetherDate();
    void pick(const QDate& day);

    QCalendarWidget* calendar_;
    bool wrong_ = false;
};

} // namespace reports
