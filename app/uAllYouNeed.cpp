// SPDX-License-Identifier: GPL-3.0-or-later
#include "uAllYouNeed.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QWidget>

#include "Hlaseni.h"
#include "Zpravy.h"

namespace {
bool g_programKonci = false;
int g_navratovyKod = 0;

// Watches the buttons of one window for Enter.
class EnterNaTlacitku : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* objekt, QEvent* e) override {
        auto* tlacitko = qobject_cast<QAbstractButton*>(objekt);
        if (!tlacitko) return false;
        if (e->type() == QEvent::FocusOut) {
            if (m_stisknuto == tlacitko) pust();
            return false;
        }
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return false;
        auto* klavesa = static_cast<QKeyEvent*>(e);
        if (klavesa->key() != Qt::Key_Return && klavesa->key() != Qt::Key_Enter) return false;
        // Ctrl+Enter and the like keep whatever meaning they have.
        if (klavesa->modifiers() & ~Qt::KeypadModifier) return false;
        // Held down, the key presses the button once.
        if (klavesa->isAutoRepeat()) return true;
        if (e->type() == QEvent::KeyPress) {
            pust();
            m_stisknuto = tlacitko;
            tlacitko->setDown(true);
            return true;
        }
        if (m_stisknuto != tlacitko) return true;  // pressed elsewhere: not meant for it
        pust();
        // click() may open a modal window; nothing of this press is left pending by then.
        if (tlacitko->isEnabled()) tlacitko->click();
        return true;
    }

private:
    void pust() {
        if (m_stisknuto) m_stisknuto->setDown(false);
        m_stisknuto = nullptr;
    }

    QPointer<QAbstractButton> m_stisknuto;
};
}  // namespace

quint8 ZobrazDialog(const QString& text, quint8 typZpravy, quint8 typTlacitek) {
    return static_cast<quint8>(Zpravy::zobraz(text, typZpravy, typTlacitek));
}

namespace {
class HlaseniOken : public Hlaseni {
public:
    int zprava(const QString& text, int typZpravy, int typTlacitek) override {
        return ZobrazDialog(text, static_cast<quint8>(typZpravy), static_cast<quint8>(typTlacitek));
    }
};
}  // namespace

Hlaseni& HlaseniProgramu() {
    static HlaseniOken hlaseni;
    return hlaseni;
}

bool FormularOtevren(const QString& nazev, bool doPopredi) {
    const auto okna = QApplication::topLevelWidgets();
    for (QWidget* w : okna) {
        if (w->objectName() != nazev) continue;
        if (doPopredi) {
            w->show();
            w->raise();
            w->activateWindow();
        }
        return true;
    }
    return false;
}

void UkonciProgram(bool chybou) {
    g_programKonci = true;
    g_navratovyKod = chybou ? 1 : 0;
    QCoreApplication::exit(g_navratovyKod);
}

bool ProgramKonci() {
    return g_programKonci;
}

int NavratovyKod() {
    return g_navratovyKod;
}

void ZrusKonecProgramu() {
    g_programKonci = false;
    g_navratovyKod = 0;
}

void EnterStiskneTlacitko(QWidget* okno) {
    auto* hlidac = new EnterNaTlacitku(okno);
    for (QAbstractButton* tlacitko : okno->findChildren<QAbstractButton*>())
        if (qobject_cast<QPushButton*>(tlacitko) || qobject_cast<QToolButton*>(tlacitko))
            tlacitko->installEventFilter(hlidac);
}

void ObecneHlaseniChyby(const QString& zprava) {
    ZobrazDialog(zprava, 2);
}

QLabel* TucnyPopisek(const QString& text, QWidget* rodic) {
    auto* l = new QLabel(text, rodic);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QStatusBar* RozlozOkno(QWidget* okno, QWidget* obsah, const QList<QWidget*>& tlacitkaNahore,
                       const QList<QWidget*>& tlacitkaDole) {
    auto* tlacitka = new QVBoxLayout();
    for (QWidget* t : tlacitkaNahore) tlacitka->addWidget(t);
    tlacitka->addStretch(1);
    for (QWidget* t : tlacitkaDole) tlacitka->addWidget(t);
    auto* radek = new QHBoxLayout();
    radek->addWidget(obsah, 1);
    radek->addLayout(tlacitka);
    // The status bar's grip is the window's one size grip.
    auto* stav = new QStatusBar(okno);
    stav->setObjectName(QStringLiteral("StatusBar1"));
    auto* vrstva = new QVBoxLayout(okno);
    vrstva->addLayout(radek, 1);
    vrstva->addWidget(stav);
    return stav;
}
