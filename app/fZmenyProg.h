// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The change log: the history of program versions as fixed text. Esc closes it from anywhere
// in the window.
class TZmenyProg : public QDialog {
    Q_OBJECT
public:
    explicit TZmenyProg(QWidget* owner);

    // The history, one line per element, newest version first.
    static QStringList radkyZmen();

    QPlainTextEdit* Memo1;
    QPushButton* OK;

public slots:
    void OKClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void FormKeyUp(int key);
};
