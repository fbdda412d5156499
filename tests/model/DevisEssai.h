#pragma once

// A quote whose answer file takes a few milliseconds to write: `nombre` items
// of two installation lines with their hardware, every label carrying
// `marque` so two quotes never give the same file. Shared by the
// interrupted-write test and the writer it starts.

#include "model/Echange.h"

inline DevisEchange DevisEssai(int nombre, const QString& marque)
{
    DevisEchange devis;
    devis.poseGlobale.SetLibelle(QStringLiteral("Pose %1").arg(marque));
    devis.poseGlobale.GetTva().SetTypeTva(1);
    for (int i = 0; i < nombre; ++i) {
        TMenuiserie& menuiserie = devis.menuiseries.Ajouter(std::make_unique<TMenuiserie>());
        menuiserie.SetCode(QStringLiteral("%1-%2").arg(marque).arg(i));
        menuiserie.SetLibelle(QStringLiteral("Fenêtre %1 n° %2").arg(marque).arg(i));
        menuiserie.SetQuantite(1 + i % 3);
        menuiserie.GetProprietes().Ajouter(QStringLiteral("LARGEUR"), QString::number(600 + i));
        for (int l = 0; l < 2; ++l) {
            TTarif& ligne = menuiserie.GetTarifs().Ajouter(std::make_unique<TTarif>());
            ligne.SetLibelle(QStringLiteral("Pose %1 %2").arg(marque).arg(l));
            ligne.SetPrix(100.25 * (l + 1));
            TQuincaillerie& vis = ligne.GetQuincailleries().Ajouter();
            vis.SetLibelle(QStringLiteral("Vis %1").arg(marque));
            vis.SetQuantite(i);
        }
    }
    return devis;
}
