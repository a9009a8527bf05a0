// SPDX-License-Identifier: GPL-3.0-or-later
#include "fObrazky.h"

#include <QPainter>
#include <QPainterPath>

TImageList::TImageList(int sirka, int vyska, QObject* parent)
    : QObject(parent), m_sirka(sirka), m_vyska(vyska) {}

int TImageList::Add(const QPixmap& obrazek) {
    m_obrazky << obrazek;
    emit zmeneno();
    return m_obrazky.size() - 1;
}

void TImageList::AddImages(const TImageList* jiny) {
    m_obrazky = jiny ? jiny->m_obrazky : QVector<QPixmap>();
    emit zmeneno();
}

void TImageList::Clear() {
    m_obrazky.clear();
    emit zmeneno();
}

namespace {

QPixmap prazdny(int sirka, int vyska) {
    QPixmap p(sirka, vyska);
    p.fill(Qt::transparent);
    return p;
}

// A grey triangle with a yellow outline, pointing up or down.
QPixmap trojuhelnik(bool nahoru) {
    QPixmap p = prazdny(16, 16);
    QPainter m(&p);
    m.setRenderHint(QPainter::Antialiasing);
    QPolygonF t;
    if (nahoru)
        t << QPointF(8, 4) << QPointF(13, 11) << QPointF(3, 11);
    else
        t << QPointF(3, 5) << QPointF(13, 5) << QPointF(8, 12);
    m.setPen(QPen(QColor(255, 210, 0), 1.2));
    m.setBrush(QColor(128, 128, 128));
    m.drawPolygon(t);
    return p;
}

QPixmap lupa() {
    QPixmap p = prazdny(18, 17);
    QPainter m(&p);
    m.setRenderHint(QPainter::Antialiasing);
    m.setPen(QPen(QColor(60, 60, 60), 1.6));
    m.setBrush(QColor(220, 235, 250));
    m.drawEllipse(QPointF(7, 7), 4.5, 4.5);
    m.setPen(QPen(QColor(60, 60, 60), 2.6, Qt::SolidLine, Qt::RoundCap));
    m.drawLine(QPointF(10.5, 10.5), QPointF(15, 15));
    return p;
}

QPixmap krizek() {
    QPixmap p = prazdny(18, 17);
    QPainter m(&p);
    m.setRenderHint(QPainter::Antialiasing);
    m.setPen(Qt::NoPen);
    m.setBrush(QColor(70, 70, 70));
    m.drawEllipse(QPointF(9, 8.5), 7, 7);
    m.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    m.drawLine(QPointF(6.5, 6), QPointF(11.5, 11));
    m.drawLine(QPointF(11.5, 6), QPointF(6.5, 11));
    return p;
}

}  // namespace

TObrazky::TObrazky(QWidget* parent)
    : QWidget(parent),
      ImageListGrid(new TImageList(16, 16, this)),
      ImageListSearch(new TImageList(18, 17, this)) {
    setObjectName(QStringLiteral("Obrazky"));
    ImageListGrid->Add(trojuhelnik(true));
    ImageListGrid->Add(trojuhelnik(false));
    ImageListSearch->Add(lupa());
    ImageListSearch->Add(krizek());
}
