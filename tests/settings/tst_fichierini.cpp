#include "dossierparametres.h"
#include "fichierini.h"
#include "lectureliste.h"
#include "remplacefichier.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString infos = QStringLiteral("Infos");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The permission bits, as chmod writes them.
int modeOf(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

// The test program started again: another writer of 150 keys "Cle<N>_<i>" in DIR's settings file, or
// a process that takes the lock on that file and ends without giving it back.
int otherProcess(const QStringList &args)
{
    FichierINI::setRepertoireProgramme(args[2]);
    if (args[1] == u"--verrou") {
        QLockFile lock(QDir(args[2]).filePath(QStringLiteral("Solvarin.ini.lock")));
        std::_Exit(lock.tryLock(0) ? 0 : 1);
    }
    for (int i = 0; i < 150; ++i)
        if (!FichierINI::EcrireIni(infos, QStringLiteral("Cle%1_%2").arg(args[3]).arg(i), QString::number(i)))
            return 1;
    return 0;
}

} // namespace

class TestFichierINI : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        FichierINI::setRepertoireProgramme(m_dir->path());
        m_ini = m_dir->filePath(QStringLiteral("Solvarin.ini"));
        m_reports.clear();
        FichierINI::setAttenteVerrou(std::chrono::milliseconds(50));
        FichierINI::setRapporteur([this](const QString &t, const QString &m) { m_reports << t + u'|' + m; });
    }

    void readsAsWindowsDoes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray base = "[INFOS]\r\nNomRepart1=OCP\r\n";
        QTest::newRow("no file: default, and no file made") << QByteArray() << "NomRepart1"
                                                            << "<default>";
        QTest::newRow("section and key in other case") << base << "nomrepart1"
                                                       << "OCP";
        QTest::newRow("absent key") << base << "NomRepart2"
                                    << "<default>";
        QTest::newRow("present but empty") << QByteArray("[Infos]\r\nNomRepart1=\r\n") << "NomRepart1"
                                           << "";
        QTest::newRow("blanks around name and value") << QByteArray("[Infos]\r\n  A \t=  x y  \r\n") << "A"
                                                      << "x y";
        QTest::newRow("quotes") << QByteArray("[Infos]\nA=' x '\n") << "A"
                                << " x ";
        QTest::newRow("unmatched quote kept") << QByteArray("[Infos]\nA=\"x'\n") << "A"
                                              << "\"x'";
        QTest::newRow("first of two equal keys") << QByteArray("[Infos]\nA=1\na=2\n") << "A"
                                                 << "1";
        QTest::newRow("repeated section: first only")
            << QByteArray("[Infos]\nA=1\n[Autre]\nB=2\n[Infos]\nC=3\n") << "C"
            << "<default>";
        QTest::newRow("lines before any section, key of another section")
            << QByteArray("A=0\n[Autre]\nA=1\n[Infos]\n") << "A"
            << "<default>";
        QTest::newRow("comment and line without equals ignored")
            << QByteArray("[Infos]\n;A=1\nA\nA=2\n") << "A"
            << "2";
        QTest::newRow("equals in value") << QByteArray("[Infos]\nURL=http://h/p?a=b\n") << "URL"
                                         << "http://h/p?a=b";
        QTest::newRow("header without bracket is no section") << QByteArray("[Infos\nA=1\n") << "A"
                                                              << "<default>";
        QTest::newRow("stray CR is a blank") << QByteArray("[Infos]\r\r\nA = 1\r\r\n") << "A"
                                             << "1";
    }

    void readsAsWindowsDoes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, key);
        if (!file.isNull())
            writeAll(m_ini, file);
        QTEST(FichierINI::LireIni(infos, key, QStringLiteral("<default>")), "expected");
        QCOMPARE(FichierINI::CheminIni(), m_ini);
        QCOMPARE(QFile::exists(m_ini), !file.isNull());
        QVERIFY(m_reports.isEmpty());
    }

    // A new file ends its lines with CR LF; a value is cut where Windows cuts it, and its line breaks
    // make no new line.
    void valuesWritten()
    {
        QVERIFY(FichierINI::EcrireIni(infos, QStringLiteral("AdrPharmacie"),
                                      QStringLiteral("Pharmacie du Port")) != 0);
        QCOMPARE(readAll(m_ini), QByteArray("[Infos]\r\nAdrPharmacie=Pharmacie du Port\r\n"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("Solvarin.ini")});
        for (const int length : {1022, 1023, 1024, 1500}) {
            const QString value(length, u'x');
            QVERIFY(FichierINI::EcrireIni(infos, QStringLiteral("A"), value) != 0);
            QCOMPARE(FichierINI::LireIni(infos, QStringLiteral("A"), {}), value.left(1023));
        }
        QVERIFY(FichierINI::EcrireIni(infos, QStringLiteral("A"), QStringLiteral("x\r\n[Infos]\nB=pirate")) !=
                0);
        QVERIFY(FichierINI::EcrireIni(infos, QStringLiteral("B"), QStringLiteral("ok")) != 0);
        QCOMPARE(FichierINI::LireIni(infos, QStringLiteral("A"), {}), QStringLiteral("x  [Infos] B=pirate"));
        QCOMPARE(FichierINI::LireIni(infos, QStringLiteral("B"), {}), QStringLiteral("ok"));
        // Another file named: the program's own is left alone.
        const QString other = m_dir->filePath(QStringLiteral("autre.ini"));
        QVERIFY(QFile::remove(m_ini) &&
                FichierINI::EcrireIni(infos, QStringLiteral("A"), QStringLiteral("1"), other));
        QCOMPARE(FichierINI::CheminIni(), other);
        QCOMPARE(FichierINI::LireIni(infos, QStringLiteral("A"), {}, other), QStringLiteral("1"));
        QVERIFY(!QFile::exists(m_ini) && FichierINI::FichierExiste(other));
        QVERIFY(!FichierINI::FichierExiste(m_ini) && !FichierINI::FichierExiste(m_dir->path()));
    }

    void writeKeepsEveryOtherLine_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("after");
        const QByteArray head = "; Solvarin\r\n[Materiel]\nImprimante = HP  \r\n\r\n[infos]\r\n";
        const QByteArray tail = "\r\n[Autre]\r\nClefCli1=garde\r\n";
        QTest::newRow("replace, keeping the key's spelling")
            << head + "  ClefCli1 = \"ancien\"\r\nPortRepart1=8080\r\n" + tail << "CLEFCLI1"
            << head + "ClefCli1=nouveau\r\nPortRepart1=8080\r\n" + tail;
        QTest::newRow("replace the first of two")
            << QByteArray("[Infos]\nA=1\nA=2\n") << "A" << QByteArray("[Infos]\nA=nouveau\nA=2\n");
        QTest::newRow("new section at the end") << QByteArray("[Autre]\r\nX=1\r\n") << "A"
                                                << QByteArray("[Autre]\r\nX=1\r\n[Infos]\r\nA=nouveau\r\n");
        QTest::newRow("key in repeated section goes in the first")
            << QByteArray("[Infos]\r\nX=1\r\n[B]\r\n[Infos]\r\nA=2\r\n") << "A"
            << QByteArray("[Infos]\r\nX=1\r\nA=nouveau\r\n[B]\r\n[Infos]\r\nA=2\r\n");
        QTest::newRow("new key after the section's last line, before its blank lines")
            << QByteArray("[Infos]\r\nA=1\r\n\r\n[Autre]\r\nB=2\r\n") << "C"
            << QByteArray("[Infos]\r\nA=1\r\nC=nouveau\r\n\r\n[Autre]\r\nB=2\r\n");
        QTest::newRow("no final line break")
            << QByteArray("[Infos]\r\nA=1") << "B" << QByteArray("[Infos]\r\nA=1\r\nB=nouveau\r\n");
        QTest::newRow("no final line break after a section")
            << QByteArray("[Autre]") << "B" << QByteArray("[Autre]\r\n[Infos]\r\nB=nouveau\r\n");
        QTest::newRow("last line ended by a lone CR")
            << QByteArray("[Infos]\r\n#\r") << "B" << QByteArray("[Infos]\r\n#\rB=nouveau\r\n");
        QTest::newRow("header without bracket")
            << QByteArray("[Infos\t\r") << "B" << QByteArray("[Infos\t\r[Infos]\r\nB=nouveau\r\n");
    }

    void writeKeepsEveryOtherLine()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, key);
        writeAll(m_ini, before);
        QVERIFY(FichierINI::EcrireIni(infos, key, QStringLiteral("nouveau")) != 0);
        QTEST(readAll(m_ini), "after");
    }

    void encodingsReadAndKept_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QByteArray>("after");
        const QString text = QStringLiteral("[Infos]\r\nNumeroCli1=café\r\n");
        const QString stored = text + QStringLiteral("ClefCli1=clé œ Ω\r\n");
        for (const auto encoding :
             {QStringConverter::Utf8, QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
            const auto bytes = [encoding](const QString &t) -> QByteArray {
                return QStringEncoder(encoding, QStringConverter::Flag::WriteBom)(t);
            };
            QTest::newRow(QStringConverter::nameForEncoding(encoding))
                << bytes(text) << "café" << bytes(stored);
        }
        QTest::newRow("no mark, valid UTF-8: UTF-8, still without a mark")
            << QByteArray("[Infos]\r\nNumeroCli1=caf\xC3\xA9\r\n") << "café"
            << QByteArray("[Infos]\r\nNumeroCli1=caf\xC3\xA9\r\nClefCli1=cl\xC3\xA9 \xC5\x93 \xCE\xA9\r\n");
        QTest::newRow("no mark, not UTF-8: Windows-1252")
            << QByteArray("[Infos]\r\nNumeroCli1=caf\xE9 \xC3\xA9\r\n") << "café Ã©"
            << QByteArray("[Infos]\r\nNumeroCli1=caf\xE9 \xC3\xA9\r\nClefCli1=cl\xE9 \x9C ?\r\n");
        QTest::newRow("no mark, plain ASCII: Windows-1252")
            << QByteArray("[Infos]\r\nNumeroCli1=cafe\r\n") << "cafe"
            << QByteArray("[Infos]\r\nNumeroCli1=cafe\r\nClefCli1=cl\xE9 \x9C ?\r\n");
        QTest::newRow("lone CR ends a line")
            << QByteArray("[Infos]\rNumeroCli1=\x80\rClefCli1=vieille\r[Autre]\rClefCli1=garde\r") << "€"
            << QByteArray("[Infos]\rNumeroCli1=\x80\rClefCli1=cl\xE9 \x9C ?\r[Autre]\rClefCli1=garde\r");
    }

    void encodingsReadAndKept()
    {
        QFETCH(QByteArray, before);
        writeAll(m_ini, before);
        QTEST(FichierINI::LireIni(infos, QStringLiteral("NumeroCli1"), {}), "read");
        QVERIFY(FichierINI::EcrireIni(infos, QStringLiteral("ClefCli1"), QStringLiteral("clé œ Ω")));
        QTEST(readAll(m_ini), "after");
    }

    void refusedWriteKeepsTheFile_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only file") << "file"
                                        << "fichier en lecture seule";
        QTest::newRow("read-only folder") << "folder"
                                          << "dossier en lecture seule";
        QTest::newRow("lock held by another writer") << "lock"
                                                     << "fichier utilisé par un autre programme";
    }

    void refusedWriteKeepsTheFile()
    {
        QFETCH(QString, cause);
        const QByteArray before = "[Infos]\r\nA=1\r\n";
        writeAll(m_ini, before);
        const auto readOnly = QFile::ReadOwner | QFile::ReadUser | QFile::ExeOwner | QFile::ExeUser;
        const QString target = cause == u"folder" ? m_dir->path() : m_ini;
        const auto permissions = QFile::permissions(target);
        QLockFile held(m_ini + QStringLiteral(".lock"));
        QVERIFY(cause == u"lock"
                    ? held.tryLock(0)
                    : QFile::setPermissions(target, cause == u"folder" ? readOnly : QFile::ReadOwner));
        const qint32 result = FichierINI::EcrireIni(infos, QStringLiteral("A"), QStringLiteral("2"));
        QFile::setPermissions(target, permissions);
        held.unlock();
        QCOMPARE(result, 0);
        QTEST(FichierINI::RaisonRefus(), "reason");
        QCOMPARE(readAll(m_ini), before);
        QVERIFY(m_reports.isEmpty());
        QVERIFY(FichierINI::EcrireIni(infos, QStringLiteral("A"), QStringLiteral("2")));
        QCOMPARE(FichierINI::RaisonRefus(), QString());
    }

    void oddFiles_data()
    {
        QTest::addColumn<QString>("name");    // Solvarin.ini or Liste.txt
        QTest::addColumn<QString>("odd");     // what is there before
        QTest::addColumn<QString>("read");    // the value of A, or the list's codes
        QTest::addColumn<QString>("told");    // what the reader says, by the file's name
        QTest::addColumn<QString>("refusal"); // why the write stored nothing; empty when stored
        QTest::addColumn<int>("mode");        // the file's mode after the write
        const QString notRegular = QStringLiteral("ce n'est pas un fichier ordinaire");
        const QString ini = QStringLiteral("Solvarin.ini"), liste = QStringLiteral("Liste.txt");
        QTest::newRow("settings: new file") << ini << "absent"
                                            << "<default>"
                                            << ""
                                            << "" << 0600;
        QTest::newRow("settings: mode kept") << ini << "mode 0640"
                                             << "1"
                                             << ""
                                             << "" << 0640;
        QTest::newRow("settings: owner kept") << ini << "other owner"
                                              << "1"
                                              << ""
                                              << "" << 0600;
        QTest::newRow("settings: named pipe") << ini << "pipe"
                                              << "<default>" << notRegular << "fichier illisible" << -1;
        QTest::newRow("settings: device") << ini << "device"
                                          << "<default>" << notRegular << "fichier illisible" << -1;
        QTest::newRow("settings: empty lock") << ini << "empty lock"
                                              << "1"
                                              << ""
                                              << "" << 0640;
        QTest::newRow("settings: temporary copy") << ini << "temporary copy"
                                                  << "1"
                                                  << ""
                                                  << "" << 0640;
        QTest::newRow("settings: UTF-8 without a mark") << ini << "utf-8"
                                                        << "Marché"
                                                        << ""
                                                        << "" << 0644;
        QTest::newRow("list: new file") << liste << "absent"
                                        << ""
                                        << ""
                                        << "" << 0600;
        QTest::newRow("list: mode kept") << liste << "mode 0640"
                                         << "3582910"
                                         << ""
                                         << "" << 0640;
        QTest::newRow("list: named pipe") << liste << "pipe"
                                          << "" << notRegular << notRegular << -1;
        QTest::newRow("list: device") << liste << "device"
                                      << "" << notRegular << notRegular << -1;
        QTest::newRow("settings: at the size limit") << ini << "at the size limit"
                                                     << "1"
                                                     << ""
                                                     << "" << 0644;
        QTest::newRow("settings: oversized") << ini << "oversized"
                                             << ""
                                             << ""
                                             << "fichier trop volumineux" << -1;
        QTest::newRow("list: at the size limit") << liste << "at the size limit"
                                                 << "3582910"
                                                 << ""
                                                 << "" << 0644;
        QTest::newRow("list: oversized") << liste << "oversized"
                                         << ""
                                         << "fichier trop volumineux (plus de 16 Mio)"
                                         << "" << 0644;
        QTest::newRow("list: read-only folder") << liste << "read-only folder"
                                                << "3582910"
                                                << ""
                                                << "dossier en lecture seule" << 0600;
    }

    // Each file as a new user, a crash or a mistake may leave it: the reader never hangs nor swallows
    // memory, says once what it met, and the writer leaves a private file whose owner can read it.
    void oddFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, odd);
        QFETCH(QString, read);
        QFETCH(QString, told);
        QFETCH(QString, refusal);
        QFETCH(int, mode);
        const QString path = m_dir->filePath(name);
        const bool isList = name == u"Liste.txt";
        const QByteArray content = isList ? "3582910,1\r\n" : "[Infos]\r\nA=1\r\n";
        uint owner = QFileInfo(m_dir->path()).ownerId();
        if (odd == u"pipe") {
            QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {path}), 0);
        } else if (odd == u"device") {
            // Root makes a device of its own, so that a writer that went wrong replaces that one only.
            QVERIFY(::geteuid() == 0 ? QProcess::execute(QStringLiteral("mknod"), {path, "c", "1", "5"}) == 0
                                     : QFile::link(QStringLiteral("/dev/zero"), path));
        } else if (odd == u"at the size limit" || odd == u"oversized") {
            // The value ends the file, behind a blank line: it is whole only when the last byte is read.
            const QByteArray last = isList ? "\n3582910" : "\n[Infos]\r\nA=1";
            writeAll(path, last.rightJustified(16 * 1024 * 1024 + (odd == u"oversized"), ' '));
        } else if (odd == u"utf-8") {
            writeAll(path, "[Infos]\nA=March\xC3\xA9\n");
        } else if (odd != u"absent") {
            writeAll(path, content);
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        }
        if (odd == u"other owner") {
            if (::geteuid() != 0)
                QSKIP("giving a file to another user needs root: a save by root is the case");
            owner = 65534; // nobody
            QCOMPARE(::chown(QFile::encodeName(path).constData(), owner, owner), 0);
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        }
        if (odd == u"empty lock") {
            QFile lock(path + QStringLiteral(".lock"));
            QVERIFY(lock.open(QIODevice::WriteOnly));
            QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-5),
                                     QFileDevice::FileModificationTime));
        }
        const QString copy = path + QStringLiteral(".Xy12z9");
        if (odd == u"temporary copy")
            writeAll(copy, "[Infos]\r\nClefCli1=secret\r\n");
        const auto folderMode = QFile::permissions(m_dir->path());
        if (odd == u"read-only folder")
            QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
        const auto restore = qScopeGuard([&] { QFile::setPermissions(m_dir->path(), folderMode); });

        QString reason;
        QStringList codes;
        if (isList) {
            for (const LigneListe &l : LectureListe::chargeListe(&reason))
                codes << l.code;
        }
        QCOMPARE(isList ? codes.join(u' ')
                        : FichierINI::LireIni(infos, QStringLiteral("A"), QStringLiteral("<default>")),
                 read);
        if (!isList) {
            FichierINI::LireIni(infos, QStringLiteral("B"), {});
            QCOMPARE(m_reports.size(), told.isEmpty() ? 0 : 1);
            reason = m_reports.value(0);
            QVERIFY(reason.isEmpty() || reason.contains(path));
        }
        QVERIFY2(told.isEmpty() ? reason.isEmpty() : reason.contains(told), qPrintable(reason));

        const bool stored =
            isList ? LectureListe::enregistreListe({LigneListe{QStringLiteral("3582910"), 2, {}}}, &reason)
                   : FichierINI::EcrireIni(infos, QStringLiteral("A"), QStringLiteral("Marché")) != 0;
        if (!isList)
            reason = FichierINI::RaisonRefus();
        QCOMPARE(stored, refusal.isEmpty());
        QCOMPARE(reason, refusal);
        if (!stored)
            return;
        QCOMPARE(modeOf(path), mode);
        QCOMPARE(QFileInfo(path).ownerId(), owner);
        QVERIFY(!QFile::exists(copy) && !QFile::exists(path + QStringLiteral(".lock")));
        if (odd == u"utf-8")
            QCOMPARE(readAll(path), QByteArray("[Infos]\nA=March\xC3\xA9\n"));
    }

    void folderOfTheFiles_data()
    {
        QTest::addColumn<QString>("program"); // how the program's folder is
        QTest::addColumn<QString>("prepare"); // where a prepared Solvarin.ini lies ("" for none)
        QTest::addColumn<bool>("user");       // the user's folder is chosen
        QTest::newRow("copied folder") << "writable"
                                       << "bin/Solvarin.ini" << false;
        QTest::newRow("read-only folder, prepared settings beside") << "read-only"
                                                                    << "bin/Solvarin.ini" << true;
        QTest::newRow("installed, prepared in etc") << "installed"
                                                    << "etc/solvarin/Solvarin.ini" << true;
        QTest::newRow("installed, nothing prepared") << "installed"
                                                     << "" << true;
        QTest::newRow("user folder cannot be made") << "unmakeable"
                                                    << "etc/solvarin/Solvarin.ini" << true;
    }

    // The user's folder is made once, private, and starts from the settings a technician prepared;
    // the user's own settings are never replaced by them afterwards.
    void folderOfTheFiles()
    {
        QFETCH(QString, program);
        QFETCH(QString, prepare);
        QFETCH(bool, user);
        const QDir prefix(m_dir->path());
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        if (program == u"installed" || program == u"unmakeable")
            QVERIFY(prefix.mkpath(QStringLiteral("share/solvarin")));
        const QByteArray prepared = "[Infos]\r\nNumeroCli1=0999908\r\n";
        if (!prepare.isEmpty()) {
            QVERIFY(prefix.mkpath(QFileInfo(prefix.filePath(prepare)).path()));
            writeAll(prefix.filePath(prepare), prepared);
        }
        const QString config = prefix.filePath(program == u"unmakeable" ? QStringLiteral("file/config")
                                                                        : QStringLiteral("config"));
        writeAll(prefix.filePath(QStringLiteral("file")), {});
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        const auto unset = qScopeGuard([] { qunsetenv("XDG_CONFIG_HOME"); });
        const auto binMode = QFile::permissions(bin);
        if (program == u"read-only")
            QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner));
        const auto restore = qScopeGuard([&] { QFile::setPermissions(bin, binMode); });

        const QString userFolder = config + QStringLiteral("/Solvarin");
        const QString chosen = DossierParametres::etablis(bin);
        QCOMPARE(chosen, user ? userFolder : bin);
        const QString ini = QDir(chosen).filePath(QStringLiteral("Solvarin.ini"));
        if (!user || program == u"unmakeable") {
            QVERIFY(!QFileInfo::exists(userFolder));
            QVERIFY(!QFileInfo::exists(prefix.filePath(QStringLiteral("config"))));
            return;
        }
        QCOMPARE(modeOf(userFolder), 0700);
        QCOMPARE(readAll(ini), prepare.isEmpty() ? QByteArray() : prepared);
        if (prepare.isEmpty())
            return;
        QCOMPARE(modeOf(ini), 0600);
        FichierINI::setRepertoireProgramme(chosen);
        QVERIFY(FichierINI::EcrireIni(infos, QStringLiteral("NumeroCli1"), QStringLiteral("123456")));
        QCOMPARE(DossierParametres::etablis(bin), userFolder);
        QCOMPARE(FichierINI::LireIni(infos, QStringLiteral("NumeroCli1"), {}), QStringLiteral("123456"));
    }

    // An export is for others to read: it is made as the user's umask says, unlike the program's files.
    void documentsMadeAsTheUsersFiles()
    {
        const mode_t before = ::umask(022);
        const auto restore = qScopeGuard([before] { ::umask(before); });
        const QString document = m_dir->filePath(QStringLiteral("liste.csv"));
        const QString own = m_dir->filePath(QStringLiteral("Trace.xml"));
        QCOMPARE(remplaceFichier(document, "a;b\r\n", Acces::Document), QFileDevice::NoError);
        QCOMPARE(remplaceFichier(own, "<x/>\r\n"), QFileDevice::NoError);
        QCOMPARE(modeOf(document), 0644);
        QCOMPARE(modeOf(own), 0600);
    }

    // With no room at all, then with room for the lock and part of the file.
    void fullDiskKeepsTheFile()
    {
        const QString disk = m_dir->filePath(QStringLiteral("disque"));
        QVERIFY(QDir().mkpath(disk));
        if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk}) != 0)
            QSKIP("mounting a small tmpfs needs root (CAP_SYS_ADMIN): full-disk case not run");
        const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {disk}); });
        FichierINI::setRepertoireProgramme(disk);
        const QByteArray before = "[Infos]\r\nNomRepart1=PHOENIX\r\n";
        writeAll(QDir(disk).filePath(QStringLiteral("Solvarin.ini")), before);
        QFile filler(QDir(disk).filePath(QStringLiteral("plein")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) == 4096) {
        }
        for (const int freed : {0, 2 * 4096}) {
            QVERIFY(filler.resize(filler.size() - freed));
            QCOMPARE(FichierINI::EcrireIni(infos, QStringLiteral("ClefCli1"), QString(3 * 4096, u'k')), 0);
            QCOMPARE(FichierINI::RaisonRefus(), QStringLiteral("disque plein"));
            QCOMPARE(readAll(FichierINI::CheminIni()), before);
        }
    }

    // They find a lock left by a process that has ended, which no longer counts.
    void writersInTwoProcessesLoseNothing()
    {
        // In memory where the system offers it: the race is the point, not the disk's flushes.
        const QTemporaryDir memory(QStringLiteral("/dev/shm/solvarin-XXXXXX"));
        const QString dir = memory.isValid() ? memory.path() : m_dir->path();
        FichierINI::setRepertoireProgramme(dir);
        QCOMPARE(QProcess::execute(QCoreApplication::applicationFilePath(), {"--verrou", dir}), 0);
        QVERIFY(QFile::exists(dir + QStringLiteral("/Solvarin.ini.lock")));
        QProcess writers[2];
        for (int w = 0; w < 2; ++w)
            writers[w].start(QCoreApplication::applicationFilePath(),
                             {"--ecrivain", dir, QString::number(w)});
        for (QProcess &writer : writers)
            QVERIFY(writer.waitForFinished(60000) && writer.exitCode() == 0);
        for (int i = 0; i < 300; ++i)
            QCOMPARE(FichierINI::LireIni(infos, QStringLiteral("Cle%1_%2").arg(i / 150).arg(i % 150), {}),
                     QString::number(i % 150));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_ini;
    QStringList m_reports;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 2 && (args[1] == u"--ecrivain" || args[1] == u"--verrou"))
        return otherProcess(args);
    TestFichierINI test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fichierini.moc"
