// PreparerDemo <folder> <Config.ini> <reference.sql>
// Builds the demo Quarlo.abs in the folder.

#include "PreparationDemo.h"

#include <QCoreApplication>
#include <QTextStream>
#include <exception>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream sortie(stdout);
    QTextStream erreurs(stderr);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() != 3) {
        erreurs << "Usage : PreparerDemo <dossier> <Config.ini> <reference.sql>\n";
        return 2;
    }
    try {
        const QStringList resume = PreparerBaseDemo(arguments[0], arguments[1], arguments[2]);
        sortie << "Base de démonstration prête : " << arguments[0] << "\n";
        for (const QString& ligne : resume)
            sortie << "  " << ligne << "\n";
        return 0;
    } catch (const std::exception& erreur) {
        erreurs << "PreparerDemo : " << QString::fromUtf8(erreur.what()) << "\n";
        return 1;
    }
}
