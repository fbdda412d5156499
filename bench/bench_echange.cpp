// Reading and writing the exchange file of a large quote: 2,000 items, each
// with three installation lines of five hardware entries.

#include "model/Echange.h"

#include <QLocale>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

DevisEchange GrandDevis(int nombreMenuiseries)
{
    DevisEchange devis;
    devis.poseGlobale.SetLibelle(QStringLiteral("Pose en rénovation"));
    devis.poseGlobale.GetTva().SetTypeTva(2);
    for (int i = 0; i < nombreMenuiseries; ++i) {
        TMenuiserie& menuiserie = devis.menuiseries.Ajouter(std::make_unique<TMenuiserie>());
        menuiserie.SetCode(QStringLiteral("F%1").arg(i));
        menuiserie.SetLibelle(QStringLiteral("Fenêtre 2 vantaux & volet n° %1 – 12 €").arg(i));
        menuiserie.SetDescription(QStringLiteral("Chêne, double vitrage <4/16/4>"));
        menuiserie.SetQuantite(1 + i % 3);
        menuiserie.GetPose().GetTva().SetTypeTva(1);
        menuiserie.GetProprietes().Ajouter(QStringLiteral("LARGEUR"), QString::number(600 + i % 900));
        menuiserie.GetProprietes().Ajouter(QStringLiteral("HAUTEUR"), QStringLiteral("1350"));
        menuiserie.GetProprietes().Ajouter(QStringLiteral("VANTAIL"), QStringLiteral("2"));
        menuiserie.GetProprietes().Ajouter(QStringLiteral("QUANTITE"), QString::number(1 + i % 3));
        for (int l = 0; l < 3; ++l) {
            TTarif& ligne = menuiserie.GetTarifs().Ajouter(std::make_unique<TTarif>());
            ligne.SetId(QString::number(l));
            ligne.SetLibelle(QStringLiteral("Pose \"standard\" n° %1").arg(l));
            ligne.SetPrix(120.5 + l);
            ligne.SetPoseurNom(QStringLiteral("Dupré & fils"));
            ligne.SetPoseurPrix(80);
            ligne.GetTva().SetTypeTva(2);
            ligne.GetTva().SetValeur(10);
            for (int q = 0; q < 5; ++q) {
                TQuincaillerie& entree = ligne.GetQuincailleries().Ajouter();
                entree.SetId(QString::number(q));
                entree.SetLibelle(QStringLiteral("Vis inox %1 mm").arg(q));
                entree.SetTarifVente(12.5);
                entree.SetTarifAchat(6.25);
                entree.SetNbPieces(100);
                entree.SetNbPiecesMl(4);
                entree.SetQuantite(2);
            }
        }
    }
    return devis;
}

void Ecrire(const DevisEchange& devis, const QString& fichier, const QString& prefixe)
{
    EcrireEchange(devis.poseGlobale, true, devis.quincailleriesGlobales, devis.menuiseries, fichier, prefixe);
}

void BM_EcrireEchange(benchmark::State& etat)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const DevisEchange devis = GrandDevis(static_cast<int>(etat.range(0)));
    QTemporaryDir dossier;
    for (auto _ : etat)
        Ecrire(devis, dossier.filePath(QStringLiteral("echange.xml")), dossier.filePath(QStringLiteral("archive")));
}

void BM_LireEchange(benchmark::State& etat)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("echange.xml"));
    Ecrire(GrandDevis(static_cast<int>(etat.range(0))), fichier, dossier.filePath(QStringLiteral("archive")));
    for (auto _ : etat) {
        const DevisEchange devis = LireEchange(fichier, dossier.filePath(QStringLiteral("archive")));
        benchmark::DoNotOptimize(devis.menuiseries.Nombre());
    }
}

void BM_TotauxDevis(benchmark::State& etat)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const DevisEchange devis = GrandDevis(static_cast<int>(etat.range(0)));
    for (auto _ : etat)
        benchmark::DoNotOptimize(devis.menuiseries.TotalTtc() + devis.menuiseries.TotalQuincaillerieHt());
}

} // namespace

// 500 and 2,000 items: the time must grow in proportion.
BENCHMARK(BM_EcrireEchange)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LireEchange)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TotauxDevis)->Arg(2000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
