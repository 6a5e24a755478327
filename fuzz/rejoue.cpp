// Replays a fuzz target's corpus through it, as an ordinary program: every file of the folders given,
// one after the other. A crash, a failed check (abort) or an exception that escapes ends the program
// abnormally; a folder without any file fails too, as a mistaken path would otherwise pass.
#include <QDirIterator>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    for (int a = 1; a < argc; ++a) {
        int rejoues = 0;
        QDirIterator fichiers(QString::fromLocal8Bit(argv[a]), QDir::Files, QDirIterator::Subdirectories);
        while (fichiers.hasNext()) {
            QFile f(fichiers.next());
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "%s: unreadable\n", qPrintable(f.fileName()));
                return 1;
            }
            const QByteArray octets = f.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(octets.constData()),
                                   size_t(octets.size()));
            ++rejoues;
        }
        std::printf("%s: %d input(s) replayed\n", argv[a], rejoues);
        if (rejoues == 0)
            return 1;
    }
    return argc > 1 ? 0 : 2;
}
