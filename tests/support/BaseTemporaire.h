#pragma once

// A temporary program folder with a fresh database opened by a data module,
// the schema brought up to date, the French locale and a VAT table with the
// types 1 (20 %), 2 (10 %) and 3 (5,5 %). The database is Quarlo.abs in that
// folder, or a schema of its own on the test server when the test runs
// against one (BaseEssai.h). Everything is removed at the end.

#include "BaseEssai.h"
#include "data/DMPose.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <utility>

class BaseTemporaire
{
public:
    explicit BaseTemporaire(bool avecTva = true);
    ~BaseTemporaire();

    const QString& Dossier() const { return dossier; } // with a trailing '/'
    QString Fichier(const QString& nom) const { return dossier + nom; }
    TDMPose& Dm() { return dm; }
    Connexion& Base() { return dm.Quarlo(); }
    // What a program is given to reach the same database: the file's path,
    // or the server schema's connection string.
    QString Chaine() const;
    // What another connection opens to reach the same database.
    void OuvrirAutre(Connexion& autre) const;
    // What a second data module is given to reach the same database.
    void Designer(TDMPose& autre) const;

    // Runs a statement with parameters given as (name, value) pairs; returns
    // the key given by an INSERT (0 for any other statement).
    qint64 Executer(const QString& sql,
                    std::initializer_list<std::pair<QString, QVariant>> parametres = {});
    // First column of the first row, as text ("" when no row).
    QString Valeur(const QString& sql);
    int Compter(const QString& sql);

    // Makes every INSERT, UPDATE or DELETE (the event) on the table fail
    // with the text "refus" while the condition (on NEW, or OLD for a
    // DELETE) holds, until PlusDeRefus: a database refusing a write in the
    // middle of a group.
    void Refuser(const QString& evenement, const QString& table, const QString& condition = QStringLiteral("1 = 1"));
    void PlusDeRefus(const QString& evenement, const QString& table);

private:
    QTemporaryDir temporaire;
    QString dossier;
    std::unique_ptr<SchemaEssai> schema; // on a server only
    TDMPose dm;
};

// Sets the French locale for the test process (numbers "1234,50").
void UtiliserLocaleFrancaise();
