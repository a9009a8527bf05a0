// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pomocnik.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QTimer>
#include <QtTest>

#include "Databaze.h"
#include "Hodiny.h"
#include "JetSoubor.h"
#include "VerzniBlok.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fMain.h"
#include "uAllYouNeed.h"

void Pomocnik::pripravProstredi() {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    Zpravy::nastavAutomat(true);
    // Jet files are read by the program in a process of its own; a test's executable is not
    // the program.
    jet::nastavCtenare(QStringLiteral(PARMEX_EXE));
}

QByteArray Pomocnik::obsah(const QString& soubor) {
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Pomocnik::zapis(const QString& soubor, const QByteArray& data) {
    QFile f(soubor);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}

void Pomocnik::zapisProgramSVerzi(const QString& soubor, const QString& produkt,
                                  const QString& verze) {
    QFile f(soubor);
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray(64, '\x7f'));
    if (!produkt.isNull()) {
        QMap<QString, QString> p;
        p.insert(QStringLiteral("Translation"), QStringLiteral("040504e2"));
        p.insert(QStringLiteral("FileVersion"), verze);
        p.insert(QStringLiteral("ProductName"), produkt);
        f.write(VerzniBlok::sestav(p));
    }
    f.write(QByteArray(64, '\0'));
}

QByteArray Pomocnik::novyProgram() {
    QMap<QString, QString> blok;
    VerzniBlok::nacti(QStringLiteral(PARMEX_EXE), &blok);
    blok.insert(QStringLiteral("FileVersion"), QStringLiteral("1.0.5.0"));
    return "#!/bin/sh\necho spusten > \"$(dirname \"$0\")/novy-program-bezi.txt\"\nexit 0\n" +
           VerzniBlok::sestav(blok);
}

TMain* Pomocnik::hlavniOknoSeVzorovymiCiselniky() {
    Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
    auto* w = new TMain;
    VzorovaData::vytvor(QStringLiteral("dataCis.mdb"));
    w->ImportCiselniku(QStringLiteral("1"));
    return w;
}

Pomocnik::PracovniSlozka::PracovniSlozka(const QString& produkt, const QString& verze)
    : m_puvodni(QDir::currentPath()) {
    QDir::setCurrent(m_dir.path());
    const QString program = cesta(QStringLiteral("ParmexRozu"));
    zapisProgramSVerzi(program, produkt, verze);
    NastavSouborProgramu(program);
    ZrusKonecProgramu();
    Zpravy::vymazZaznamy();
    Hodiny::nastav(QDateTime());
}

Pomocnik::PracovniSlozka::~PracovniSlozka() {
    QDir::setCurrent(m_puvodni);
    NastavSouborProgramu(QString());
    ZrusKonecProgramu();
    Hodiny::nastav(QDateTime());
}

QString Pomocnik::PracovniSlozka::cesta(const QString& jmeno) const {
    return jmeno.isEmpty() ? m_dir.path() : m_dir.filePath(jmeno);
}

QString Pomocnik::PracovniSlozka::log() const {
    QFile f(cesta(QStringLiteral("Error.log")));
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromLocal8Bit(f.readAll());
}

QString Pomocnik::jedna(const QString& sql) {
    db::Query q(&Main->ADOConnection1);
    q.setSql(sql);
    q.open();
    return q.field(0).asString();
}

void Pomocnik::obnovSmyckyUdalosti() {
    QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
}
