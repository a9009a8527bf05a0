// SPDX-License-Identifier: GPL-3.0-or-later
#include "DatumEdit.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "Formaty.h"
#include "Hodiny.h"

namespace {
// A small calendar sheet in the colours of the text: a frame, its top bar and two rows of days.
QIcon ikonaKalendare(const QColor& barva) {
    QPixmap obr(16, 16);
    obr.fill(Qt::transparent);
    QPainter p(&obr);
    p.setPen(barva);
    p.drawRect(1, 2, 13, 12);
    p.fillRect(1, 2, 14, 3, barva);
    for (int radek = 0; radek < 2; ++radek)
        for (int sloupec = 0; sloupec < 3; ++sloupec)
            p.fillRect(3 + sloupec * 4, 7 + radek * 3, 2, 2, barva);
    return QIcon(obr);
}
}  // namespace

TDatumEdit::TDatumEdit(QWidget* parent) : QLineEdit(parent) {
    Kalendar =
        addAction(ikonaKalendare(palette().color(QPalette::Text)), QLineEdit::TrailingPosition);
    Kalendar->setObjectName(QStringLiteral("Kalendar"));
    Kalendar->setText(QStringLiteral("Vybrat datum z kalendáře"));
    Kalendar->setToolTip(QStringLiteral("Vybrat datum z kalendáře (Alt+šipka dolů)"));
    connect(Kalendar, &QAction::triggered, this, &TDatumEdit::otevriKalendar);
}

QDate TDatumEdit::date() const {
    return Formaty::naDatum(text());
}

void TDatumEdit::setDate(const QDate& datum) {
    setText(datum.isValid() ? Formaty::datum(datum) : QString());
}

void TDatumEdit::setRozsahKalendare(const QDate& od, const QDate& doDne) {
    m_od = od;
    m_do = doDne;
}

void TDatumEdit::otevriKalendar() {
    auto* okno = new QFrame(this, Qt::Popup);
    okno->setObjectName(QStringLiteral("KalendarOkno"));
    okno->setAttribute(Qt::WA_DeleteOnClose);
    okno->setFrameShape(QFrame::StyledPanel);
    auto* kalendar = new QCalendarWidget(okno);
    kalendar->setObjectName(QStringLiteral("KalendarMesic"));
    kalendar->setLocale(locale());
    kalendar->setGridVisible(true);
    if (m_od.isValid()) kalendar->setMinimumDate(m_od);
    if (m_do.isValid()) kalendar->setMaximumDate(m_do);
    const QDate typovano = date();
    kalendar->setSelectedDate(typovano.isValid() ? typovano : Hodiny::dnes());
    auto* vrstva = new QVBoxLayout(okno);
    vrstva->setContentsMargins(1, 1, 1, 1);
    vrstva->addWidget(kalendar);
    // A click on a day or Enter on the marked day takes it.
    auto vezmi = [this, okno](const QDate& den) {
        setDate(den);
        okno->close();
        setFocus(Qt::PopupFocusReason);
    };
    connect(kalendar, &QCalendarWidget::clicked, this, vezmi);
    connect(kalendar, &QCalendarWidget::activated, this, vezmi);
    okno->adjustSize();
    okno->move(mapToGlobal(QPoint(0, height())));
    okno->show();
    kalendar->setFocus(Qt::PopupFocusReason);
}

void TDatumEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F4 ||
        (e->key() == Qt::Key_Down && (e->modifiers() & Qt::AltModifier))) {
        otevriKalendar();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TDatumEdit::focusOutEvent(QFocusEvent* e) {
    // A typed date is shown back as the field shows dates, so the user sees how it was read;
    // a text that is no date stays as typed.
    const QDate d = date();
    if (d.isValid() && e->reason() != Qt::PopupFocusReason) setDate(d);
    QLineEdit::focusOutEvent(e);
}
