#pragma once

// Reference data written straight into the temporary database, and joinery
// items built from "NAME=value" texts.

#include "BaseTemporaire.h"

#include <QStringList>
#include <QVariant>
#include <array>
#include <memory>

class TMenuiserie;

std::unique_ptr<TMenuiserie> NouvelleMenuiserie(const QStringList& proprietes);

class DonneesReference
{
public:
    explicit DonneesReference(BaseTemporaire& base) : base(base) {}

    QString Type(const QString& libelle, const QVariant& famille);
    QString Categorie(const QString& libelle, const QString& idType);
    // An operand code that the database lacks is added first.
    QString Contrainte(const QString& idCategorie, const QString& code, const QString& operateur,
                       const QString& valeur);
    QString Pose(const QString& libelle);
    // A kind with its four surcharge prices and its VAT type; its export code
    // is the one given, else the first three letters of the label; those of
    // the surcharges are "L", "LC", "LA" and "LM".
    QString Pose(const QString& libelle, const std::array<double, 4>& prix, int typeTva,
                 const QString& codeExport = {});
    QString Tarif(const QString& idPose, const QString& idCategorie, const QVariant& prix,
                  const QString& idPoseur = QStringLiteral("0"));
    QString Poseur(const QString& code, const QString& nom, const QStringList& adresse = {});
    // A hardware catalogue entry; its export code is the one given, else "Q"
    // and its key.
    QString EntreeCatalogue(const QString& libelle, const QString& libelle2, double vente, double achat,
                            double nbPieces, double nbPiecesMl, int secable, const QString& codeExport = {});
    // The key of the operand of that code, added first when the database
    // lacks it.
    QString IdOperande(const QString& code);

private:
    BaseTemporaire& base;
};
