#pragma once

// The values a window read of a record, as the condition that keeps the
// statement writing over it from applying once another copy has changed
// them. The comparison is in the statement itself, so it holds inside the
// write's transaction on every back end. Internal to the data units.

#include "data/Enregistrement.h"
#include "engine/Base.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <optional>

class ValeursLues
{
public:
    // A text read as Ligne::Texte reads it (null as ""), from a text column.
    ValeursLues& Texte(const QString& colonne, const QString& valeur);
    // A decimal read as Ligne::Decimal reads it (null as 0).
    ValeursLues& Decimal(const QString& colonne, double valeur);
    // A whole number, or nothing for null.
    ValeursLues& Entier(const QString& colonne, const std::optional<qint64>& valeur);
    // A column read as "is 1".
    ValeursLues& Drapeau(const QString& colonne, bool valeur);

    // " AND ..." for each value, its parameter named after the column
    // followed by "Lu".
    QString Condition() const;
    void Lier(Requete& requete) const;

private:
    struct Valeur
    {
        QString condition;
        QString parametre; // "" when the condition needs none
        QVariant valeur;
    };
    QVector<Valeur> valeurs;
};

// What an UPDATE over the values read found: written, or, when it changed
// nothing, whether the record is still there (changed by another copy) or
// gone. The key is bound as text under its column's name.
Enregistrement Constat(int lignesEcrites, const QString& table, const QString& colonneCle, const QString& cle);

// Deletes the row of that key while it still holds the values a list read
// of it (`lues`), and says what became of it as Constat does: deleted,
// changed by another copy (nothing deleted) or already gone.
Enregistrement SupprimerLu(Requete& requete, const QString& table, const QString& colonneCle, const QString& cle,
                           const ValeursLues& lues);
