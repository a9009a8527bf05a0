// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Runs the action on the next modal window of type T, once it is open. Modal windows of the
// program are driven this way: the code under test calls exec() and waits, the action answers.
template <class T>
void priOtevreni(std::function<void(T*)> akce) {
    auto* casovac = new QTimer;
    casovac->setInterval(5);
    QObject::connect(casovac, &QTimer::timeout, [casovac, akce] {
        if (auto* okno = qobject_cast<T*>(QApplication::activeModalWidget())) {
            casovac->stop();
            casovac->deleteLater();
            akce(okno);
        }
    });
    casovac->start();
}
