#include "DevisBanc.h"

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
