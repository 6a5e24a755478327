#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QString build = QStringLiteral(SOLVARIN_BINARY_DIR);

struct Resultat {
    int statut = -1;
    QString sortie;
};

// Runs a program to its end (at most `limite`), its error output after its output.
Resultat lance(const QString &programme, const QStringList &arguments,
               const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
               const QString &dossier = {}, int limite = 120000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dossier);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programme, arguments);
    if (!p.waitForFinished(limite))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

// Every path under the folder with its size and time: what a write would change.
QStringList inventaire(const QString &dossier)
{
    QStringList lignes;
    QDirIterator it(dossier, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        lignes << f.filePath() + u' ' + QString::number(f.size()) + u' ' +
                      QString::number(f.lastModified().toMSecsSinceEpoch());
    }
    lignes.sort();
    return lignes;
}

void ecrit(const QString &chemin, const QByteArray &octets)
{
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(octets), octets.size());
}

} // namespace

// Solvarin installed as a technician installs it: into a prefix, from the package, and the button
// library found by a host project.
class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_prefixe = m_dir.filePath(QStringLiteral("prefixe"));
        const Resultat installation =
            lance(QStringLiteral(CMAKE_PROGRAM), {"--install", build, "--prefix", m_prefixe});
        QVERIFY2(installation.statut == 0, qPrintable(installation.sortie));

        m_sim.start(build + QStringLiteral("/bin/pharmaml-sim"),
                    {QStringLiteral("--port"), QStringLiteral("0")});
        QVERIFY(m_sim.waitForStarted());
        QTRY_VERIFY(m_sim.canReadLine());
        const QByteArray port = m_sim.readLine().trimmed();
        // The technician's accounts, prepared once for every user.
        ecrit(m_prefixe + QStringLiteral("/etc/solvarin/Solvarin.ini"),
              "[Infos]\r\nNomRepart1=OCP\r\nIdRepart1=12\r\nCodeRepart1=04\r\nURLRepart1=http://127.0.0.1/"
              "pharmaml\r\n"
              "PortRepart1=" +
                  port + "\r\nNumeroCli1=0999908\r\nClefCli1=4083\r\n");
    }

    void cleanupTestCase()
    {
        m_sim.kill();
        m_sim.waitForFinished();
    }

    void programmeInstalleEnLectureSeule_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("one product") << QStringList{"1", "3582910"}
                                     << "txtInfos(1)\t#00FF00\t\\r\\nDISPONIBLE\n";
        QTest::newRow("a list") << QStringList{"--liste", "3582910"} << "\tDOLIPRANE 1000MG CPR B/8\t";
    }

    // The prefix cannot be written, even by root: a read-only mount in a namespace of its own, or the
    // permission bits for another user. The settings come from the prefix's etc into the user's folder,
    // the trace goes there, and nothing under the prefix changes.
    void programmeInstalleEnLectureSeule()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, attendu);
        const QString maison =
            m_dir.filePath(QStringLiteral("maison-") + QString::number(qHash(arguments.join(u' '))));
        QVERIFY(QDir().mkpath(maison));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), maison);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), maison + QStringLiteral("/.config"));
        const QString requete = m_prefixe + QStringLiteral("/bin/solvarin-query");
        const QStringList avant = inventaire(m_prefixe);

        Resultat r;
        if (::geteuid() == 0) {
            const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
            if (unshare.isEmpty())
                QSKIP("unshare is missing: the prefix cannot be made read-only for root");
            r = lance(
                unshare,
                QStringList{"-m", "sh", "-c",
                            "mount --bind \"$0\" \"$0\" && mount -o remount,bind,ro \"$0\" && exec \"$@\"",
                            m_prefixe, requete} +
                    arguments,
                env);
            if (r.sortie.contains(QLatin1String("mount:")) || r.sortie.contains(QLatin1String("unshare:")))
                QSKIP(qPrintable(QStringLiteral("no read-only mount here: ") + r.sortie));
        } else {
            QCOMPARE(lance(QStringLiteral("chmod"), {"-R", "a-w", m_prefixe}).statut, 0);
            r = lance(requete, arguments, env);
            lance(QStringLiteral("chmod"), {"-R", "u+w", m_prefixe});
        }
        QVERIFY2(r.sortie.contains(attendu), qPrintable(r.sortie));

        const QString utilisateur = maison + QStringLiteral("/.config/Solvarin");
        QFile ini(utilisateur + QStringLiteral("/Solvarin.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().contains("NumeroCli1=0999908"));
        QVERIFY(!(ini.permissions() &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther)));
        QVERIFY(QFileInfo::exists(utilisateur + QStringLiteral("/Trace.xml")));
        QCOMPARE(inventaire(m_prefixe), avant);
    }

    void hoteTrouveLeBouton()
    {
#ifdef SOLVARIN_SANITIZED
        QSKIP("the library is built with the sanitizers, whose run-time an ordinary host does not link");
#endif
        const QString hote = m_dir.filePath(QStringLiteral("hote"));
        QVERIFY(QDir().mkpath(hote));
        ecrit(hote + QStringLiteral("/CMakeLists.txt"),
              "cmake_minimum_required(VERSION 3.25)\nproject(hote CXX)\nset(CMAKE_CXX_STANDARD 17)\n"
              "find_package(TOVA_Button 2 REQUIRED)\nadd_executable(hote main.cpp)\n"
              "target_link_libraries(hote PRIVATE TOVA_Button::TOVA_Button)\n");
        ecrit(
            hote + QStringLiteral("/main.cpp"),
            "#include <QApplication>\n#include <tovabutton.h>\n#include <tovafactory.h>\n#include <cstdio>\n"
            "int main(int argc, char **argv) {\n  QApplication app(argc, argv);\n"
            "  QWidget *b = TOVA_CreateControl(TOVA_BUTTON_CLASS_ID, nullptr);\n"
            "  std::puts(b ? b->metaObject()->className() : \"none\");\n  delete b;\n}\n");
        const QString sortie = hote + QStringLiteral("/build");
        Resultat r = lance(QStringLiteral(CMAKE_PROGRAM),
                           {"-S", hote, "-B", sortie, "-G", "Ninja", "-DCMAKE_PREFIX_PATH=" + m_prefixe});
        QVERIFY2(r.statut == 0, qPrintable(r.sortie));
        r = lance(QStringLiteral(CMAKE_PROGRAM), {"--build", sortie});
        QVERIFY2(r.statut == 0, qPrintable(r.sortie));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        r = lance(sortie + QStringLiteral("/hote"), {}, env);
        QCOMPARE(r.statut, 0);
        QVERIFY2(r.sortie.contains(QLatin1String("TOVAButton")), qPrintable(r.sortie));
        // The host runs the installed library, not the one of the build.
        r = lance(QStringLiteral("ldd"), {sortie + QStringLiteral("/hote")});
        QVERIFY2(r.sortie.contains(m_prefixe + QStringLiteral("/lib/libTOVA_Button.so.2")),
                 qPrintable(r.sortie));
    }

    void paquetDebian()
    {
        for (const char *outil : {"dpkg-deb", "dpkg-shlibdeps"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(outil)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is missing: the Debian package is not built")
                                     .arg(QLatin1String(outil))));
        const QString paquets = m_dir.filePath(QStringLiteral("paquets"));
        Resultat r = lance(QStringLiteral(CPACK_PROGRAM), {"-G", "DEB", "-B", paquets},
                           QProcessEnvironment::systemEnvironment(), build);
        QVERIFY2(r.statut == 0, qPrintable(r.sortie));
        const QString deb = paquets + QStringLiteral("/solvarin_" SOLVARIN_VERSION "_amd64.deb");
        QVERIFY2(QFileInfo::exists(deb), qPrintable(r.sortie));

        r = lance(QStringLiteral("dpkg-deb"), {"--contents", deb});
        QCOMPARE(r.statut, 0);
        for (const char *chemin :
             {"./usr/bin/solvarin", "./usr/bin/solvarin-query", "./usr/bin/pharmaml-sim",
              "./usr/lib/libTOVA_Button.so.2", "./usr/include/TOVA_Button/tovabutton.h",
              "./usr/lib/cmake/TOVA_Button/TOVA_ButtonConfig.cmake", "./usr/share/solvarin/HandIE53232.ico",
              "./etc/solvarin/Solvarin.ini", "./usr/share/applications/fr.ardevio.Solvarin.desktop",
              "./usr/share/icons/hicolor/256x256/apps/solvarin.png",
              "./usr/share/metainfo/fr.ardevio.Solvarin.metainfo.xml",
              "./usr/share/man/man1/solvarin-query.1.gz", "./usr/share/doc/solvarin/copyright"})
            QVERIFY2(r.sortie.contains(QLatin1String(chemin)), chemin);
        r = lance(QStringLiteral("dpkg-deb"), {"--field", deb, "Depends"});
        QVERIFY2(r.sortie.contains(QLatin1String("libqt6widgets6")) &&
                     r.sortie.contains(QLatin1String("libxml2")),
                 qPrintable(r.sortie));
        // A user's prepared settings survive an upgrade.
        r = lance(QStringLiteral("sh"), {"-c", "dpkg-deb --info \"$0\" conffiles", deb});
        QCOMPARE(r.sortie.trimmed(), QStringLiteral("/etc/solvarin/Solvarin.ini"));

        // The desktop's files as their own validators read them, and the package as lintian does.
        const QList<QStringList> controles{
            {"appstreamcli", "validate", "--no-net",
             m_prefixe + "/share/metainfo/fr.ardevio.Solvarin.metainfo.xml"},
            {"desktop-file-validate", m_prefixe + "/share/applications/fr.ardevio.Solvarin.desktop"},
            {"lintian", "--fail-on", "error", deb}};
        for (const QStringList &controle : controles) {
            if (QStandardPaths::findExecutable(controle.first()).isEmpty())
                QSKIP(qPrintable(controle.first() +
                                 " is missing: the package was built but not wholly checked"));
            r = lance(controle.first(), controle.mid(1));
            QVERIFY2(r.statut == 0 && (controle.first() != u"desktop-file-validate" || r.sortie.isEmpty()),
                     qPrintable(r.sortie));
        }
    }

private:
    QTemporaryDir m_dir;
    QString m_prefixe;
    QProcess m_sim;
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_installation.moc"
