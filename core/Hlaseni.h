// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// What the core tells or asks the user, and what it writes to the error log. The core never
// shows a window: the program answers with its message box (ZobrazDialog), tests and the
// publishing command with ZaznamHlaseni.
class Hlaseni {
public:
    virtual ~Hlaseni() = default;

    // A message or question, as ZobrazDialog shows it. Kinds: 0 "Zpráva", 1 "Dotaz", 2 "Chyba",
    // 3 "Pozor". Buttons: 0 OK, 1 "Ano"/"Ne", 2 "Ano"/"Ne"/"Zrušit". The answer: 0 "Ano" or OK,
    // 1 "Ne", 2 "Zrušit".
    virtual int zprava(const QString& text, int typZpravy = 0, int typTlacitek = 0) = 0;

    // One line to the error log (ZapisDoLogu: Error.log in the program's folder); raises Chyba
    // when the log cannot be written.
    virtual void log(const QString& text);
};

// Records the messages and log lines instead of showing and writing them. A question takes the
// next queued answer, or the answer of Esc (1 for "Ano"/"Ne", 2 for three buttons) when none is
// queued.
class ZaznamHlaseni : public Hlaseni {
public:
    struct Zprava {
        QString text;
        int typZpravy;
        int typTlacitek;
    };

    int zprava(const QString& text, int typZpravy = 0, int typTlacitek = 0) override;
    void log(const QString& text) override;

    void pridejOdpoved(int odpoved) { m_odpovedi.append(odpoved); }
    const QVector<Zprava>& zpravy() const { return m_zpravy; }
    const QStringList& logy() const { return m_logy; }
    // Messages and log lines in the order they came, a log line as "log: <text>", a message as
    // "<kind>: <text>".
    const QStringList& poradi() const { return m_poradi; }
    void vymaz();

private:
    QVector<Zprava> m_zpravy;
    QStringList m_logy;
    QStringList m_poradi;
    QVector<int> m_odpovedi;
};
