// Helper of tst_ecriture_interrompue: writes the answer of two quotes in turn
// over the exchange file, without end, and says on its standard output when
// each write starts ("e") and ends ("f"), so the test knows where its kill
// landed. Stops by itself after a minute in case nobody kills it.

#include "DevisEssai.h"

#include <QElapsedTimer>
#include <QLocale>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage : %s <fichier d'échange> <préfixe des archives>\n", argv[0]);
        return 2;
    }
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString fichier = QString::fromLocal8Bit(argv[1]);
    const QString prefixe = QString::fromLocal8Bit(argv[2]);
    const DevisEchange devis[2] = {DevisEssai(120, QStringLiteral("A")), DevisEssai(90, QStringLiteral("B"))};

    std::puts("pret");
    std::fflush(stdout);
    QElapsedTimer chrono;
    chrono.start();
    for (int i = 0; chrono.elapsed() < 60000; ++i) {
        const DevisEchange& courant = devis[i % 2];
        std::puts("e");
        std::fflush(stdout);
        EcrireEchange(courant.poseGlobale, true, courant.quincailleriesGlobales, courant.menuiseries, fichier, prefixe);
        std::puts("f");
        std::fflush(stdout);
    }
    return 1;
}
