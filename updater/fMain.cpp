// SPDX-License-Identifier: GPL-3.0-or-later
#include "fMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <climits>

#include "Chyba.h"
#include "Obnovnik.h"
#include "Stahovani.h"
#include "Zpravy.h"

namespace {

// The updater's message box: the common one, always above the other windows.
int ZobrazDialog(const QString& text, int typZpravy = 0, int typTlacitek = 0) {
    return Zpravy::zobraz(text, typZpravy, typTlacitek, true);
}

const char* const otazkaOdstraneni =
    "Při odstranění původního souboru došlo k chybě - buď je spuštěn nebo nemáte právo k "
    "přepisu, zkusit znovu?";

// The question after a failed replacement: the one about the old file only when the old file is
// what could not be replaced; a full disk and other failures to write the new file say so.
QString otazkaPriPrekazce(obnovnik::Prekazka prekazka, const QString& popis, const QString& cil) {
    switch (prekazka) {
        case obnovnik::Prekazka::StaryNelzeOdstranit:
            return QString::fromUtf8(otazkaOdstraneni);
        case obnovnik::Prekazka::PlnyDisk:
            return QStringLiteral(
                       "Nový soubor nelze zapsat vedle původního souboru \"%1\": %2. Původní "
                       "soubor zůstává beze změny. Uvolněte prosím místo na disku; zkusit znovu?")
                .arg(QDir::toNativeSeparators(cil), popis);
        case obnovnik::Prekazka::NovyNelzeZapsat:
            break;
    }
    return QStringLiteral(
               "Nový soubor nelze zapsat vedle původního souboru \"%1\" (%2). Původní soubor "
               "zůstává beze změny; zkusit znovu?")
        .arg(QDir::toNativeSeparators(cil), popis);
}

QString slozkaObnovniku() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

// The updater's folder followed by T, as the messages name it and where T is created.
QString slozkaT(const QString& t) {
    return QDir::isAbsolutePath(t) ? t : slozkaObnovniku() + t;
}

// A step of the run: disabled until it starts, enabled while it runs, ticked once done. It only
// shows the run; the user neither ticks it nor moves the focus to it.
QCheckBox* krok(QWidget* rodic, const char* jmeno, const QString& titulek) {
    auto* c = new QCheckBox(titulek, rodic);
    c->setObjectName(QLatin1String(jmeno));
    c->setEnabled(false);
    c->setAttribute(Qt::WA_TransparentForMouseEvents);
    c->setFocusPolicy(Qt::NoFocus);
    return c;
}

}  // namespace

