#include "serveurreel.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int attenteDemarrage = 15000; // a cold squid takes a few seconds

bool accepte(quint16 port)
{
    QTcpSocket essai;
    essai.connectToHost(QHostAddress::LocalHost, port);
    return essai.waitForConnected(200);
}

QString journal(const QString &dossier)
{
    QString texte;
    for (const QString &nom : QDir(dossier).entryList({QStringLiteral("*.log")}, QDir::Files)) {
        QFile f(QDir(dossier).filePath(nom));
        if (f.open(QIODevice::ReadOnly))
            texte += QString::fromLocal8Bit(f.readAll().right(400));
    }
    return texte;
}

} // namespace

ServeurReel::ServeurReel()
{
    // Root servers drop to an unprivileged user, which must reach the folder.
    ::chmod(QFile::encodeName(m_dossier.path()).constData(), 0777);
}

ServeurReel::~ServeurReel()
{
    if (!m_processus)
        return;
    m_processus->terminate();
    if (!m_processus->waitForFinished(5000)) {
        m_processus->kill();
        m_processus->waitForFinished(2000);
    }
}

QString ServeurReel::demarre(const QString &programme, const QStringList &arguments, const QString &modele,
                             QMap<QString, QString> valeurs, const QString &utilisateur, quint16 port)
{
    const QString executable =
        QStandardPaths::findExecutable(programme, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (executable.isEmpty())
        return programme + QStringLiteral(" is not installed (tools/install-deps.sh installs it)");
    if (!m_dossier.isValid() || port == 0)
        return QStringLiteral("no temporary folder or no free loopback port");
    QFile source(QStringLiteral(SOLVARIN_SOURCE_DIR "/tests/interop/") + modele);
    if (!source.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + source.fileName();
    valeurs.insert(QStringLiteral("DIR"), m_dossier.path());
    valeurs.insert(QStringLiteral("USER"), geteuid() == 0 ? utilisateur : QString());
    QString texte = QString::fromUtf8(source.readAll());
    for (auto it = valeurs.cbegin(); it != valeurs.cend(); ++it)
        texte.replace(u'@' + it.key() + u'@', it.value());
    QFile cible(fichier(modele));
    if (!cible.open(QIODevice::WriteOnly) || cible.write(texte.toUtf8()) < 0)
        return QStringLiteral("cannot write ") + cible.fileName();
    cible.close();

    m_processus = std::make_unique<QProcess>();
    m_processus->setWorkingDirectory(m_dossier.path());
    m_processus->setProcessChannelMode(QProcess::MergedChannels);
    m_processus->start(executable, arguments);
    if (!m_processus->waitForStarted(5000))
        return programme + QStringLiteral(" does not start: ") + m_processus->errorString();
    const auto arrete = [this] { return m_processus->state() != QProcess::Running; };
    if (!QTest::qWaitFor([&] { return arrete() || accepte(port); }, attenteDemarrage) || arrete())
        return programme + QStringLiteral(" did not come up: ") +
               QString::fromLocal8Bit(m_processus->readAll()).right(400) + journal(m_dossier.path());
    return {};
}

QString certificatsEssai(const QString &dossier)
{
    QFile extensions(QDir(dossier).filePath(QStringLiteral("serveur.ext")));
    if (!extensions.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write the certificate extensions");
    extensions.write("basicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n"
                     "subjectAltName=IP:127.0.0.1\n");
    extensions.close();
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty())
        return QStringLiteral("openssl is not installed (tools/install-deps.sh installs it)");
    const QStringList courbe{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    for (const QStringList &arguments : {
             QStringList{"req", "-x509"} + courbe +
                 QStringList{"-keyout", "ac.key", "-out", "ac.pem", "-days", "2", "-subj",
                             "/CN=Solvarin test authority", "-addext", "basicConstraints=critical,CA:TRUE",
                             "-addext", "keyUsage=critical,keyCertSign,cRLSign"},
             QStringList{"req"} + courbe +
                 QStringList{"-keyout", "serveur.key", "-out", "serveur.csr", "-subj", "/CN=127.0.0.1"},
             QStringList{"x509", "-req", "-in", "serveur.csr", "-CA", "ac.pem", "-CAkey", "ac.key",
                         "-CAcreateserial", "-out", "serveur.pem", "-days", "2", "-extfile", "serveur.ext"},
         }) {
        const QString erreur = execute(openssl, arguments, dossier);
        if (!erreur.isEmpty())
            return erreur;
    }
    // Read by a server that runs as an unprivileged user.
    QFile::setPermissions(QDir(dossier).filePath(QStringLiteral("serveur.key")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    return {};
}
