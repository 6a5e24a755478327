#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include <unistd.h>

// A PostgreSQL server of the test's own, on a free loopback port, its cluster in a temporary folder,
// run by the "postgres" account when the test runs as root (the server refuses root). `raison` says why
// it could not start.
class ServeurPostgres {
public:
    ServeurPostgres()
    {
        const QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        if (versions.isEmpty()) {
            raison = QStringLiteral("no PostgreSQL server installed");
            return;
        }
        m_bin = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(versions.last());
        QTcpServer libre;
        libre.listen(QHostAddress::LocalHost);
        port = libre.serverPort();
        libre.close();
        m_cluster = m_dir.filePath(QStringLiteral("cluster"));
        if (geteuid() == 0)
            QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                    QFileDevice::WriteOther | QFileDevice::ExeOther);
        if (!lance(QStringLiteral("initdb"), {"-D", m_cluster, "-A", "trust", "-U", "solvarin", "--no-sync"}) ||
            !lance(QStringLiteral("pg_ctl"), {"-D", m_cluster, "-w", "-l", m_dir.filePath("journal"), "-o",
                                              QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                                                  .arg(port)
                                                  .arg(m_dir.path()),
                                              "start"}))
            return;
        m_demarre = true;
    }
    ~ServeurPostgres()
    {
        if (m_demarre)
            lance(QStringLiteral("pg_ctl"), {"-D", m_cluster, "-m", "immediate", "-w", "stop"});
    }
    bool demarre() const { return m_demarre; }
    QString url() const { return QStringLiteral("postgresql://solvarin@127.0.0.1:%1/postgres").arg(port); }

    quint16 port = 0;
    QString raison;

private:
    bool lance(const QString &programme, QStringList arguments)
    {
        QProcess p;
        QString chemin = m_bin + programme;
        if (geteuid() == 0) {
            arguments.prepend(chemin);
            arguments = QStringList{"-u", "postgres", "--"} + arguments;
            chemin = QStringLiteral("runuser");
        }
        p.start(chemin, arguments);
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            raison = programme + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir;
    QString m_bin;
    QString m_cluster;
    bool m_demarre = false;
};
