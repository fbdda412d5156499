#pragma once

// A temporary program folder with a fresh Quarlo.abs opened by a data module,
// the schema brought up to date, the French locale and a VAT table with the
// types 1 (20 %), 2 (10 %) and 3 (5,5 %). Everything is removed at the end.

#include "data/DMPose.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <initializer_list>
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

    // Runs a statement with parameters given as (name, value) pairs; returns
    // the key given by an INSERT.
    qint64 Executer(const QString& sql,
                    std::initializer_list<std::pair<QString, QVariant>> parametres = {});
    // First column of the first row, as text ("" when no row).
    QString Valeur(const QString& sql);
    int Compter(const QString& sql);

private:
    QTemporaryDir temporaire;
    QString dossier;
    TDMPose dm;
};

// Sets the French locale for the test process (numbers "1234,50").
void UtiliserLocaleFrancaise();
