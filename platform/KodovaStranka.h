// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// The Windows-1250 code page, in which the program writes the files it hands to other programs
// (the printable payment sheet, a saved grid), whatever the system's own code page is, so that
// every file reads the same on every computer.
namespace KodovaStranka {
// The text in Windows-1250. A character the code page lacks is written as the bytes nahrada
// gives for its code point.
QByteArray doCp1250(const QString& text, const std::function<QByteArray(char32_t)>& nahrada);
// The text of bytes in Windows-1250. The few bytes the code page leaves undefined become U+FFFD.
QString zCp1250(const QByteArray& bajty);
}  // namespace KodovaStranka
