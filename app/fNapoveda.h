// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QWidget>

class QAction;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTextEdit;

// Set when the find dialog has just been closed, so that the Esc which closed it does not also
// close the help window. It belongs to the program, not to one help window.
extern bool HledaniZavreno;

// The small non-modal find dialog of the help window: the text, whole words, match case and
// direction (the help window disables the last two), "Najít další" and "Zrušit".
class TFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFindDialog(QWidget* owner);

    QLineEdit* FindText;
    QCheckBox* WholeWord;
    QCheckBox* MatchCase;
    QGroupBox* Direction;
    QRadioButton* Nahoru;
    QRadioButton* Dolu;
    QPushButton* NajitDalsi;
    QPushButton* Zrusit;

signals:
    // "Najít další" was pressed.
    void najit();
};

// The help window: the built-in user guide with forward search. Not modal, one at a time,
// destroys itself when closed.
class TNapoveda : public QWidget {
    Q_OBJECT
public:
    explicit TNapoveda(QWidget* owner);

    // The guide as rich text, exactly as the window shows it.
    static QString textNapovedy();

    QMenuBar* ActionMainMenuBarHelp;
    QAction* Hledat;
    QTextEdit* TextNapovedy;
    QWidget* PanelBottom;
    QPushButton* OK;
    TFindDialog* FindDialog1;

public slots:
    void OKClick();
    void HledatExecute();
    void FindDialog1Find();
    void FindDialog1Close();

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void FormShow();
    void FormResize();
    void TextNapovedyKeyUp(int key);
    // The opening size: the guide's widest line and all its lines in the font in use, at least
    // the drawn 612 x 430, at most the screen.
    QSize velikostProText() const;
};
