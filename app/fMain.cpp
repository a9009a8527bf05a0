// SPDX-License-Identifier: GPL-3.0-or-later
#include "fMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <memory>

#include "Aktualizace.h"
#include "DBGridNew.h"
#include "Formaty.h"
#include "Hodiny.h"
#include "ImportCiselniku.h"
#include "Platba.h"
#include "PrevzetiDat.h"
#include "Schema.h"
#include "Shell.h"
#include "SouborDatabaze.h"
#include "SqlHodnoty.h"
#include "ZalohaDat.h"
#include "fAbout.h"
#include "fDialogUprStruct.h"
#include "fHistoriePlateb.h"
#include "fNapoveda.h"
#include "fNovaPlatba.h"
#include "fUzivatele.h"
#include "fZmenyProg.h"
#include "uAllYouNeed.h"

TMain* Main = nullptr;

// The program's embedded files live in this library; a static library needs them registered
// explicitly.
static void nactiZdroje() {
    Q_INIT_RESOURCE(parmex);
}

const QString TMain::NavrhovyTitulek = QStringLiteral("Parmex Rozu E-platby");

Relace& RelaceProgramu() {
    return Main->relace;
}

Prevzeti PrevzetiDat(TMain& hlavni, const QString& soubor) {
    TPrubehUpravyOkno prubeh(&hlavni);
    return PrevzetiDat(hlavni.relace, soubor, &prubeh);
}

