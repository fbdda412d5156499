#pragma once

// Reference data of a test, held in tables of its own: the pricing session
// runs on them without any database, and they count the questions asked.

#include "model/Menuiserie.h"
#include "model/Quincaillerie.h"
#include "model/Tarif.h"
#include "pricing/DonneesChiffrage.h"

#include <QHash>
#include <QMap>

class DonneesEssai : public TDonneesChiffrage
{
public:
    QMap<int, TTva> tvas;
    QHash<QString, Pose> poses;
    QHash<QString, Poseur> poseurs;
    QHash<QString, double> prixGeneraux;         // by tariff key
    QHash<LignePoseur, double> prixPoseurs;      // by tariff and installer
    QHash<QString, double> ventesCatalogue;      // hardware sale price by key
    // The lines a family code brings: "label=price" by family.
    QHash<QString, QStringList> automatiques;
    mutable int questions = 0;

    DonneesEssai()
    {
        for (const auto& [type, libelle, taux] : {std::tuple{1, "TVA 20 %", 20.0}, {2, "TVA 10 %", 10.0},
                                                  {3, "TVA 5,5 %", 5.5}}) {
            TTva tva;
            tva.SetTypeTva(type);
            tva.SetLibelle(QString::fromUtf8(libelle));
            tva.SetValeur(taux);
            tvas.insert(type, tva);
        }
    }

    std::optional<TTva> Tva(int typeTva) const override
    {
        ++questions;
        return tvas.contains(typeTva) ? std::optional(tvas.value(typeTva)) : std::nullopt;
    }

    std::optional<Pose> LirePose(const QString& idPose) const override
    {
        ++questions;
        return poses.contains(idPose) ? std::optional(poses.value(idPose)) : std::nullopt;
    }

    Poseur LirePoseur(const QString& idPoseur) const override
    {
        ++questions;
        return poseurs.value(idPoseur);
    }

    QHash<QString, double> PrixGeneraux(const QStringList& idTarifs) const override
    {
        ++questions;
        QHash<QString, double> prix;
        for (const QString& id : idTarifs) {
            if (prixGeneraux.contains(id))
                prix.insert(id, prixGeneraux.value(id));
        }
        return prix;
    }

    QHash<LignePoseur, double> PrixPoseurs(const QVector<LignePoseur>& lignes) const override
    {
        ++questions;
        QHash<LignePoseur, double> prix;
        for (const LignePoseur& ligne : lignes) {
            if (prixPoseurs.contains(ligne))
                prix.insert(ligne, prixPoseurs.value(ligne));
        }
        return prix;
    }

    QVector<int> ActualiserQuincailleries(const QVector<TQuincailleries*>& listes) const override
    {
        ++questions;
        QVector<int> changees;
        for (TQuincailleries* liste : listes) {
            int nombre = 0;
            for (TQuincaillerie& entree : *liste) {
                if (ventesCatalogue.contains(entree.GetId()) && ventesCatalogue.value(entree.GetId()) != entree.GetTarifVente()) {
                    entree.SetTarifVente(ventesCatalogue.value(entree.GetId()));
                    ++nombre;
                }
            }
            changees << nombre;
        }
        return changees;
    }

    void AffecterTarifsAutomatiques(TMenuiseries& menuiseries, const TPoseLivraison& pose) const override
    {
        ++questions;
        // No kind has no tariff.
        if (menuiseries.NombreTarifs() > 0 || pose.GetId().isEmpty())
            return;
        for (TMenuiserie& menuiserie : menuiseries) {
            const QString famille = menuiserie.GetProprietes().GetValeur(QStringLiteral("TRELVANE_LIBELLE_CODE"));
            for (const QString& ligne : automatiques.value(famille)) {
                const QString libelle = ligne.section(u'=', 0, 0);
                menuiserie.GetTarifs().Ajouter(
                    TTarif::Nouveau(pose, QStringLiteral("A-") + libelle, libelle, ligne.section(u'=', 1).toDouble()));
            }
        }
    }
};
