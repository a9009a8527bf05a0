// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZalohaDat.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "Chyba.h"
#include "Hodiny.h"
#include "SouborDatabaze.h"
#include "Zaloha.h"
#include "fMain.h"
#include "uAllYouNeed.h"

namespace {
// The toolkit's own file dialog: the same on every desktop, reachable by keyboard, and in
// Czech with the program's texts.
QString vyber(TMain& hlavni, const QString& titulek, QFileDialog::FileMode rezim) {
    QFileDialog dialog(&hlavni, titulek,
                       QStandardPaths::writableLocation(QStandardPaths::HomeLocation));
    dialog.setObjectName(QStringLiteral("VyberZalohy"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(rezim);
    if (rezim == QFileDialog::Directory) {
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Zálohovat sem"));
    } else {
        dialog.setNameFilters(
            {QStringLiteral("Zálohy dat (*.mdb)"), QStringLiteral("Všechny soubory (*)")});
        dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Obnovit"));
    }
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Zrušit"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Hledat v:"));
    dialog.setLabelText(QFileDialog::FileName, rezim == QFileDialog::Directory
                                                   ? QStringLiteral("Složka:")
                                                   : QStringLiteral("Soubor:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Typ souborů:"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}
}  // namespace

void ZalohujData(TMain& hlavni) {
    const QString slozka =
        vyber(hlavni, QStringLiteral("Zálohovat data do složky"), QFileDialog::Directory);
    if (slozka.isEmpty()) return;
    try {
        const QString zaloha = Zaloha::zalohuj(hlavni.ADOConnection1, slozka, Hodiny::dnes());
        ZobrazDialog(
            QStringLiteral("Data byla zálohována do souboru:\r") + QDir::toNativeSeparators(zaloha),
            0, 0);
    } catch (const Chyba& e) {
        ZobrazDialog(e.zprava(), 2, 0);
    }
}

void ObnovDataZeZalohy(TMain& hlavni) {
    const QString soubor =
        vyber(hlavni, QStringLiteral("Obnovit data ze zálohy"), QFileDialog::ExistingFile);
    if (soubor.isEmpty()) return;
    const QString chyba = Zaloha::chybaSouboru(soubor);
    if (!chyba.isEmpty()) {
        ZobrazDialog(QStringLiteral("Ze souboru \"") + QDir::toNativeSeparators(soubor) +
                         QStringLiteral("\" nelze data obnovit:\r") + chyba,
                     2, 0);
        return;
    }
    if (ZobrazDialog(QStringLiteral("Opravdu nahradit všechna současná data (uživatele a "
                                    "historii plateb) daty ze zálohy \"") +
                         QDir::toNativeSeparators(soubor) +
                         QStringLiteral("\" ?\rSoučasná data zůstanou uložena vedle jako "
                                        "samostatný soubor."),
                     1, 1) != 0)
        return;
    // No other program may take the register while it is closed for the replacement.
    SouborDatabaze::ZamekSlozky zamek(QFileInfo(hlavni.ADOConnection1.fileName()).absolutePath());
    if (zamek.obsazeno()) {
        ZobrazDialog(QStringLiteral("Data nyní nelze obnovit: složku programu právě používá jiný "
                                    "spuštěný program. Zkuste to prosím znovu."),
                     2, 0);
        return;
    }
    try {
        hlavni.ADOQuery1.close();
        const QString puvodni = Zaloha::obnov(hlavni.ADOConnection1, soubor, Hodiny::dnes());
        hlavni.InfoRefresh();
        ZobrazDialog(QStringLiteral("Data byla obnovena ze zálohy. Původní data jsou uložena v "
                                    "souboru:\r") +
                         QDir::toNativeSeparators(puvodni),
                     0, 0);
    } catch (const Chyba& e) {
        ZobrazDialog(QStringLiteral("Data se nepodařilo obnovit: ") + e.zprava(), 2, 0);
        // Without its register the program cannot go on.
        if (!hlavni.ADOConnection1.isOpen()) UkonciProgram(true);
    }
}
