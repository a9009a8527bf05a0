// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A small file system of its own (tmpfs) that the test mounts and removes again: a disk that
// fills up after a few kilobytes, or that is read only for everyone, root included. Mounting
// needs the rights to do it; where the machine gives none, pripojen() is false and duvod() says
// why, for the test's QSKIP.
class MalyDisk {
public:
    explicit MalyDisk(qint64 bajtu) {
        if (!m_slozka.isValid()) {
            m_duvod = QStringLiteral("no temporary folder");
            return;
        }
        m_pripojen = spust({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                            QStringLiteral("size=%1,mode=0777").arg(bajtu), QStringLiteral("tmpfs"),
                            m_slozka.path()});
    }
    ~MalyDisk() {
        if (m_pripojen)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_slozka.path()});
    }
    MalyDisk(const MalyDisk&) = delete;
    MalyDisk& operator=(const MalyDisk&) = delete;

    bool pripojen() const { return m_pripojen; }
    QByteArray duvod() const {
        return (QStringLiteral("cannot mount a small file system: ") + m_duvod).toUtf8();
    }
    QString cesta(const QString& jmeno = QString()) const {
        return jmeno.isEmpty() ? m_slozka.path() : QDir(m_slozka.path()).filePath(jmeno);
    }
    // From now on nobody may write on it.
    bool jenProCteni() {
        return spust({QStringLiteral("-o"), QStringLiteral("remount,ro"), m_slozka.path()});
    }

private:
    bool spust(const QStringList& argumenty) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("mount"), argumenty);
        if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0) {
            m_duvod = QString::fromLocal8Bit(p.readAll()).trimmed();
            if (m_duvod.isEmpty()) m_duvod = p.errorString();
            return false;
        }
        return true;
    }

    QTemporaryDir m_slozka;
    bool m_pripojen = false;
    QString m_duvod;
};