namespace {

// ------------------------------------------------------------------ pictures

QIcon ikona(const std::function<void(QPainter&)>& kresba) {
    QPixmap p(48, 48);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    kresba(g);
    return QIcon(p);
}

void postava(QPainter& g, QPointF stred, double m, const QColor& barva) {
    g.setPen(QPen(barva.darker(150), 1.5));
    g.setBrush(barva);
    g.drawEllipse(stred + QPointF(0, -9 * m), 6 * m, 6 * m);
    QPainterPath telo;
    telo.moveTo(stred + QPointF(-11 * m, 14 * m));
    telo.cubicTo(stred + QPointF(-11 * m, -3 * m), stred + QPointF(11 * m, -3 * m),
                 stred + QPointF(11 * m, 14 * m));
    telo.closeSubpath();
    g.drawPath(telo);
}

QIcon ikonaUzivatele() {
    return ikona([](QPainter& g) {
        postava(g, {31, 22}, 1.0, QColor(90, 140, 200));
        postava(g, {18, 26}, 1.1, QColor(60, 110, 180));
    });
}

QIcon ikonaNovaPlatba() {
    return ikona([](QPainter& g) {
        g.setPen(QPen(QColor(40, 100, 40), 1.5));
        g.setBrush(QColor(150, 210, 140));
        g.drawRoundedRect(QRectF(3, 12, 36, 22), 3, 3);
        g.setBrush(QColor(110, 180, 100));
        g.drawEllipse(QPointF(21, 23), 6, 6);
        g.setBrush(QColor(240, 190, 40));
        g.setPen(QPen(QColor(150, 110, 0), 1.5));
        g.drawEllipse(QPointF(36, 34), 10, 10);
        g.setPen(QPen(Qt::white, 3));
        g.drawLine(QPointF(36, 28), QPointF(36, 40));
        g.drawLine(QPointF(30, 34), QPointF(42, 34));
    });
}

QIcon ikonaHistorie() {
    return ikona([](QPainter& g) {
        g.setPen(QPen(QColor(90, 90, 90), 1.5));
        g.setBrush(QColor(250, 250, 240));
        g.drawRect(QRectF(6, 4, 28, 38));
        g.setPen(QPen(QColor(120, 120, 120), 2));
        for (int y = 12; y <= 34; y += 6) g.drawLine(QPointF(11, y), QPointF(29, y));
        g.setPen(QPen(QColor(30, 70, 140), 1.5));
        g.setBrush(QColor(210, 225, 250));
        g.drawEllipse(QPointF(34, 33), 11, 11);
        g.setPen(QPen(QColor(30, 70, 140), 2.2));
        g.drawLine(QPointF(34, 33), QPointF(34, 25));
        g.drawLine(QPointF(34, 33), QPointF(40, 36));
    });
}

QIcon ikonaKonec() {
    return ikona([](QPainter& g) {
        g.setPen(QPen(QColor(110, 70, 30), 1.5));
        g.setBrush(QColor(170, 120, 70));
        g.drawRect(QRectF(8, 4, 22, 40));
        g.setBrush(QColor(230, 200, 60));
        g.drawEllipse(QPointF(25, 25), 2, 2);
        g.setPen(QPen(QColor(190, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
        g.drawLine(QPointF(30, 24), QPointF(45, 24));
        g.drawLine(QPointF(45, 24), QPointF(39, 18));
        g.drawLine(QPointF(45, 24), QPointF(39, 30));
    });
}

// The background picture: a fish over water, in the colours of the organisation.
QPixmap obrazekPozadi(const QSize& velikost, const QColor& ryba, const QColor& voda) {
    QPixmap p(velikost);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const double w = velikost.width(), h = velikost.height();
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(voda.red(), voda.green(), voda.blue(), 60));
    for (int i = 0; i < 4; ++i) {
        QPainterPath vlna;
        const double y = h * (0.62 + 0.08 * i);
        vlna.moveTo(0, y);
        for (int k = 0; k < 4; ++k) vlna.quadTo(w * (k + 0.5) / 4, y - 12, w * (k + 1) / 4, y);
        vlna.lineTo(w, y + 8);
        vlna.lineTo(0, y + 8);
        g.drawPath(vlna);
    }
    QPainterPath telo;
    telo.moveTo(w * 0.12, h * 0.42);
    telo.cubicTo(w * 0.30, h * 0.18, w * 0.62, h * 0.20, w * 0.78, h * 0.40);
    telo.cubicTo(w * 0.62, h * 0.60, w * 0.30, h * 0.62, w * 0.12, h * 0.42);
    QPainterPath ocas;
    ocas.moveTo(w * 0.76, h * 0.40);
    ocas.lineTo(w * 0.94, h * 0.26);
    ocas.lineTo(w * 0.90, h * 0.40);
    ocas.lineTo(w * 0.94, h * 0.54);
    ocas.closeSubpath();
    QColor pruhledna = ryba;
    pruhledna.setAlpha(110);
    g.setBrush(pruhledna);
    g.setPen(QPen(ryba.darker(140), 2));
    g.drawPath(ocas);
    g.drawPath(telo);
    g.setBrush(Qt::white);
    g.drawEllipse(QPointF(w * 0.22, h * 0.38), w * 0.025, w * 0.025);
    g.setBrush(Qt::black);
    g.drawEllipse(QPointF(w * 0.225, h * 0.38), w * 0.01, w * 0.01);
    g.setPen(QPen(ryba.darker(140), 1.5));
    for (int i = 0; i < 5; ++i) {
        const double x = w * (0.36 + i * 0.07);
        g.drawArc(QRectF(x, h * 0.33, w * 0.06, h * 0.16), 60 * 16, 60 * 16);
    }
    return p;
}

}  // namespace

// ------------------------------------------------------------------ creation

TMain::TMain(QWidget* parent)
    : QMainWindow(parent),
      relace(HlaseniProgramu()),
      rok(relace.rok),
      AdresyWebu(relace.adresy),
      Organizace(relace.organizace),
      ADOConnection1(relace.spojeni),
      ADOQuery1(relace.dotaz),
      ADOConnectionCis(relace.spojeniCis),
      ADOQueryCis(relace.dotazCis) {
    nactiZdroje();
    Main = this;
    setObjectName(QStringLiteral("Main"));
    vytvorOvladaci();
    FormCreate();
}

TMain::~TMain() {
    ADOQuery1.close();
    ADOConnection1.close();
    ADOQueryCis.close();
    ADOConnectionCis.close();
    if (Main == this) Main = nullptr;
}

void TMain::vytvorOvladaci() {
    setWindowTitle(NavrhovyTitulek);
    // Every window of the program shows the program's own picture, the fish of the menu entry.
    QApplication::setWindowIcon(
        QIcon(obrazekPozadi(QSize(64, 64), QColor(40, 110, 170), QColor(60, 140, 200))));
    setMinimumSize(500, 450);

    auto* akceKonec = new QAction(QStringLiteral("&Konec"), this);
    akceKonec->setObjectName(QStringLiteral("Konec"));
    connect(akceKonec, &QAction::triggered, this, &QWidget::close);
    auto* akceObsah = new QAction(QStringLiteral("&Obsah"), this);
    akceObsah->setObjectName(QStringLiteral("Obsah"));
    akceObsah->setShortcut(Qt::Key_F1);
    akceObsah->setShortcutContext(Qt::ApplicationShortcut);
    connect(akceObsah, &QAction::triggered, this, &TMain::ObsahExecute);
    auto* akceZmeny = new QAction(QStringLiteral("&Změny programu"), this);
    akceZmeny->setObjectName(QStringLiteral("ZmenyProgram"));
    connect(akceZmeny, &QAction::triggered, this, &TMain::ZmenyProgramExecute);
    auto* akceOAplikaci = new QAction(QStringLiteral("O &aplikaci..."), this);
    akceOAplikaci->setObjectName(QStringLiteral("OAplikaci"));
    connect(akceOAplikaci, &QAction::triggered, this, &TMain::OAplikaciExecute);

    QMenu* soubor = menuBar()->addMenu(QStringLiteral("&Soubor"));
    soubor->addAction(akceKonec);
    soubor->addSeparator();
    auto* akceZalohovat = soubor->addAction(QStringLiteral("&Zálohovat data..."), this,
                                            [this] { ZalohujData(*this); });
    akceZalohovat->setObjectName(QStringLiteral("ZalohovatData"));
    auto* akceObnovit = soubor->addAction(QStringLiteral("O&bnovit data ze zálohy..."), this,
                                          [this] { ObnovDataZeZalohy(*this); });
    akceObnovit->setObjectName(QStringLiteral("ObnovitData"));
    QMenu* napoveda = menuBar()->addMenu(QStringLiteral("&Nápověda"));
    napoveda->addAction(akceObsah);
    napoveda->addAction(akceZmeny);
    napoveda->addSeparator();
    napoveda->addAction(akceOAplikaci);

    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(48, 48));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // The toolbar's buttons are reached by Tab like any other control and pressed with Space;
    // the three commands also have a shortcut, named in the button's tooltip.
    auto tlacitko = [this](const QString& jmeno, const QString& napoveda, const QIcon& ikona,
                           void (TMain::*obsluha)(), const QKeySequence& zkratka) {
        auto* a = new QAction(ikona, napoveda, this);
        a->setObjectName(jmeno);
        QString popis = napoveda;
        if (!zkratka.isEmpty()) {
            a->setShortcut(zkratka);
            popis += QStringLiteral(" (") + zkratka.toString(QKeySequence::NativeText) +
                     QLatin1Char(')');
        }
        a->setToolTip(popis);
        if (obsluha) connect(a, &QAction::triggered, this, obsluha);
        ToolBar1->addAction(a);
        if (QWidget* w = ToolBar1->widgetForAction(a)) {
            w->setObjectName(jmeno);
            w->setFixedSize(55, 54);
            w->setAccessibleName(napoveda);
            w->setFocusPolicy(Qt::TabFocus);
        }
        return a;
    };
    tlacitko(QStringLiteral("TBUzivatele"), QStringLiteral("Uživatelé"), ikonaUzivatele(),
             &TMain::TBUzivateleClick, QKeySequence(Qt::CTRL | Qt::Key_U));
    tlacitko(QStringLiteral("TBNovaPlatba"), QStringLiteral("Nová platba"), ikonaNovaPlatba(),
             &TMain::TBNovaPlatbaClick, QKeySequence(Qt::CTRL | Qt::Key_N));
    tlacitko(QStringLiteral("TBHistoriePlateb"), QStringLiteral("Historie plateb"), ikonaHistorie(),
             &TMain::TBHistoriePlatebClick, QKeySequence(Qt::CTRL | Qt::Key_H));
    ToolBar1->addSeparator();
    auto* konec = tlacitko(QStringLiteral("TBKonec"), QStringLiteral("Konec"), ikonaKonec(),
                           nullptr, QKeySequence());
    connect(konec, &QAction::triggered, this, &QWidget::close);

    // Client area: the background picture behind the information panel and the bottom rows.
    auto* plocha = new QWidget(this);
    setCentralWidget(plocha);
    auto* mrizka = new QGridLayout(plocha);
    mrizka->setContentsMargins(6, 6, 6, 4);

    ImagePozadi = new QLabel(plocha);
    ImagePozadi->setObjectName(QStringLiteral("ImagePozadi"));
    ImagePozadi->setAlignment(Qt::AlignCenter);
    ImagePozadi->setPixmap(
        obrazekPozadi(QSize(300, 306), QColor(40, 110, 170), QColor(60, 140, 200)));
    ImagePozadi->setAttribute(Qt::WA_TransparentForMouseEvents);
    mrizka->addWidget(ImagePozadi, 0, 0, 3, 1);

    // Information panel: a black frame around a lowered panel with four rows.
    auto* ramecek = new QFrame(plocha);
    ramecek->setObjectName(QStringLiteral("PanelInfoRam"));
    ramecek->setStyleSheet(QStringLiteral("#PanelInfoRam { border: 1px solid black; }"));
    auto* ramecekVrstva = new QVBoxLayout(ramecek);
    ramecekVrstva->setContentsMargins(1, 1, 1, 1);
    auto* panel = new QFrame(ramecek);
    panel->setObjectName(QStringLiteral("PanelInfo"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    ramecekVrstva->addWidget(panel);
    auto* info = new QGridLayout(panel);
    info->setHorizontalSpacing(16);
    auto hodnota = [panel](const QString& jmeno, const QString& text) {
        QLabel* l = TucnyPopisek(text, panel);
        l->setObjectName(jmeno);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(110);
        return l;
    };
    LabelDatum = hodnota(QStringLiteral("LabelDatum"), QStringLiteral("_"));
    LabelRok = hodnota(QStringLiteral("LabelRok"), QStringLiteral("_"));
    LabelPlatby = hodnota(QStringLiteral("LabelPlatby"), QStringLiteral("0"));
    LabelPolozky = hodnota(QStringLiteral("LabelPolozky"), QStringLiteral("0"));
    info->addWidget(new QLabel(QStringLiteral("Číselníky aktualizovány:"), panel), 0, 0);
    info->addWidget(LabelDatum, 0, 1);
    info->addWidget(new QLabel(QStringLiteral("Aktuální rok:"), panel), 1, 0);
    info->addWidget(LabelRok, 1, 1);
    auto* cara = new QFrame(panel);
    cara->setFrameShape(QFrame::HLine);
    cara->setFrameShadow(QFrame::Sunken);
    info->addWidget(cara, 2, 0, 1, 2);
    info->addWidget(new QLabel(QStringLiteral("Celkem plateb:"), panel), 3, 0);
    info->addWidget(LabelPlatby, 3, 1);
    info->addWidget(new QLabel(QStringLiteral("Celkem položek:"), panel), 4, 0);
    info->addWidget(LabelPolozky, 4, 1);
    mrizka->addWidget(ramecek, 0, 0, Qt::AlignLeft | Qt::AlignTop);

    PanelAktualizace = new QFrame(plocha);
    PanelAktualizace->setObjectName(QStringLiteral("PanelAktualizace"));
    PanelAktualizace->setStyleSheet(QStringLiteral("#PanelAktualizace { background: #00ff00; }"));
    PanelAktualizace->setFrameShape(QFrame::StyledPanel);
    auto* aktualizaceVrstva = new QHBoxLayout(PanelAktualizace);
    aktualizaceVrstva->addWidget(
        TucnyPopisek(QStringLiteral("Probíhá kontrola aktualizací..."), PanelAktualizace));
    mrizka->addWidget(PanelAktualizace, 2, 0, Qt::AlignLeft | Qt::AlignBottom);
    mrizka->setRowStretch(1, 1);

    auto* spodek = new QHBoxLayout();
    spodek->addWidget(TucnyPopisek(QStringLiteral(" WWW stránky organizace:  "), plocha));
    LabelWWW = new QLabel(plocha);
    LabelWWW->setObjectName(QStringLiteral("LabelWWW"));
    LabelWWW->setStyleSheet(QStringLiteral("color: blue;"));
    LabelWWW->setCursor(Qt::PointingHandCursor);
    LabelWWW->installEventFilter(this);
    // The label is as wide as its text, so the hand cursor and the click stay on the link.
    spodek->addWidget(LabelWWW);
    spodek->addStretch(1);
    mrizka->addLayout(spodek, 3, 0);

    auto* stav = new QStatusBar(this);
    stav->setObjectName(QStringLiteral("StatusBar1"));
    auto* panelStavu = new QLabel(stav);
    panelStavu->setFixedWidth(50);
    stav->addWidget(panelStavu);
    setStatusBar(stav);

    resize(731, 490 + menuBar()->sizeHint().height() + ToolBar1->sizeHint().height() +
                    stav->sizeHint().height());
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void TMain::FormCreate() {
    try {
        const QString soubor = QStringLiteral("data.mdb");
        const QString chybaOtevreni = QStringLiteral("Nastala chyba při otevření DB: ");
        {
            // Making, taking over and opening data.mdb: one program of the folder at a time,
            // until this one holds the database's own exclusive lock.
            SouborDatabaze::ZamekSlozky zamek;
            if (zamek.obsazeno()) {
                ZobrazDialog(chybaOtevreni + SouborDatabaze::zpravaObsazeno(soubor), 2);
                UkonciProgram(true);
                return;
            }
            // A register of the earlier program (a Jet file), or one whose take-over was broken
            // off, is taken over, never opened as ours.
            if (CekaNaPrevzeti(soubor)) {
                const Prevzeti prevzeti = PrevzetiDat(*this, soubor);
                if (prevzeti != Prevzeti::Hotovo) {
                    UkonciProgram(prevzeti == Prevzeti::Selhalo);
                    return;
                }
            }
            // 1. The database file from the embedded template when it is missing or empty; a
            // database of another program is never written into.
            if (SouborDatabaze::chybi(soubor)) {
                TPrubehUpravyOkno prubeh(this);
                VytvorDatabazi(relace, soubor, &prubeh);
                m_registrOveren = true;
            } else if (SouborDatabaze::jeKratky(soubor)) {
                ZobrazDialog(
                    chybaOtevreni +
                        SouborDatabaze::zpravaPoskozena(
                            soubor,
                            QStringLiteral("soubor má jen %1 B").arg(QFileInfo(soubor).size())),
                    2);
                UkonciProgram(true);
                return;
            } else if (SouborDatabaze::jeCizi(soubor)) {
                ZobrazDialog(chybaOtevreni + SouborDatabaze::zpravaCizi(soubor), 2);
                UkonciProgram(true);
                return;
            } else {
                // An unfinished write beside it is completed by the open: tried on copies first.
                const SouborDatabaze::Nalez nalez =
                    SouborDatabaze::zkontrolujNedokoncenyZapis(soubor);
                if (nalez.druh != SouborDatabaze::Nalez::Druh::VPoradku) {
                    ZobrazDialog(chybaOtevreni +
                                     (nalez.druh == SouborDatabaze::Nalez::Druh::CiziZurnal
                                          ? SouborDatabaze::zpravaCiziZurnal(soubor)
                                          : SouborDatabaze::zpravaPoskozena(soubor, nalez.detail)),
                                 2);
                    UkonciProgram(true);
                    return;
                }
            }
            // 2. The connection, exclusive.
            try {
                ADOConnection1.open(soubor, db::Connection::Rezim::Vyhradni);
            } catch (const Chyba& e) {
                ZobrazDialog(
                    chybaOtevreni + (SouborDatabaze::jePoskozeni(e.zprava())
                                         ? SouborDatabaze::zpravaPoskozena(soubor, e.zprava())
                                         : e.zprava()),
                    2);
                UkonciProgram(true);
                return;
            }
            // A register that cannot be written is said at once, before the member composes
            // anything that could not be saved.
            const QString bezZapisu = SouborDatabaze::overZapis(ADOConnection1, soubor);
            if (!bezZapisu.isEmpty()) {
                ADOConnection1.close();
                ZobrazDialog(chybaOtevreni + SouborDatabaze::zpravaJenProCteni(soubor, bezZapisu),
                             2);
                UkonciProgram(true);
                return;
            }
        }
        // 3. The stored schema version: 1 when verze cannot be read, 0 when it has no row.
        const int verze = UlozenaVerzeSchematu(relace);
        // 4. The upgrade, into a register checked first: an upgrade writes.
        if (verze < kVerzeSchematu && !OverRegistr()) return;
        PovyseniDB(verze);
        // 5.-9. Title, organisation, web addresses.
        setWindowTitle(NavrhovyTitulek + QStringLiteral(" [") + VerzeSouboru(SouborProgramu()) +
                       QStringLiteral("]"));
        AktualizaceZkontrolovana = false;
        LabelWWW->setText(QString());
        Organizace = o_Neurceno;
        TExeVersionData data;
        NactiVerziExe(SouborProgramu(), data);
        Organizace = OrganizaceProduktu(data.ProductName);
        if (Organizace == o_Neurceno) {
            ZobrazDialog(
                QStringLiteral(
                    "Nebyla detekována organizace, kontaktujte prosím Váš rybářský svaz !"),
                3);
            UkonciProgram(true);
            return;
        }
        AdresyWebu = AdresyOrganizace(Organizace, Aktualizace::adresaServeru());
        if (Organizace == o_Kelmina)
            ImagePozadi->setPixmap(
                obrazekPozadi(QSize(300, 317), QColor(170, 90, 30), QColor(40, 150, 120)));
        LabelWWW->setText(AdresyWebu.StrankaAplikace);
    } catch (const Chyba& e) {
        // A failed upgrade or an unwritable template: the general error report, and the program
        // ends rather than let the user work on a database in an unknown state.
        ObecneHlaseniChyby(e.zprava());
        UkonciProgram(true);
    }
}

bool TMain::OverRegistr() {
    if (m_registrOveren) return true;
    const QString detail = SouborDatabaze::zkontroluj(ADOConnection1);
    if (!detail.isEmpty()) {
        const QString soubor = QFileInfo(ADOConnection1.fileName()).fileName();
        ZobrazDialog(QStringLiteral("Nastala chyba při otevření DB: ") +
                         SouborDatabaze::zpravaPoskozena(soubor, detail),
                     2);
        // Closed at once, so that nothing of this run writes into it.
        ADOQuery1.close();
        ADOConnection1.close();
        UkonciProgram(true);
        return false;
    }
    m_registrOveren = true;
    return true;
}

void TMain::PripravNovouDatabazi(const QString& novy, const std::function<void()>& naplneni) {
    TPrubehUpravyOkno prubeh(this);
    ::PripravNovouDatabazi(relace, novy, naplneni, &prubeh);
}

// ------------------------------------------------------------------ query helper

void TMain::Gosql(const QString& sqltext, quint8 Activ, db::Query& ADOQuery,
                  bool PoslatVyjimkuDal) {
    relace.gosql(sqltext, Activ, ADOQuery, PoslatVyjimkuDal);
}

void TMain::Gosqlexec(const QString& sqltext, db::Query& ADOQuery, bool PoslatVyjimkuDal) {
    relace.gosqlexec(sqltext, ADOQuery, PoslatVyjimkuDal);
}

void TMain::Gosql(const db::Prikaz& prikaz, quint8 Activ, db::Query& ADOQuery,
                  bool PoslatVyjimkuDal) {
    relace.gosql(prikaz, Activ, ADOQuery, PoslatVyjimkuDal);
}

void TMain::Gosqlexec(const db::Prikaz& prikaz, db::Query& ADOQuery, bool PoslatVyjimkuDal) {
    relace.gosqlexec(prikaz, ADOQuery, PoslatVyjimkuDal);
}

void TMain::RefreshDBGridu(TDBGridNew* dbgridR, int PozicePoRefreshi) {
    db::Query* q = dbgridR ? dbgridR->dataSet() : nullptr;
    if (!q) return;
    const int zapamatovano = (q->isOpen() && q->recordCount() >= 2) ? q->recNo() : 0;
    q->close();
    q->open();
    if (q->isOpen()) {
        if (PozicePoRefreshi == 0) {
            if (zapamatovano > 0 && q->recordCount() > 1 && zapamatovano <= q->recordCount())
                q->setRecNo(zapamatovano);
        } else if (PozicePoRefreshi == 2) {
            q->last();
        }
    }
    dbgridR->odpojit();
    dbgridR->pripojit();
}

QString TMain::Xdat(const QDate& datVstup) const {
    return datVstup.toString(QStringLiteral("yyyy-MM-dd"));
}

// ------------------------------------------------------------------ schema upgrade

bool TMain::PovyseniDB(int DB) {
    TPrubehUpravyOkno prubeh(this);
    PovysDatabazi(relace, DB, &prubeh);
    return true;
}

// ------------------------------------------------------------------ information panel

void TMain::InfoRefresh() {
    Gosql(QStringLiteral("select max(rok) as rok from RokEvidence"), 1, ADOQuery1, false);
    LabelRok->setText(ADOQuery1.fieldByName(QStringLiteral("rok")).asString());
    Gosql(QStringLiteral("select * from Nastaveni"), 1, ADOQuery1, false);
    LabelDatum->setText(ADOQuery1.fieldByName(QStringLiteral("aktualizovano")).asString());
    Gosql(QStringLiteral("select count(cislo_platby) as pocet from HistoriePlatebHead"), 1,
          ADOQuery1, false);
    LabelPlatby->setText(
        QString::number(ADOQuery1.fieldByName(QStringLiteral("pocet")).asInteger()));
    Gosql(QStringLiteral("select count(cislo_platby) as pocet from HistoriePlateb"), 1, ADOQuery1,
          false);
    LabelPolozky->setText(
        QString::number(ADOQuery1.fieldByName(QStringLiteral("pocet")).asInteger()));
}

// ------------------------------------------------------------------ code-list import

void TMain::ImportCiselniku(const QString& VerzeCiselniku) {
    ::ImportCiselniku(relace, VerzeCiselniku);
}

// ------------------------------------------------------------------ updates

QString TMain::DownloadUrl(const QString& adresa, QString& souborTxt) {
    return Aktualizace::stahniOznameni(adresa, souborTxt);
}

quint8 TMain::PorovnejVerze(const QString& Verze1, const QString& Verze2) {
    return Aktualizace::porovnej(Verze1, Verze2, VerzeSouboru(SouborProgramu()));
}

bool TMain::ProvedReinstalaci(const QString& ZipNaServeru) {
    m_duvodSelhani.clear();
    if (!Aktualizace::spustAktualizaciProgramu(AdresyWebu.AdresaZip, ZipNaServeru, relace.hlaseni,
                                               &m_duvodSelhani))
        return false;
    // The closing step runs with the check's flag still false, so the updater's file stays.
    close();
    return true;
}

bool TMain::ProvedReinstalaci(const QString& ZipNaServeru, const QString& RozbalitJako,
                              int spustit) {
    Q_UNUSED(spustit)
    m_duvodSelhani.clear();
    return Aktualizace::aktualizujCiselniky(AdresyWebu.AdresaZip, ZipNaServeru, RozbalitJako,
                                            relace.hlaseni, &m_duvodSelhani);
}

// ------------------------------------------------------------------ activation and closing

bool TMain::event(QEvent* e) {
    const bool vysledek = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate && !ProgramKonci()) {
        try {
            FormActivate();
        } catch (const Chyba& chyba) {
            m_vAktivaci = false;
            ObecneHlaseniChyby(chyba.zprava());
        }
    }
    return vysledek;
}

void TMain::FormActivate() {
    if (m_vAktivaci) return;
    m_vAktivaci = true;
    struct Konec {
        bool& priznak;
        ~Konec() { priznak = false; }
    } konec{m_vAktivaci};

    QCoreApplication::processEvents();
    // The register's check, once a run, before anything can write into it: here, with the
    // window already shown, it costs the member no time at start.
    if (!OverRegistr()) return;
    InfoRefresh();
    if (!AktualizaceZkontrolovana) {
        KontrolaAktualizaci();
        if (ProgramKonci()) return;
        AktualizaceZkontrolovana = true;
        PanelAktualizace->hide();
        PanelAktualizace->repaint();
    }
    Gosql(QStringLiteral("select * from Nastaveni"), 1, ADOQuery1, false);
    setWindowTitle(NavrhovyTitulek + QStringLiteral(" [") + VerzeSouboru(SouborProgramu()) +
                   QStringLiteral("] - místní organizace: ") +
                   ADOQuery1.fieldByName(QStringLiteral("mesto")).asString());
    Gosql(QStringLiteral("select max(rok) as rok from RokEvidence"), 1, ADOQuery1, false);
    rok = ADOQuery1.fieldByName(QStringLiteral("rok")).asString();
    if (rok.trimmed().isEmpty()) rok = QString::number(Hodiny::dnes().year());
    LabelRok->setText(rok);
}

namespace {
void smazSouboryObnovniku() {
    for (const QString& soubor : {SouborObnovniku(), QStringLiteral("unzip32.dll")})
        if (QFile::exists(soubor)) QFile::remove(soubor);
}

// A failure message with its reason on a line of its own: the reason may never reach the log
// (an unwritable folder holds the log too), so the member reads it here.
QString sDuvodem(const QString& zprava, const QString& duvod) {
    return duvod.isEmpty() ? zprava : zprava + QChar(13) + duvod;
}

// The stored code-list version, -1 when Nastaveni has no row.
long long verzeCiselnikuVDatabazi(db::Query& q) {
    // A query that failed to open raises the data layer's error here, as any read after a
    // reported failure does.
    if (q.isOpen() && q.recordCount() == 0) return -1;
    return q.fieldByName(QStringLiteral("verzecis")).asInteger();
}
}  // namespace

void TMain::KontrolaAktualizaci() {
    const QChar CR(13);
    // 1. The announcement.
    QString obsah;
    const QString chyba = DownloadUrl(AdresyWebu.AdresaIni, obsah);
    if (!chyba.isEmpty()) {
        try {
            ZapisDoLogu(chyba);
        } catch (const Chyba&) {
            // An unwritable log must not let the program past the check; the message follows.
        }
        ZobrazDialog(chyba, 2, 0);
        UkonciProgram(true);
        return;
    }
    // 2.-4. Its lines.
    TVerzeNaWebu verze;
    switch (Aktualizace::rozeber(obsah, verze)) {
        case Aktualizace::Oznameni::MaloRadku:
            ZobrazDialog(
                QStringLiteral("Nepodařilo se ověřit aktualizace, zkuste to prosím později."), 0,
                0);
            UkonciProgram(true);
            return;
        case Aktualizace::Oznameni::SpatnaHlavicka:
            ZobrazDialog(QStringLiteral("Aktualizační soubor neobsahuje korektní data - zkuste to "
                                        "prosím později (může docházet k jejich aktualizaci na "
                                        "serveru),") +
                             CR +
                             QStringLiteral("pokud bude problém přetrvávat, kontaktujte prosím "
                                            "správce na svazu."),
                         0, 0);
            UkonciProgram(true);
            return;
        case Aktualizace::Oznameni::Precteno:
            break;
    }
    // 5. A newer program must be installed or the program ends.
    if (PorovnejVerze(verze.VerzeProg, VerzeSouboru(SouborProgramu())) == 1) {
        const quint8 odpoved = ZobrazDialog(
            QStringLiteral("Byly nalezeny nové aktualizace, chcete je nainstalovat ?") + CR +
                QStringLiteral("(odmítnutím se aplikace ukončí, není možno pokračovat s "
                               "neaktuální aplikací") +
                CR + QStringLiteral(" z důvodu kompatibility systému na rybářském svazu)"),
            1, 1);
        if (odpoved != 0) {
            smazSouboryObnovniku();
            UkonciProgram();
            return;
        }
        if (!ProvedReinstalaci(verze.SouborProg)) {
            ZobrazDialog(
                sDuvodem(QStringLiteral("Při reinstalaci došlo k chybě !"), m_duvodSelhani), 2, 0);
            smazSouboryObnovniku();
            UkonciProgram(true);
            return;
        }
        // The updater runs and this window has closed: the program ends.
        UkonciProgram();
        return;
    }
    // 6. The code lists are current when the stored version reaches the announced one.
    const int oznamenaCis = Aktualizace::celeCislo(verze.VerzeCis);
    Gosql(QStringLiteral("select * from Nastaveni"), 1, ADOQuery1, false);
    const long long ulozenaPred = verzeCiselnikuVDatabazi(ADOQuery1);
    if (ulozenaPred >= 0 && ulozenaPred >= oznamenaCis) return;
    // 7.-8. The updater fetches dataCis.mdb into the program's folder.
    QThread::msleep(500);
    if (!ProvedReinstalaci(verze.SouborCis, SlozkaProgramu() + QStringLiteral("dataCis.mdb"), 0)) {
        ZobrazDialog(sDuvodem(QStringLiteral("Při aktualizaci došlo k chybě !"), m_duvodSelhani), 2,
                     0);
        smazSouboryObnovniku();
        UkonciProgram(true);
        return;
    }
    // 9.-10. The import, and its result.
    ImportCiselniku(verze.VerzeCis);
    Gosql(QStringLiteral("select * from Nastaveni"), 1, ADOQuery1, false);
    const long long ulozenaCis = verzeCiselnikuVDatabazi(ADOQuery1);
    if (ulozenaCis < 0 || ulozenaCis < oznamenaCis) {
        const QString zprava = QStringLiteral("Číselníky nebyly korektně načteny!");
        try {
            ZapisDoLogu(
                zprava +
                QStringLiteral(" (oznámená verze číselníků %1, načtená %2%3)")
                    .arg(oznamenaCis)
                    .arg(ulozenaCis < 0 ? QStringLiteral("žádná") : QString::number(ulozenaCis))
                    .arg(QFile::exists(SlozkaProgramu() + QStringLiteral("dataCis.mdb"))
                             ? QString()
                             : QStringLiteral(", soubor dataCis.mdb nedorazil")));
        } catch (const Chyba&) {
            // The message below still tells the user.
        }
        ZobrazDialog(zprava, 2, 0);
        UkonciProgram(true);
        return;
    }
    QFile::remove(SlozkaProgramu() + QStringLiteral("dataCis.mdb"));
    InfoRefresh();
}

void TMain::closeEvent(QCloseEvent* e) {
    if (!ProgramKonci() && AktualizaceZkontrolovana) {
        for (const QString& soubor : {SouborObnovniku(), QStringLiteral("unzip32.dll")})
            if (QFile::exists(soubor)) QFile::remove(soubor);
    }
    e->accept();
}

bool TMain::eventFilter(QObject* o, QEvent* e) {
    if (o == LabelWWW) {
        if (e->type() == QEvent::Enter || e->type() == QEvent::Leave) {
            QFont f = LabelWWW->font();
            f.setUnderline(e->type() == QEvent::Enter);
            LabelWWW->setFont(f);
        } else if (e->type() == QEvent::MouseButtonPress) {
            m_odkazStisknut = static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton;
        } else if (e->type() == QEvent::MouseButtonRelease) {
            // A link opens on a left click: pressed and released over it. Other buttons, and a
            // press the user drags off the link before releasing, open nothing.
            const auto* mys = static_cast<QMouseEvent*>(e);
            if (mys->button() != Qt::LeftButton) return QMainWindow::eventFilter(o, e);
            const bool klik =
                m_odkazStisknut && LabelWWW->rect().contains(mys->position().toPoint());
            m_odkazStisknut = false;
            if (klik && !LabelWWW->text().isEmpty()) {
                // Without a program for web pages the user still learns the address.
                const QString adresa = LabelWWW->text();
                Shell::otevri(adresa, [adresa] {
                    ZobrazDialog(QStringLiteral("Stránku se nepodařilo otevřít, v systému není "
                                                "program, který by ji zobrazil.\rAdresu \"") +
                                     adresa +
                                     QStringLiteral("\" otevřete prosím v internetovém "
                                                    "prohlížeči."),
                                 2, 0);
                });
            }
        }
    }
    return QMainWindow::eventFilter(o, e);
}

// ------------------------------------------------------------------ commands

void TMain::TBUzivateleClick() {
    TUzivatele okno(this);
    Uzivatele = &okno;
    okno.exec();
    Uzivatele = nullptr;
    poZavreniOkna();
}

void TMain::TBNovaPlatbaClick() {
    // The gate: the evidence year must be open for new payments.
    const QString Y = rok;
    Gosql(QStringLiteral("select * from RokEvidence where rok = ") + Sql::number(Y), 1, ADOQuery1,
          false);
    const bool maRadek = ADOQuery1.isOpen() && ADOQuery1.recordCount() > 0;
    const int stav =
        maRadek ? static_cast<int>(ADOQuery1.fieldByName(QStringLiteral("stav")).asInteger()) : 0;
    if (RokEvidenceUzavren(stav, Y, Hodiny::dnes())) {
        ZobrazDialog(ZpravaUzavrenehoRoku(Y));
        if (maRadek && stav == 0)
            Gosqlexec(
                QStringLiteral("update RokEvidence set stav = 1 where rok = ") + Sql::number(Y),
                ADOQuery1, false);
        return;
    }
    Gosql(QStringLiteral("select * from Uzivatele where aktivita = 100"), 1, ADOQuery1, false);
    if (!ADOQuery1.isOpen() || ADOQuery1.recordCount() == 0) {
        ZobrazDialog(QStringLiteral("Musí být zadán alespoň jeden uživatel."));
        return;
    }
    TNovaPlatba dialog(this);
    {
        const QSignalBlocker tichoPriPlneni(dialog.ecislo);
        dialog.ecislo->clear();
        for (ADOQuery1.first(); !ADOQuery1.eof(); ADOQuery1.next())
            dialog.ecislo->addItem(ADOQuery1.fieldByName(QStringLiteral("ecislo")).asString(),
                                   ADOQuery1.fieldByName(QStringLiteral("id")).asInteger());
        dialog.ecislo->setCurrentIndex(-1);
    }
    if (dialog.ecislo->count() == 1) {
        const QSignalBlocker bezZmeny(dialog.ecislo);
        dialog.ecislo->setCurrentIndex(0);
        dialog.NactiInfoUzivatele();
    }
    dialog.exec();
    poZavreniOkna();
}

void TMain::TBHistoriePlatebClick() {
    THistoriePlateb historie(this);
    historie.exec();
    poZavreniOkna();
}

void TMain::poZavreniOkna() {
    // A window that stored or removed payments has closed, maybe together with a window it
    // opened itself: the panel shows the counts now, and the main window takes the keyboard
    // back, since the window system need not hand activation back after two windows closing
    // at once.
    if (ProgramKonci()) return;
    try {
        InfoRefresh();
    } catch (const Chyba&) {
        // A select that failed has been reported by the query helper; the panel keeps the
        // rest of what it showed.
    }
    activateWindow();
}

void TMain::ObsahExecute() {
    // One help window at a time: asking again brings the open one to the front.
    if (FormularOtevren(QStringLiteral("Napoveda"), true)) return;
    auto* napoveda = new TNapoveda(this);
    napoveda->show();
}

void TMain::ZmenyProgramExecute() {
    TZmenyProg zmeny(this);
    zmeny.exec();
}

void TMain::OAplikaciExecute() {
    Tabout about(this);
    about.exec();
}
