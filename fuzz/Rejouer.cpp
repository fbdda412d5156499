// Runs a fuzz target once on each file of the folders given, without
// libFuzzer: the seeds and the inputs of past findings are replayed by the
// ordinary test suite, so a fault once found stays fixed and the targets keep
// compiling with the code they exercise.

#include <QByteArray>
#include <QDirIterator>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille);

int main(int argc, char** argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    int rejoues = 0;
    for (int i = 1; i < argc; ++i) {
        QDirIterator fichiers(QString::fromLocal8Bit(argv[i]), QDir::Files, QDirIterator::Subdirectories);
        while (fichiers.hasNext()) {
            QFile fichier(fichiers.next());
            if (!fichier.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "illisible : %s\n", qPrintable(fichier.fileName()));
                return 1;
            }
            const QByteArray octets = fichier.readAll();
            std::fprintf(stderr, "%s\n", qPrintable(fichier.fileName()));
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(octets.constData()), size_t(octets.size()));
            ++rejoues;
        }
    }
    std::printf("%d entrées rejouées\n", rejoues);
    return rejoues > 0 ? 0 : 1;
}
