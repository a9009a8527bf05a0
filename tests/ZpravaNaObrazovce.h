// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <algorithm>
#include <functional>

#include "Zpravy.h"

// Messages really shown on the screen (the automat off), answered the way a user answers them.
namespace ZpravaNaObrazovce {

enum class Odpoved { Enter, Esc, Krizek, Klik };
}  // namespace ZpravaNaObrazovce

// Ways of answering travel through the tests' data tables.
Q_DECLARE_METATYPE(ZpravaNaObrazovce::Odpoved)

namespace ZpravaNaObrazovce {

// What the message showed.
struct Videno {
    QString titulek;
    QStringList popisky;  // the buttons' captions from left to right
    QString vychozi;      // the caption of the default button
};

inline QStringList popiskyZlevaDoprava(QMessageBox* box) {
    QList<QAbstractButton*> tlacitka;
    for (QAbstractButton* b : box->buttons())
        if (b->isVisible()) tlacitka << b;
    std::sort(tlacitka.begin(), tlacitka.end(), [box](QAbstractButton* a, QAbstractButton* b) {
        return a->mapTo(box, QPoint()).x() < b->mapTo(box, QPoint()).x();
    });
    QStringList r;
    for (QAbstractButton* b : tlacitka) r << b->text().remove(QLatin1Char('&'));
    return r;
}

// Runs zobraz, which shows one message; when the message is on the screen it is read into
// videno and answered: Enter or Esc to the widget that has the focus in it, its window's close
// box, or a click on the button captioned klikNa. Returns what zobraz returned.
inline int zobrazAOdpovez(const std::function<int()>& zobraz, Odpoved odpoved, Videno* videno,
                          const QString& klikNa = QString()) {
    Zpravy::nastavAutomat(false);
    QTimer casovac;
    casovac.setInterval(10);
    QObject::connect(&casovac, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        casovac.stop();
        videno->titulek = box->windowTitle();
        videno->popisky = popiskyZlevaDoprava(box);
        videno->vychozi = box->defaultButton()
                              ? box->defaultButton()->text().remove(QLatin1Char('&'))
                              : QString();
        QWidget* cil = box->focusWidget() ? box->focusWidget() : box;
        switch (odpoved) {
            case Odpoved::Enter:
                QTest::keyClick(cil, Qt::Key_Return);
                break;
            case Odpoved::Esc:
                QTest::keyClick(cil, Qt::Key_Escape);
                break;
            case Odpoved::Krizek:
                box->windowHandle()->close();
                break;
            case Odpoved::Klik:
                for (QAbstractButton* b : box->buttons())
                    if (b->text().remove(QLatin1Char('&')) == klikNa)
                        QTest::mouseClick(b, Qt::LeftButton);
                break;
        }
    });
    casovac.start();
    const int vysledek = zobraz();
    Zpravy::nastavAutomat(true);
    return vysledek;
}

}  // namespace ZpravaNaObrazovce
