// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QLineEdit>

class QAction;

// A date field the user types into as the field shows the date (1.2.1980, 01.02.1980, with the
// system's order of day, month and year) or picks from a calendar (the button at its right end,
// Alt+Down or F4). It holds the text as typed: a text that is no date gives an invalid date()
// and is left for the caller to refuse, so nothing the user typed is lost.
class TDatumEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDatumEdit(QWidget* parent = nullptr);

    // The typed date; invalid when the text is no date.
    QDate date() const;
    // Shows the date in the short date format (an invalid date empties the field).
    void setDate(const QDate& datum);
    // The days the calendar offers; typing is not limited by them.
    void setRozsahKalendare(const QDate& od, const QDate& doDne);

    QAction* Kalendar;

public slots:
    void otevriKalendar();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    QDate m_od;
    QDate m_do;
};
