// Real servers the tests start themselves: a free loopback port, the runs of the programs that set them
// up, and a PostgreSQL server of the test's own in a temporary folder, run as the unprivileged user nobody
// when the test runs as root (the server refuses root). What cannot start says why, so that the test skips.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrl>

#include <unistd.h>

// A loopback port that nothing listens on (free when asked; a race with other programs is harmless
// for tests that only listen there).
inline quint16 portLibre()
{
    QTcpServer serveur;
    return serveur.listen(QHostAddress::LocalHost) ? serveur.serverPort() : 0;
}

// Runs `commande` with `arguments` in `dossier` (as the user nobody when `commeNobody` and we are root):
// the error text with the end of its output, or empty when it ended with 0.
inline QString execute(const QString &commande, const QStringList &arguments, const QString &dossier = {},
                       bool commeNobody = false)
{
    QProcess p;
    p.setWorkingDirectory(dossier);
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (commeNobody && geteuid() == 0)
        p.start(QStringLiteral("runuser"), QStringList{"-u", "nobody", "--", commande} + arguments);
    else
        p.start(commande, arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return commande + QStringLiteral(" failed: ") +
               QString::fromLocal8Bit(p.readAll()).trimmed().right(300);
    return {};
}

// A cluster whose superuser is "solvarin", who must give `motDePasse` (scram-sha-256). `raison` is
// empty when the server runs.
class ServeurPostgres {
public:
    explicit ServeurPostgres(const QString &motDePasse = QStringLiteral("solvarin"))
        : m_motDePasse(motDePasse)
    {
        raison = initialise();
        m_demarre = raison.isEmpty();
    }
    ~ServeurPostgres() { arrete(QStringLiteral("immediate")); }

    bool demarre() const { return m_demarre; }
    // The URL of its database "postgres", with the password.
    QString url() const
    {
        return QStringLiteral("postgresql://solvarin:%1@127.0.0.1:%2/postgres")
            .arg(QString::fromUtf8(QUrl::toPercentEncoding(m_motDePasse)), QString::number(port));
    }
    // A path in the server's temporary folder.
    QString fichier(const QString &nom) const { return m_dir.filePath(nom); }
    // Stops the server (`mode` as pg_ctl's -m); the error text, or empty.
    QString arrete(const QString &mode = QStringLiteral("fast"))
    {
        if (!m_demarre)
            return {};
        m_demarre = false;
        return lance(QStringLiteral("pg_ctl"), {"-D", m_donnees, "-m", mode, "-w", "stop"});
    }

    quint16 port = 0;
    QString raison;

private:
    QString initialise()
    {
        for (const QFileInfo &version :
             QDir(QStringLiteral("/usr/lib/postgresql")).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (QFileInfo::exists(version.filePath() + "/bin/initdb"))
                m_bin = version.filePath() + "/bin/";
        if (m_bin.isEmpty())
            return QStringLiteral(
                "PostgreSQL's server programs are not installed (Debian package postgresql)");
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            return QStringLiteral("Qt's PostgreSQL driver is not installed (Debian package libqt6sql6-psql)");
        port = portLibre();
        if (!m_dir.isValid() || port == 0)
            return QStringLiteral("no temporary folder or no free loopback port");
        if (geteuid() == 0 && QProcess::execute("chown", {"nobody", m_dir.path()}) != 0)
            return QStringLiteral("the temporary folder cannot be given to the user nobody");
        QFile::setPermissions(m_dir.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
        m_donnees = m_dir.filePath(QStringLiteral("donnees"));
        const QString fichierMotDePasse = m_dir.filePath(QStringLiteral("motdepasse"));
        QFile f(fichierMotDePasse);
        if (!f.open(QIODevice::WriteOnly) || f.write(m_motDePasse.toUtf8() + '\n') < 0)
            return QStringLiteral("cannot write ") + fichierMotDePasse;
        f.close();
        if (geteuid() == 0)
            QProcess::execute("chown", {"nobody", fichierMotDePasse});
        QString erreur = lance(QStringLiteral("initdb"),
                               {"-D", m_donnees, "-U", "solvarin", "-E", "UTF8", "--locale=C", "--no-sync",
                                "--auth=scram-sha-256", "--pwfile", fichierMotDePasse});
        if (erreur.isEmpty())
            erreur = lance(QStringLiteral("pg_ctl"),
                           {"-D", m_donnees, "-l", m_dir.filePath("journal"), "-w", "-t", "60", "-o",
                            QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                                .arg(port)
                                .arg(m_dir.path()),
                            "start"});
        return erreur;
    }

    // Runs a server program, as nobody when we are root.
    QString lance(const QString &programme, const QStringList &arguments) const
    {
        return execute(m_bin + programme, arguments, {}, true);
    }

    QTemporaryDir m_dir;
    QString m_motDePasse;
    QString m_bin;
    QString m_donnees;
    bool m_demarre = false;
};
