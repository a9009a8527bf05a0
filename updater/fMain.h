// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QStringList>

#include "Unzip.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTimer;

namespace obnovnik {

// The updater's window. Five or more arguments: the windowed run, which starts by itself a
// quarter of a second after the window is shown. Exactly four: the silent run, done during
// creation without showing the window. Any other number: a message and the end.
class TMain : public QMainWindow {
    Q_OBJECT
public:
    // souborVerze: the file whose version block goes into the caption (default: this program).
    explicit TMain(const QStringList& argumenty, const QString& souborVerze = QString(),
                   QWidget* parent = nullptr);

    // True when the updater has ended during creation (silent run, wrong arguments) or a run
    // has closed the window.
    bool skonceno() const { return m_konec; }

    void StartClick();

    QLineEdit* OdkladaciAdresar;
    QPushButton* Start;
    QGroupBox* PrubehInstalace;
    QCheckBox* TvorbaAdresare;
    QCheckBox* StazeniSouboru;
    QCheckBox* RozbaleniSouboru;
    QCheckBox* PrepisPuvodnihoSouboru;
    QCheckBox* CisteniTempAdresare;
    QCheckBox* SpousteniReinstallApp;
    QProgressBar* ProgressBar1;
    QProgressBar* ProgressBarCelk;
    QStatusBar* StatusBar1;
    QTimer* TimerRun;

private:
    void TimerRunTimer();
    void OznacKrok(QCheckBox* krok, int cislo);
    void TichyBeh();
    void VyplnVolby();
    void Konec();
    void PrubehStahovani(qint64 prijato, qint64 celkem);
    bool Stahni();
    bool Rozbal(const QString& vzor, bool jenSpustitelne);
    bool Nahrad(const QString& novySoubor);

    QStringList m_arg;  // arguments 1 and later, m_arg[0] is argument 1
    QString m_slozka;   // T as a path of this platform
    QString m_archiv;   // A
    Unzip::TDCL m_volby;
    Unzip::TUserFunctions m_funkce;
    bool m_konec = false;
};

}  // namespace obnovnik
