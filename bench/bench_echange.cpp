// Reading and writing the exchange file of a large quote (items each with
// three installation lines of five hardware entries), beside a DOM parser and
// writer used as the reference on the same bytes.

#include "DevisBanc.h"
#include "Tableau.h"

#include "model/Echange.h"

#include <QLocale>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

namespace {

void Ecrire(const DevisEchange& devis, const QString& fichier, const QString& prefixe)
{
    EcrireEchange(devis.poseGlobale, true, devis.quincailleriesGlobales, devis.menuiseries, fichier, prefixe);
}

// A folder holding the answer written for a quote of the benchmark's size.
class DossierEssai
{
public:
    explicit DossierEssai(int nombreMenuiseries)
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Ecrire(GrandDevis(nombreMenuiseries), Echange(), Prefixe());
    }
    QString Echange() const { return dossier.filePath(QStringLiteral("echange.xml")); }
    QString Prefixe() const { return dossier.filePath(QStringLiteral("20250312_150000")); }
    QString Chemin(const char* nom) const { return dossier.filePath(QString::fromUtf8(nom)); }

private:
    QTemporaryDir dossier;
};

void Lire(const DossierEssai& dossier)
{
    const DevisEchange devis = LireEchange(dossier.Echange(), dossier.Prefixe());
    benchmark::DoNotOptimize(devis.menuiseries.Nombre());
}

// The time must grow in proportion to the quote: 16 times the items read
// once, taking turns with 16 reads of the small quote.
constexpr int kPetitDevis = 250;
constexpr int kGrandDevis = 16 * kPetitDevis;

void BM_LectureLineaire(benchmark::State& etat)
{
    const DossierEssai petit(kPetitDevis);
    const DossierEssai grand(kGrandDevis);
    MesurerEnAlternance(
        etat, [&] { Lire(grand); },
        [&] {
            for (int i = 0; i < kGrandDevis / kPetitDevis; ++i)
                Lire(petit);
        });
}

void BM_EcritureLineaire(benchmark::State& etat)
{
    const DossierEssai petit(kPetitDevis);
    const DossierEssai grand(kGrandDevis);
    const DevisEchange devisPetit = GrandDevis(kPetitDevis);
    const DevisEchange devisGrand = GrandDevis(kGrandDevis);
    MesurerEnAlternance(
        etat, [&] { Ecrire(devisGrand, grand.Echange(), grand.Prefixe()); },
        [&] {
            for (int i = 0; i < kGrandDevis / kPetitDevis; ++i)
                Ecrire(devisPetit, petit.Echange(), petit.Prefixe());
        });
}

// Our reading beside the reference parser building its tree from the same
// file (8-bit text converted as its declaration says), taking turns.
void BM_LireContrePugixml(benchmark::State& etat)
{
    const DossierEssai dossier(static_cast<int>(etat.range(0)));
    const std::string chemin = dossier.Echange().toStdString();
    MesurerEnAlternance(
        etat,
        [&] {
            Lire(dossier);
        },
        [&] {
            pugi::xml_document document;
            if (!document.load_file(chemin.c_str()))
                etat.SkipWithError("le fichier n'a pas été lu");
            benchmark::DoNotOptimize(document.first_child());
        });
}

// Our writing beside the reference writer saving the same document, compact
// and 8-bit, once, taking turns.
void BM_EcrireContrePugixml(benchmark::State& etat)
{
    const DossierEssai dossier(static_cast<int>(etat.range(0)));
    const DevisEchange devis = GrandDevis(static_cast<int>(etat.range(0)));
    pugi::xml_document document;
    if (!document.load_file(dossier.Echange().toStdString().c_str()))
        etat.SkipWithError("le fichier n'a pas été lu");
    const std::string sortie = dossier.Chemin("reference.xml").toStdString();
    MesurerEnAlternance(
        etat, [&] { Ecrire(devis, dossier.Echange(), dossier.Prefixe()); },
        [&] { document.save_file(sortie.c_str(), "", pugi::format_raw, pugi::encoding_latin1); });
}

void BM_TotauxDevis(benchmark::State& etat)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const DevisEchange devis = GrandDevis(static_cast<int>(etat.range(0)));
    for (auto _ : etat)
        benchmark::DoNotOptimize(devis.menuiseries.TotalTtc() + devis.menuiseries.TotalQuincaillerieHt());
}

} // namespace

BENCHMARK(BM_LireContrePugixml)->Arg(2000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EcrireContrePugixml)->Arg(2000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LectureLineaire)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EcritureLineaire)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TotauxDevis)->Arg(2000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return ExecuterBancs(
        argc, argv,
        {
            {"read a 2,000-item quote (x 3 lines x 5 hardware) with its archive copy vs pugixml DOM parse of the same file",
             "BM_LireContrePugixml/2000/manual_time", "BM_LireContrePugixml/2000/manual_time#reference", 3.0},
            {"write the answer: exchange file and archive copy vs pugixml save of the same document, one file",
             "BM_EcrireContrePugixml/2000/manual_time", "BM_EcrireContrePugixml/2000/manual_time#reference", 3.0},
            {"read 4,000 items vs 16 x read 250 items", "BM_LectureLineaire/manual_time",
             "BM_LectureLineaire/manual_time#reference", 1.5},
            {"write 4,000 items vs 16 x write 250 items", "BM_EcritureLineaire/manual_time",
             "BM_EcritureLineaire/manual_time#reference", 1.5},
        });
}
