#include "uAllYouNeed.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolButton>
#include <QWidget>

#include "Chyba.h"
#include "Formaty.h"
#include "Hodiny.h"
#include "VerzniBlok.h"
#include "Zdroje.h"
#include "Zpravy.h"

namespace {
QString g_souborProgramu;
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

QString SouborProgramu() {
    return g_souborProgramu.isEmpty() ? QCoreApplication::applicationFilePath() : g_souborProgramu;
}

QString SlozkaProgramu() {
    return QDir::toNativeSeparators(QFileInfo(SouborProgramu()).absolutePath() + QLatin1Char('/'));
}

void NastavSouborProgramu(const QString& soubor) {
    g_souborProgramu = soubor;
}

void ZapisDoLogu(const QString& text) {
    const QString slozka = SlozkaProgramu();
    QFile log(slozka + QStringLiteral("Error.log"));
    bool otevreno = false;
    if (log.open(QIODevice::ReadOnly)) {
        log.close();
        otevreno = log.open(QIODevice::WriteOnly | QIODevice::Append);
        if (!otevreno) throw Chyba(log.errorString());
    } else {
        otevreno = log.open(QIODevice::WriteOnly);
        if (!otevreno)
            throw Chyba(QStringLiteral("Soubor \"%1Error.log\" nelze vytvořit, \r"
                                       "pravděpodobně nemáte právo zápisu do složky, kde je "
                                       "program instalován.")
                            .arg(slozka));
    }
    const QByteArray radek =
        (Formaty::datumCas(Hodiny::ted()) + QStringLiteral(": ") + text + QStringLiteral("\r\n"))
            .toLocal8Bit();
    if (log.write(radek) != radek.size() || !log.flush()) throw Chyba(log.errorString());
    log.close();
}

QString VerzeSouboru(const QString& soubor) {
    return VerzniBlok::verzeSouboru(soubor);
}

void NactiVerziExe(const QString& soubor, TExeVersionData& data) {
    QMap<QString, QString> p;
    switch (VerzniBlok::nacti(soubor, &p)) {
        case VerzniBlok::Vysledek::Nacteno:
            break;
        case VerzniBlok::Vysledek::SouborNenalezen:
            throw Chyba(QStringLiteral("Systém nemůže nalézt uvedený soubor."));
        case VerzniBlok::Vysledek::NelzeCist:
            throw Chyba(QStringLiteral("Přístup byl odepřen."));
        case VerzniBlok::Vysledek::BezBloku:
            throw Chyba(QStringLiteral("Zadaný typ prostředku nelze v souboru obrazu nalézt."));
    }
    if (!p.contains(QStringLiteral("Translation")))
        throw Chyba(QStringLiteral("Zadaný typ prostředku nelze v souboru obrazu nalézt."));
    const struct {
        const char* jmeno;
        QString TExeVersionData::*pole;
    } polozky[] = {
        {"CompanyName", &TExeVersionData::CompanyName},
        {"FileDescription", &TExeVersionData::FileDescription},
        {"FileVersion", &TExeVersionData::FileVersion},
        {"InternalName", &TExeVersionData::InternalName},
        {"LegalCopyright", &TExeVersionData::LegalCopyright},
        {"LegalTrademarks", &TExeVersionData::LegalTrademarks},
        {"OriginalFileName", &TExeVersionData::OriginalFileName},
        {"ProductName", &TExeVersionData::ProductName},
        {"ProductVersion", &TExeVersionData::ProductVersion},
        {"Comments", &TExeVersionData::Comments},
        {"PrivateBuild", &TExeVersionData::PrivateBuild},
        {"SpecialBuild", &TExeVersionData::SpecialBuild},
    };
    for (const auto& pol : polozky) {
        const QString klic = QString::fromLatin1(pol.jmeno);
        if (p.contains(klic)) data.*(pol.pole) = p.value(klic);
    }
}

QString DoplnNuly(const QString& text, quint8 delka, bool zleva) {
    QString s = text;
    while (s.size() < delka) s = zleva ? QLatin1Char('0') + s : s + QLatin1Char('0');
    return s;
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

Tdatum RozlozDatum(const QDateTime& datum) {
    Tdatum d;
    const QDate dd = datum.date();
    const QTime t = datum.time();
    d.year = QString::number(dd.year());
    d.month = QString::number(dd.month());
    d.day = QString::number(dd.day());
    d.hour = QString::number(t.hour());
    d.min = QString::number(t.minute());
    d.sec = QString::number(t.second());
    d.msec = QString::number(t.msec());
    // The user's time separator: the first character of the long time format that is not a
    // letter of the pattern.
    QString oddelovac = QStringLiteral(":");
    static const QRegularExpression znak(QStringLiteral("[^HhmsAaPpzt ]"));
    const auto m = znak.match(Formaty::formatDlouhehoCasu());
    if (m.hasMatch()) oddelovac = m.captured(0);
    d.cas = d.hour + oddelovac + d.min + oddelovac + d.sec;
    return d;
}

void UlozZdrojDoSouboru(const QString& typ, const QString& jmeno, const QString& soubor) {
    Zdroje::ulozDoSouboru(typ, jmeno, soubor);
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
    auto* stav = new QStatusBar(okno);
    stav->setObjectName(QStringLiteral("StatusBar1"));
    auto* vrstva = new QVBoxLayout(okno);
    vrstva->addLayout(radek, 1);
    vrstva->addWidget(stav);
    return stav;
}
