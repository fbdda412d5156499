#pragma once

// The data module: the one connection to Quarlo.abs, the shared queries every
// window uses, the schema creation and upgrade, and the in-memory VAT table
// read from the host's configuration file.

#include "data/TableTva.h"
#include "engine/Base.h"
#include "model/Tva.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

// The password of Quarlo.abs.
extern const QByteArray kMotDePasseBase;

class TDMPose
{
public:
    // Makes this instance the one returned by DMPose().
    TDMPose();
    ~TDMPose();
    TDMPose(const TDMPose&) = delete;
    TDMPose& operator=(const TDMPose&) = delete;

    // Connection. Ouvrir() creates a missing file with the whole schema and
    // the five operands; an existing file is never recreated.
    void SetNomFichier(const QString& fichier) { nomFichier = fichier; }
    const QString& NomFichier() const { return nomFichier; }
    void Ouvrir();
    void Fermer();
    bool EstConnecte() const { return base.EstConnectee(); }
    Connexion& Quarlo() { return base; }

    // Brings the open database up to date. Each step runs whatever the
    // previous one gave; the messages of the failed steps are returned, in
    // order, for the caller to show (the start never stops on them).
    QStringList RestructureBase();

    // Shared queries.
    Requete& qrySelect() { return select; }
    Requete& qrySousSelect() { return sousSelect; }
    Requete& qryComparaison() { return comparaison; }
    Requete& qryDelete() { return suppression; }
    Requete& qryExec() { return exec; }

    // The last key given to Categorie.IdCategorie, as text.
    QString DernierIdCategorie();

    // In-memory VAT table.
    const QVector<LigneTva>& rxTva() const { return tva; }
    void AjouterTva(int typeTva, const QString& libelle, double valeur); // keeps 30 characters
    void ViderTva() { tva.clear(); }
    // A VAT built from the last row of that type; nothing when none.
    std::unique_ptr<TTva> GetTva(int typeTva) const;
    // The rate of the last row of that type; -1 when none.
    double GetTauxTva(int typeTva) const;

private:
    QString nomFichier;
    Connexion base;
    Requete select{base};
    Requete sousSelect{base};
    Requete comparaison{base};
    Requete suppression{base};
    Requete exec{base};
    QVector<LigneTva> tva;

    void CreerSchema();
    bool BaseVide();
    bool TableVide(const QString& table);
    // The steps of RestructureBase; each adds its failure to the messages.
    void CreerTrelvaneLibelle(QStringList& messages);
    void RemplirTrelvaneLibelle(QStringList& messages);
    void AjouterColonnesCategorieType(QStringList& messages);
    void AjouterColonnesPoseur(QStringList& messages);
    void IndexerTarifs(QStringList& messages);
    const LigneTva* DerniereTva(int typeTva) const;
};

// The data module of the running program (the most recently created one).
TDMPose& DMPose();
