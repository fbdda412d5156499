// The hardware catalogue import of 100,000 lines, side by side with the
// sqlcipher command line's .import of the same file into the same schema
// (through a view whose trigger fills the table, as the file has no key
// column), both emptying the table first in one transaction. Times are wall
// clock; the command line's own processor time is given beside it
// (cpu_ligne_de_commande_ms), as a loaded machine stretches both. The second
// figure is left out when the sqlcipher command is not installed. Set TMPDIR
// to a memory file system to leave the disk out of the figures.

#include "data/CatalogueQuincaillerie.h"
#include "data/DMPose.h"
#include "engine/Base.h"
#include "model/LigneCsv.h"

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include "Tableau.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <sys/resource.h>

namespace {

constexpr int kLignes = 100000;

const QString kVueImport = QStringLiteral(
    "CREATE VIEW QuincaillerieImport AS SELECT CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces,"
    " NbPiecesML, Secable, '' AS Fin FROM Quincaillerie;"
    "CREATE TRIGGER RemplirQuincaillerie INSTEAD OF INSERT ON QuincaillerieImport BEGIN"
    " INSERT INTO Quincaillerie (CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML,"
    " Secable) VALUES (NEW.CodeExport, NEW.Libelle, NEW.Libelle2, NEW.TarifVente, NEW.TarifAchat, NEW.NbPieces,"
    " NEW.NbPiecesML, NEW.Secable); END;");

class Essai
{
public:
    Essai()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        QByteArray octets = LigneCsv({"CodeExport", "Libelle", "Libelle2", "TarifVente", "TarifAchat", "NbPieces",
                                      "NbPiecesML", "Secable"});
        for (int i = 0; i < kLignes; ++i) {
            octets += LigneCsv({QStringLiteral("Q%1").arg(i, 6, 10, QLatin1Char('0')),
                                QStringLiteral("Vis à bois tête fraisée n° %1").arg(i), QStringLiteral("boîte de 100"),
                                QStringLiteral("12,50"), QStringLiteral("7,25"), QStringLiteral("100,00"),
                                QStringLiteral("0,00"), i % 2 ? QStringLiteral("O") : QStringLiteral("N")});
        }
        QFile sortie(Fichier());
        sortie.open(QIODevice::WriteOnly);
        sortie.write(octets);
    }

    QString Fichier() const { return dossier.filePath(QStringLiteral("quincaillerie.csv")); }

    // A fresh database with the program's schema, its catalogue not empty.
    std::unique_ptr<TDMPose> NouvelleBase(const QString& nom)
    {
        QFile::remove(dossier.filePath(nom));
        auto dm = std::make_unique<TDMPose>();
        dm->SetNomFichier(dossier.filePath(nom));
        dm->Ouvrir();
        dm->RestructureBase();
        CatalogueQuincaillerie::Enregistrer({}, {"ANCIEN", "Ancien", "", 1, 1, 1, 1, false});
        return dm;
    }

private:
    QTemporaryDir dossier;
};

double CpuEnfantsMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

Essai& LEssai()
{
    static Essai essai;
    return essai;
}

void BM_ImportCatalogue(benchmark::State& etat)
{
    Essai& essai = LEssai();
    for (auto _ : etat) {
        etat.PauseTiming();
        const std::unique_ptr<TDMPose> dm = essai.NouvelleBase(QStringLiteral("programme.abs"));
        etat.ResumeTiming();
        QFile fichier(essai.Fichier());
        fichier.open(QIODevice::ReadOnly);
        const CatalogueQuincaillerie::Importation importation = CatalogueQuincaillerie::Importer(
            LireLignesCsv(fichier.readAll()), [](const CatalogueQuincaillerie::Examen&) { return true; });
        if (!importation.faite || importation.examen.entrees.size() != kLignes)
            etat.SkipWithError("lines missing");
    }
    etat.SetItemsProcessed(etat.iterations() * kLignes);
}
BENCHMARK(BM_ImportCatalogue)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportCatalogueLigneDeCommande(benchmark::State& etat)
{
    const QString commande = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (commande.isEmpty()) {
        etat.SkipWithError("sqlcipher command not installed");
        return;
    }
    Essai& essai = LEssai();
    const QString base = QStringLiteral("ligne_de_commande.abs");
    double cpu = 0;
    for (auto _ : etat) {
        etat.PauseTiming();
        QString fichierBase;
        {
            const std::unique_ptr<TDMPose> dm = essai.NouvelleBase(base);
            dm->Quarlo().ExecuterScript(kVueImport);
            fichierBase = dm->NomFichier();
        }
        const QByteArray script = "PRAGMA key = '" + kMotDePasseBase + "';\n.mode csv\n.separator ;\nBEGIN;\n"
                                  "DELETE FROM Quincaillerie;\n.import " + essai.Fichier().toUtf8()
                                  + " QuincaillerieImport\nCOMMIT;\nSELECT COUNT(*) FROM Quincaillerie;\n";
        const double cpuAvant = CpuEnfantsMs();
        etat.ResumeTiming();
        QProcess sqlcipher;
        sqlcipher.start(commande, {fichierBase});
        sqlcipher.write(script);
        sqlcipher.closeWriteChannel();
        sqlcipher.waitForFinished(-1);
        etat.PauseTiming();
        cpu += CpuEnfantsMs() - cpuAvant;
        // The heading line is imported as well: it is data to the command line.
        if (sqlcipher.readAllStandardOutput().trimmed() != QByteArray::number(kLignes + 1))
            etat.SkipWithError("the command line did not import the file");
        etat.ResumeTiming();
    }
    etat.SetItemsProcessed(etat.iterations() * kLignes);
    etat.counters["cpu_ligne_de_commande_ms"] = cpu / double(etat.iterations());
}
BENCHMARK(BM_ImportCatalogueLigneDeCommande)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return ExecuterBancs(argc, argv,
                         {
                             {"import a 100,000-line hardware catalogue file, all or nothing, vs sqlcipher .import "
                              "of the same file",
                              "BM_ImportCatalogue/real_time", "BM_ImportCatalogueLigneDeCommande/real_time", 1.5},
                         });
}
