// SPDX-License-Identifier: GPL-3.0-or-later
#include "fAbout.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QMap>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QThread>
#include <QTimer>

#include "VerzniBlok.h"
#include "uAllYouNeed.h"

namespace {
// The language and code page whose entries the about box reads (Czech, code page 1250).
const QString JazykBloku = QStringLiteral("040504e2");

QFont tahoma(int pixely, bool tucne) {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixely);
    f.setBold(tucne);
    return f;
}
}  // namespace

Tabout::Tabout(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("O aplikaci..."));
    setFixedSize(276, 217);

    // The picture fills the area inside the padding: 40 left and right, 20 top, 60 bottom.
    const QRect plocha(40, 20, width() - 80, height() - 80);
    Logo = new QLabel(this);
    Logo->setObjectName(QStringLiteral("Logo"));
    Logo->setGeometry(plocha);
    Logo->setAlignment(Qt::AlignCenter);
    Logo->setScaledContents(true);
    Logo->setPixmap(obrazekLoga(plocha.size()));
    BevelRamObrazku = new QFrame(this);
    BevelRamObrazku->setObjectName(QStringLiteral("BevelRamObrazku"));
    BevelRamObrazku->setFrameStyle(QFrame::Box | QFrame::Sunken);
    BevelRamObrazku->setGeometry(plocha);

    // The yellow title lies on the black one, one pixel up and left: a shadow.
    auto popis = [this](const char* jmeno, const QColor& barva, int x, int y) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(jmeno));
        l->setFont(tahoma(16, true));
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setAttribute(Qt::WA_TranslucentBackground);
        l->setAutoFillBackground(false);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, barva);
        l->setPalette(p);
        l->setGeometry(x, y, 265, 22);
        return l;
    };
    popisS = popis("popisS", Qt::black, 7, 109);
    popisP = popis("popisP", Qt::yellow, 6, 108);

    BevelCara = new QFrame(this);
    BevelCara->setObjectName(QStringLiteral("BevelCara"));
    BevelCara->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    BevelCara->setGeometry(8, 176, 257, 2);

    LabelVerzeText = new QLabel(QStringLiteral("verze:"), this);
    LabelVerzeText->setObjectName(QStringLiteral("LabelVerzeText"));
    LabelVerzeText->setFont(tahoma(12, true));
    LabelVerzeText->move(12, 180);
    LabelVerzeText->adjustSize();
    verze = new QLabel(QStringLiteral("verze"), this);
    verze->setObjectName(QStringLiteral("verze"));
    // Where Tahoma is missing the caption may be wider: the version then starts after it.
    const int xVerze = qMax(50, LabelVerzeText->geometry().right() + 4);
    verze->setGeometry(xVerze, 181, 190 - xVerze, 16);
    LabelVerzeText->setBuddy(verze);

    Cancel = new QPushButton(QStringLiteral("OK"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setGeometry(192, 184, 75, 25);
    Cancel->setDefault(true);
    connect(Cancel, &QPushButton::clicked, this, &Tabout::CancelClick);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(20);
    connect(Timer1, &QTimer::timeout, this, &Tabout::Timer1Timer);

    setWindowOpacity(0.0);
    FormCreate();
    if (owner) move(owner->geometry().center() - rect().center());
}

QPixmap Tabout::obrazekLoga(const QSize& velikost) {
    QPixmap obr(velikost);
    QPainter p(&obr);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = velikost.width(), h = velikost.height();
    QLinearGradient voda(0, 0, 0, h);
    voda.setColorAt(0, QColor(0x1d, 0x5f, 0x9e));
    voda.setColorAt(1, QColor(0x0b, 0x2c, 0x4f));
    p.fillRect(obr.rect(), voda);

    // Waves along the bottom.
    p.setPen(QPen(QColor(0x8f, 0xc6, 0xef, 160), 2));
    for (int radek = 0; radek < 3; ++radek) {
        QPainterPath vlna;
        const qreal y = h * 0.78 + radek * 8;
        vlna.moveTo(0, y);
        for (qreal x = 0; x < w; x += 20) {
            vlna.quadTo(x + 5, y - 4, x + 10, y);
            vlna.quadTo(x + 15, y + 4, x + 20, y);
        }
        p.drawPath(vlna);
    }

    // The fish: a body, a forked tail, a fin and an eye.
    const QPointF stred(w * 0.47, h * 0.42);
    const qreal delka = w * 0.52, vyska = h * 0.30;
    QPainterPath telo;
    telo.moveTo(stred.x() + delka / 2, stred.y());
    telo.cubicTo(stred.x() + delka / 4, stred.y() - vyska, stred.x() - delka / 3, stred.y() - vyska,
                 stred.x() - delka / 2, stred.y());
    telo.cubicTo(stred.x() - delka / 3, stred.y() + vyska, stred.x() + delka / 4, stred.y() + vyska,
                 stred.x() + delka / 2, stred.y());
    QPainterPath ocas;
    const qreal koren = stred.x() - delka / 2 + 4;
    ocas.moveTo(koren, stred.y());
    ocas.lineTo(koren - w * 0.14, stred.y() - vyska * 0.7);
    ocas.lineTo(koren - w * 0.09, stred.y());
    ocas.lineTo(koren - w * 0.14, stred.y() + vyska * 0.7);
    ocas.closeSubpath();
    QPainterPath ploutev;
    ploutev.moveTo(stred.x() - delka * 0.05, stred.y() - vyska * 0.72);
    ploutev.quadTo(stred.x(), stred.y() - vyska * 1.2, stred.x() + delka * 0.18,
                   stred.y() - vyska * 0.7);
    ploutev.closeSubpath();

    QLinearGradient supiny(0, stred.y() - vyska, 0, stred.y() + vyska);
    supiny.setColorAt(0, QColor(0x5a, 0x6e, 0x3a));
    supiny.setColorAt(0.5, QColor(0xc9, 0xb8, 0x5c));
    supiny.setColorAt(1, QColor(0xf2, 0xe9, 0xc4));
    p.setPen(QPen(QColor(0x2b, 0x2b, 0x1a), 1.5));
    p.setBrush(QColor(0x8a, 0x6d, 0x2f));
    p.drawPath(ocas);
    p.drawPath(ploutev);
    p.setBrush(supiny);
    p.drawPath(telo);
    p.setBrush(Qt::white);
    const QPointF oko(stred.x() + delka * 0.33, stred.y() - vyska * 0.15);
    p.drawEllipse(oko, 4, 4);
    p.setBrush(Qt::black);
    p.drawEllipse(oko, 2, 2);
    return obr;
}

void Tabout::FormCreate() {
    QMap<QString, QString> polozky;
    if (VerzniBlok::nacti(SouborProgramu(), &polozky) == VerzniBlok::Vysledek::Nacteno) {
        // Only the entries of the Czech block count; a missing entry shows as an empty text.
        const bool cesky =
            polozky.value(QStringLiteral("Translation")).compare(JazykBloku, Qt::CaseInsensitive) ==
            0;
        verze->setText(cesky ? polozky.value(QStringLiteral("FileVersion")) : QString());
    }
    popisP->setText(QStringLiteral("Evidence TVZ - ROZU"));
    popisS->setText(popisP->text());
}

void Tabout::FormShow() {
    Timer1->start();
}

void Tabout::nastavPruhlednost(int alfa) {
    setWindowOpacity(alfa / 255.0);
    emit pruhlednostNastavena(alfa);
}

void Tabout::Timer1Timer() {
    Timer1->stop();
    m_zatmivaSe = true;
    for (int alfa = 4; alfa <= 252; alfa += 4) {
        nastavPruhlednost(alfa);
        // Let the window system draw the step; the user's input waits until the fade is over.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(10);
    }
    nastavPruhlednost(255);
    m_zatmivaSe = false;
    if (m_zavritPoNabehu) {
        m_zavritPoNabehu = false;
        done(m_vysledekZavreni);
    }
}

void Tabout::FormClose() {
    // A box closed before its fade-in began still fades in first, so it never jumps from
    // transparent to almost opaque.
    if (Timer1->isActive()) Timer1Timer();
    for (int alfa = 252; alfa >= 4; alfa -= 4) {
        nastavPruhlednost(alfa);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(10);
    }
    nastavPruhlednost(0);
}

void Tabout::CancelClick() {
    reject();
}

void Tabout::done(int r) {
    // Every way of closing (OK, Esc, Enter, the close box) ends here. A close asked for while
    // the box fades in waits for the fade-in to finish.
    if (m_zatmivaSe) {
        m_zavritPoNabehu = true;
        m_vysledekZavreni = r;
        return;
    }
    if (m_zaviraSe) return;
    m_zaviraSe = true;
    FormClose();
    QDialog::done(r);
    m_zaviraSe = false;
}

void Tabout::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) FormShow();
}
