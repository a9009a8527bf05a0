// SPDX-License-Identifier: GPL-3.0-or-later
#include "Zpravy.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QQueue>
#include <QScreen>
#include <cstdio>

namespace {
QQueue<int> g_odpovedi;
QVector<Zpravy::Zaznam> g_zaznamy;
bool g_automat = false;

int odpovedEsc(int typTlacitek) {
    return typTlacitek == 1 ? 1 : (typTlacitek == 2 ? 2 : 0);
}

// A program started by a test answers its messages from the environment: PARMEX_ODPOVEDI holds
// the answers in order ("0,1"); each message is written to the standard error output instead
// of being shown.
bool odpovediZProstredi() {
    static const bool zapnuto = [] {
        if (!qEnvironmentVariableIsSet("PARMEX_ODPOVEDI")) return false;
        const QString seznam = qEnvironmentVariable("PARMEX_ODPOVEDI");
        for (const QString& o : seznam.split(QLatin1Char(','), Qt::SkipEmptyParts))
            g_odpovedi.enqueue(o.trimmed().toInt());
        return true;
    }();
    return zapnuto;
}
}  // namespace

QPoint Zpravy::umisteni(const QSize& velikost, const QPoint& stred, const QSize& obrazovka) {
    int left = stred.x() - velikost.width() / 2;
    int top = stred.y() - velikost.height() / 2;
    if (top + velikost.height() > obrazovka.height())
        top = obrazovka.height() - velikost.height() - 50;
    if (top < 0) top = 50;
    if (left + velikost.width() > obrazovka.width())
        left = obrazovka.width() - velikost.width() - 20;
    if (left < 0) left = 20;
    return {left, top};
}

int Zpravy::zobraz(const QString& text, int typZpravy, int typTlacitek, bool vzdyNahore) {
    if (odpovediZProstredi()) {
        const int odpoved = g_odpovedi.isEmpty() ? odpovedEsc(typTlacitek) : g_odpovedi.dequeue();
        fprintf(
            stderr, "ZobrazDialog[%d,%d,%d]: %s\n", typZpravy, typTlacitek, odpoved,
            QString(text).replace(QLatin1Char('\r'), QLatin1String("\\r")).toUtf8().constData());
        fflush(stderr);
        return odpoved;
    }
    if (!g_odpovedi.isEmpty() || g_automat) {
        g_zaznamy.append({text, typZpravy, typTlacitek});
        return g_odpovedi.isEmpty() ? odpovedEsc(typTlacitek) : g_odpovedi.dequeue();
    }

    static const char* const titulky[] = {"Zpráva", "Dotaz", "Chyba", "Pozor"};
    static const QMessageBox::Icon ikony[] = {QMessageBox::Information, QMessageBox::Question,
                                              QMessageBox::Critical, QMessageBox::Warning};
    const int typ = (typZpravy >= 0 && typZpravy <= 3) ? typZpravy : 0;

    QMessageBox box(ikony[typ], QString::fromUtf8(titulky[typ]),
                    QString(text)
                        .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                        .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    box.setTextFormat(Qt::PlainText);
    if (vzdyNahore) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    QPushButton* ano = nullptr;
    QPushButton* ne = nullptr;
    QPushButton* zrusit = nullptr;
    QPushButton* ok = nullptr;
    if (typTlacitek == 1 || typTlacitek == 2) {
        // The buttons read Ano, Ne, Zrušit from left to right on every desktop. The toolkit
        // orders buttons by their role as the desktop wants it (GNOME mirrors yes and no); it
        // keeps the order of adding only among buttons of one role, so all three share one.
        ano = box.addButton(QStringLiteral("Ano"), QMessageBox::ActionRole);
        ne = box.addButton(QStringLiteral("Ne"), QMessageBox::ActionRole);
        if (typTlacitek == 2) {
            zrusit = box.addButton(QStringLiteral("Zrušit"), QMessageBox::ActionRole);
            box.setEscapeButton(zrusit);
        } else {
            box.setEscapeButton(ne);
        }
        box.setDefaultButton(ano);
    } else {
        ok = box.addButton(QMessageBox::Ok);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }

    // Reference point: the centre of the active window when it is visible, else of the screen.
    box.adjustSize();
    QScreen* obrazovka = QGuiApplication::primaryScreen();
    const QSize plocha = obrazovka ? obrazovka->size() : QSize(1024, 768);
    QPoint stred(plocha.width() / 2, plocha.height() / 2);
    if (QWidget* aktivni = QApplication::activeWindow(); aktivni && aktivni->isVisible()) {
        const QRect g = aktivni->frameGeometry();
        stred = QPoint(g.left() + g.width() / 2, g.top() + g.height() / 2);
    }
    box.move(umisteni(box.sizeHint(), stred, plocha));

    // A button pressed (by click, Enter or Esc) is reported; the close box presses none, though
    // the toolkit then names the escape button as the one clicked.
    QAbstractButton* stisknuto = nullptr;
    QObject::connect(&box, &QMessageBox::buttonClicked,
                     [&stisknuto](QAbstractButton* b) { stisknuto = b; });
    box.exec();
    if (stisknuto == nullptr) return 2;  // closed by the window's close box
    if (stisknuto == ano || stisknuto == ok) return 0;
    if (stisknuto == ne) return 1;
    return 2;
}

void Zpravy::pridejOdpoved(int odpoved) {
    g_odpovedi.enqueue(odpoved);
}

void Zpravy::nastavAutomat(bool zapnout) {
    g_automat = zapnout;
}

QVector<Zpravy::Zaznam> Zpravy::zaznamy() {
    return g_zaznamy;
}

void Zpravy::vymazZaznamy() {
    g_zaznamy.clear();
    g_odpovedi.clear();
}