namespace obnovnik {

TMain::TMain(const QStringList& argumenty, const QString& souborVerze, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Main"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* plocha = new QWidget(this);
    auto* svisle = new QVBoxLayout(plocha);
    svisle->setContentsMargins(8, 6, 8, 4);
    svisle->setSpacing(4);
    auto* popisek = new QLabel(QStringLiteral("&Odkládací adresář"), plocha);
    QFont tucne = popisek->font();
    tucne.setBold(true);
    popisek->setFont(tucne);
    svisle->addWidget(popisek);
    auto* radek = new QHBoxLayout;
    OdkladaciAdresar = new QLineEdit(QStringLiteral("tmp"), plocha);
    OdkladaciAdresar->setObjectName(QStringLiteral("OdkladaciAdresar"));
    OdkladaciAdresar->setReadOnly(true);
    popisek->setBuddy(OdkladaciAdresar);
    Start = new QPushButton(QStringLiteral("Start"), plocha);
    Start->setObjectName(QStringLiteral("Start"));
    radek->addWidget(OdkladaciAdresar);
    radek->addWidget(Start);
    svisle->addLayout(radek);

    PrubehInstalace = new QGroupBox(QStringLiteral("Průběh instalace"), plocha);
    PrubehInstalace->setObjectName(QStringLiteral("PrubehInstalace"));
    PrubehInstalace->setFont(tucne);
    // The group stays enabled: a disabled group would keep its steps disabled for good, and the
    // steps could never show that they run or are done.
    auto* kroky = new QVBoxLayout(PrubehInstalace);
    kroky->setContentsMargins(8, 2, 8, 2);
    kroky->setSpacing(0);
    TvorbaAdresare =
        krok(PrubehInstalace, "TvorbaAdresare", QStringLiteral("Tvorba \"temp\" adresáře"));
    StazeniSouboru =
        krok(PrubehInstalace, "StazeniSouboru", QStringLiteral("Stažení souboru z internetu"));
    RozbaleniSouboru =
        krok(PrubehInstalace, "RozbaleniSouboru", QStringLiteral("Rozbalení souboru"));
    PrepisPuvodnihoSouboru =
        krok(PrubehInstalace, "PrepisPuvodnihoSouboru", QStringLiteral("Přepis původního souboru"));
    CisteniTempAdresare =
        krok(PrubehInstalace, "CisteniTempAdresare", QStringLiteral("Čistění \"temp\" adresáře"));
    SpousteniReinstallApp = krok(PrubehInstalace, "SpousteniReinstallApp",
                                 QStringLiteral("Spuštění reinstalované aplikace"));
    QFont normalni = TvorbaAdresare->font();
    normalni.setBold(false);
    for (QCheckBox* c : {TvorbaAdresare, StazeniSouboru, RozbaleniSouboru, PrepisPuvodnihoSouboru,
                         CisteniTempAdresare, SpousteniReinstallApp}) {
        c->setFont(normalni);
        kroky->addWidget(c);
    }
    svisle->addWidget(PrubehInstalace);

    ProgressBar1 = new QProgressBar(plocha);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(QStringLiteral("Průběh stahování"));
    ProgressBarCelk = new QProgressBar(plocha);
    ProgressBarCelk->setObjectName(QStringLiteral("ProgressBarCelk"));
    ProgressBarCelk->setAccessibleName(QStringLiteral("Celkový průběh"));
    for (QProgressBar* p : {ProgressBar1, ProgressBarCelk}) {
        p->setRange(0, 100);
        p->setValue(0);
        p->setTextVisible(false);
        p->setFixedHeight(14);
        svisle->addWidget(p);
    }
    setCentralWidget(plocha);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    auto* panel = new QLabel(StatusBar1);
    panel->setFixedWidth(50);
    StatusBar1->addWidget(panel);
    setStatusBar(StatusBar1);

    TimerRun = new QTimer(this);
    TimerRun->setObjectName(QStringLiteral("TimerRun"));
    TimerRun->setInterval(250);
    connect(TimerRun, &QTimer::timeout, this, &TMain::TimerRunTimer);
    connect(Start, &QPushButton::clicked, this, &TMain::StartClick);

    setFixedSize(428, 243);
    if (QScreen* obrazovka = QGuiApplication::primaryScreen())
        move(obrazovka->availableGeometry().center() - rect().center());

    const QString verze =
        VerzeSouboru(souborVerze.isEmpty() ? QCoreApplication::applicationFilePath() : souborVerze);
    setWindowTitle(QStringLiteral("Obnovnik v:") + verze);

    m_arg = argumenty;
    if (m_arg.size() >= 5) {
        m_slozka = cesta(m_arg[1]);
        m_archiv = m_slozka + m_arg[2];
        OdkladaciAdresar->setText(m_arg[1]);
        VyplnVolby();
        TimerRun->start();
    } else if (m_arg.size() == 4) {
        m_slozka = cesta(m_arg[1]);
        m_archiv = m_slozka + m_arg[2];
        Start->setEnabled(false);
        VyplnVolby();
        TichyBeh();
    } else {
        ZobrazDialog(QStringLiteral("Spuštěno se špatným počtem parametrů..."), 0, 0);
        m_konec = true;
    }
}

void TMain::VyplnVolby() {
    m_volby = Unzip::TDCL();
    m_volby.ExtractOnlyNewer = 0;
    m_volby.SpaceToUnderscore = 0;
    m_volby.PromptToOverwrite = 1;
    m_volby.fQuiet = 0;
    m_volby.ndflag = 1;
    m_volby.noflag = 1;
    m_volby.C_flag = 1;
    m_volby.nejvetsiSoubor = kNejvetsiSoubor;
    m_volby.lpszZipFN = m_archiv;
    m_volby.lpszExtractDir = m_slozka;
    m_funkce.print = [](const QString& text) { return int(text.size()); };
    m_funkce.replace = [](const QString&) { return int(Unzip::IDM_REPLACE_NONE); };
    m_funkce.password = [](QString*, const QString&) { return 1; };
    m_funkce.ServCallBk = [](const QString&, qint64) { return 0; };
}

void TMain::Konec() {
    m_konec = true;
    close();
}

void TMain::TimerRunTimer() {
    TimerRun->stop();
    Start->click();
}

void TMain::OznacKrok(QCheckBox* krok, int cislo) {
    if (!krok->isEnabled())
        krok->setEnabled(true);
    else
        krok->setChecked(true);
    ProgressBarCelk->setValue(cislo);
    krok->repaint();
    QCoreApplication::processEvents();
}

void TMain::PrubehStahovani(qint64 prijato, qint64 celkem) {
    // The bar counts in kilobytes once the sizes no longer fit its range.
    const int delitel = celkem > INT_MAX ? 1024 : 1;
    ProgressBar1->setMaximum(celkem > 0 ? int(celkem / delitel) : 0);
    ProgressBar1->setValue(int(qMin<qint64>(prijato / delitel, INT_MAX)));
}

bool TMain::Stahni() {
    try {
        Stahovani::stahniSoubor(m_arg[0], m_archiv,
                                [this](qint64 p, qint64 c) { PrubehStahovani(p, c); });
        return true;
    } catch (const Chyba& e) {
        ZobrazDialog(e.zprava(), 2, 0);
        return false;
    }
}

bool TMain::Rozbal(const QString& vzor, bool jenSpustitelne) {
    Unzip::TDCL volby = m_volby;
    volby.jenSpustitelne = jenSpustitelne;
    const int vysledek = Unzip::Wiz_SingleEntryUnzip({vzor}, {QString()}, volby, m_funkce);
    if (vysledek == 0) return true;
    ZobrazDialog(
        QStringLiteral("Při rozbalování archívu došlo k výjimce: ") + PopisChybyRozbaleni(vysledek),
        2, 0);
    return false;
}

bool TMain::Nahrad(const QString& novySoubor) {
    const QString cil = m_arg[3];
    const Nahrada n = nahradSoubor(novySoubor, cil, [&](Prekazka prekazka, const QString& popis) {
        return ZobrazDialog(otazkaPriPrekazce(prekazka, popis, cil), 1, 1) == 0;
    });
    if (n == Nahrada::NovyChybi)
        ZobrazDialog(QStringLiteral("Nový soubor \"") + novySoubor +
                         QStringLiteral("\" v rozbaleném archívu chybí, původní soubor \"") + cil +
                         QStringLiteral("\" zůstává beze změny."),
                     2, 0);
    return n == Nahrada::Nahrazeno;
}

void TMain::StartClick() {
    Start->setEnabled(false);
    ProgressBarCelk->setMaximum(6);
    OznacKrok(TvorbaAdresare, 1);
    if (!pripravSlozku(slozkaT(m_slozka), m_archiv)) {
        ZobrazDialog(QStringLiteral("Odkládací adresář \"") + slozkaT(m_slozka) +
                         QStringLiteral("\" nelze vytvořit!"),
                     0, 0);
        return;
    }
    OznacKrok(TvorbaAdresare, 1);
    QThread::msleep(500);
    OznacKrok(StazeniSouboru, 2);
    if (!Stahni()) return;
    OznacKrok(StazeniSouboru, 2);
    OznacKrok(RozbaleniSouboru, 3);
#ifdef Q_OS_WIN
    if (!Rozbal(QStringLiteral("*.exe"), false)) return Konec();
#else
    // Programs here carry no ".exe": the program files are the entries stored executable.
    if (!Rozbal(QStringLiteral("*"), true)) return Konec();
#endif
    OznacKrok(RozbaleniSouboru, 3);
    OznacKrok(PrepisPuvodnihoSouboru, 4);
    const QString novy = najdiSoubor(m_slozka + m_arg[4]);
    // Whatever the archive holds must be our program before the old one is touched: a program
    // that cannot start could never receive the update that mends it.
    const QString cizi = overNovyProgram(novy, m_arg[3]);
    if (!cizi.isEmpty()) {
        ZobrazDialog(cizi, 2, 0);
        uklid(m_archiv, novy, m_slozka);
        return Konec();
    }
    if (!Nahrad(novy)) return Konec();
    OznacKrok(PrepisPuvodnihoSouboru, 4);
    OznacKrok(CisteniTempAdresare, 5);
    uklid(m_archiv, novy, m_slozka);
    OznacKrok(CisteniTempAdresare, 5);
    OznacKrok(SpousteniReinstallApp, 6);
    // Arguments 6 and later go to the program each whole, as the quoted parameters would.
    QProcess::startDetached(QFileInfo(m_arg[3]).absoluteFilePath(), m_arg.mid(5));
    OznacKrok(SpousteniReinstallApp, 6);
    QThread::msleep(500);
    Konec();
}

void TMain::TichyBeh() {
    m_konec = true;
    if (!pripravSlozku(slozkaT(m_slozka), m_archiv)) {
        ZobrazDialog(QStringLiteral("Odkládací adresář \"") + slozkaT(m_slozka) +
                         QStringLiteral("\" nelze vytvořit!"),
                     0, 0);
        return;
    }
    if (!Stahni()) return;
    if (!Rozbal(QStringLiteral("*.*"), false)) return;
    const QString novy = najdiSoubor(m_slozka + QFileInfo(m_arg[3]).fileName());
    // A declined retry leaves the old file; the temporary files go either way.
    Nahrad(novy);
    uklid(m_archiv, novy, m_slozka);
    hide();
}

}  // namespace obnovnik
