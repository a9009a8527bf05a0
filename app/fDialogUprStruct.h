#pragma once

#include <QDialog>

class QProgressBar;

// The progress window of the schema upgrade: a borderless window on top of all others with
// the current step's bar and the overall bar. No buttons, no handling of its own.
class TDialogUprStruct : public QDialog {
    Q_OBJECT
public:
    explicit TDialogUprStruct(QWidget* owner);

    QProgressBar* ProgressBarAkt;
    QProgressBar* ProgressBarCelk;

    // How many times a progress window has been shown in this process (for tests).
    static int pocetZobrazeni();

protected:
    void showEvent(QShowEvent* e) override;
};
