// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <stdexcept>

// An error carrying a message text: what the data layer and the program raise, and what the
// callers show or log. Only the text travels; the kind of the original error is not kept.
class Chyba : public std::runtime_error {
public:
    explicit Chyba(const QString& zprava)
        : std::runtime_error(zprava.toStdString()), m_zprava(zprava) {}
    const QString& zprava() const { return m_zprava; }

private:
    QString m_zprava;
};
