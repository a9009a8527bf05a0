// SPDX-License-Identifier: GPL-3.0-or-later
#include "fZmenyProg.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
struct Verze {
    const char* verze;
    const char* datum;
    QStringList polozky;
};
}  // namespace

QStringList TZmenyProg::radkyZmen() {
    const QString hvezdicky(67, QLatin1Char('*'));
    const QString pulka(25, QLatin1Char('*'));
    QStringList r{hvezdicky, pulka + QStringLiteral(" EVIDENCE TVZ ROZU ") + pulka, hvezdicky,
                  QString()};
    const Verze verze[] = {
        {"1.0.4.30",
         "03.05.2016",
         {QStringLiteral("* na hlavní obrazovku byl přidán odkaz na webové stránky organizace"),
          QStringLiteral("* upraveno logo organizace"),
          QStringLiteral("* přidáno načítání a zobrazení napojených plateb")}},
        {"1.0.3.11",
         "23.11.2015",
         {QStringLiteral("* nová grafika tabulek s daty"),
          QStringLiteral("* upraveny fonty některých formulářů"),
          QStringLiteral("* upraveno formátování datumů"),
          QStringLiteral(
              "* pro zadání data narození uživatele bylo použito pole s možností zobrazení"),
          QStringLiteral("   kalendáře"),
          QStringLiteral("* není již nutno měnit formát data ve windows 8 a výše")}},
        {"1.0.2.46",
         "06.03.2014",
         {QStringLiteral(
              "* upraven popis položek na detailu uživatele - zejména \"evidenční číslo\","),
          QStringLiteral(
              "  které je důležité pro správné spárování platby k danému uživateli na svazu")}},
        {"1.0.1.44",
         "25.02.2014",
         {QStringLiteral(
              "* číslo účtu z formuláře platby pro elektronické bankovnictví se kopíruje"),
          QStringLiteral("  do schránky \"clipboard\" bez kódu banky (/0800)")}},
        {"1.0.1.41", "12.02.2014", {QStringLiteral("* zapracován tisk formuláře plateb")}},
        {"1.0.1.40",
         "10.02.2014",
         {QStringLiteral("* vytvořena evidence:"), QStringLiteral("    - administrace uživatelů"),
          QStringLiteral("    - zakládání plateb"),
          QStringLiteral("    - přehled historických plateb"),
          QStringLiteral("    - automatické aktualizace")}},
    };
    bool prvni = true;
    for (const Verze& v : verze) {
        if (!prvni) r << QString();
        prvni = false;
        r << QStringLiteral("Verze %1 - %2").arg(QLatin1String(v.verze), QLatin1String(v.datum))
          << QString(46, QLatin1Char('-')) << v.polozky;
    }
    return r;
}

TZmenyProg::TZmenyProg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("ZmenyProg"));
    setWindowTitle(QStringLiteral("Změny programu"));
    setFixedSize(559, 313);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 0, 559, 274);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont pismo(QStringLiteral("Tahoma"));
    pismo.setPixelSize(12);
    pismo.setBold(true);
    Memo1->setFont(pismo);
    QPalette paleta = Memo1->palette();
    paleta.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    Memo1->setPalette(paleta);
    Memo1->setPlainText(radkyZmen().join(QLatin1Char('\n')));

    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(242, 281, 75, 25);
    OK->setDefault(true);
    connect(OK, &QPushButton::clicked, this, &TZmenyProg::OKClick);

    // The window sees the keys before its controls.
    Memo1->installEventFilter(this);
    OK->installEventFilter(this);

    if (owner) move(owner->geometry().center() - rect().center());
}

void TZmenyProg::OKClick() {
    accept();
}

void TZmenyProg::FormKeyUp(int key) {
    if (key == Qt::Key_Escape) OKClick();
}

void TZmenyProg::keyPressEvent(QKeyEvent* e) {
    // Esc acts on its release (FormKeyUp), not on the press.
    if (e->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(e);
}

void TZmenyProg::keyReleaseEvent(QKeyEvent* e) {
    if (!e->isAutoRepeat()) FormKeyUp(e->key());
    QDialog::keyReleaseEvent(e);
}

bool TZmenyProg::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyRelease) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (!k->isAutoRepeat()) FormKeyUp(k->key());
        if (k->key() == Qt::Key_Escape) return true;
    } else if (e->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        return true;
    }
    return QDialog::eventFilter(o, e);
}
