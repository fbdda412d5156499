#pragma once

// The data module: the one connection to the reference data (the file
// Quarlo.abs beside the program, or a server database), the shared queries
// every window uses, the schema creation and upgrade, and the in-memory VAT
// table read from the host's configuration file. The database layer itself
// stays behind it: only the data units see it.

#include "data/TableTva.h"
#include "model/Tva.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class Connexion;
class Requete;

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

    // Where the reference data lives: a file, or a server database given by
    // a libpq connection string. The last one set is used.
    void SetNomFichier(const QString& fichier);
    void SetServeur(const QString& chaineConnexion);
    // As Module_Quarlo.ini beside the program says: section [Base], key
    // Connexion, a connection string; missing or empty, Quarlo.abs there.
    void ChoisirBase(const QString& dossierProgramme);
    const QString& NomFichier() const { return nomFichier; }
    const QString& Serveur() const { return serveur; }

    // Connection. Ouvrir() gives a database without any table (a missing
    // file, an empty server database) the whole schema and the five
    // operands; an existing file is never recreated.
    void Ouvrir();
    void Fermer();
    bool EstConnecte() const;
    // The last opening had to create the schema: the reference data is empty.
    bool BaseCreee() const { return baseCreee; }
    // How messages name the database (its file, or the database and its server).
    QString Designation() const;
    Connexion& Quarlo();

    // Brings the open database up to date. Each step runs whatever the
    // previous one gave; the messages of the failed steps are returned, in
    // order, for the caller to show (the start never stops on them).
    QStringList RestructureBase();

    // Shared queries.
    Requete& qrySelect();
    Requete& qrySousSelect();
    Requete& qryComparaison();
    Requete& qryDelete();
    Requete& qryExec();

    // The connection may change the reference data the administration
    // maintains (on a server, the user may be one of the pricing
    // workstations', which only read it and write the host's installers).
    bool PeutAdministrer();
    // The user a server connection works as; "" on the file.
    QString Utilisateur() const;

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
    struct Base;
    QString nomFichier;
    QString serveur;
    bool baseCreee = false;
    std::unique_ptr<Base> base;
    QVector<LigneTva> tva;

    void CreerSchema();
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
