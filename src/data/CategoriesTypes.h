#pragma once

// Category types (table CategorieType): they group categories, prefix their
// names and tie them to a joinery family of the host (table TrelvaneLibelle).

#include "data/Enregistrement.h"
#include "data/Entree.h"

#include <QString>
#include <QVector>
#include <optional>

namespace CategoriesTypes {

// The family code of a type that has none.
inline const QString kSansFamille = QStringLiteral("00000");
// The property of an item that names its family.
inline const QString kProprieteFamille = QStringLiteral("TRELVANE_LIBELLE_CODE");

struct Type
{
    QString libelle;
    QString famille; // a TrelvaneLibelle code, kSansFamille or ""
    QString motsClefs;
};

// A row of the list of types: the name of its family ("" when none matches)
// and the code the row holds.
struct LigneType
{
    QString cle;
    QString libelle;
    QString famille;
    QString codeFamille;
};

// Every type, by label: key and label.
QVector<Entree> Libelles();
// Every type, by label, with the name of its family.
QVector<LigneType> Lister();
// The host's families, by name: code and name.
QVector<Entree> Familles();
// The type of that key; nothing unless exactly one row has it.
std::optional<Type> Lire(const QString& cle);
// Inserts the type when the key is empty, else updates it while it still
// holds what was read of it (`lu`, nothing when it was not found); texts as
// given.
Enregistrement Enregistrer(const QString& cle, const Type& type, const std::optional<Type>& lu);
// Deletes the type of that row of the list only (its categories keep their
// type key), while it still holds what the list read of it; otherwise
// nothing is deleted and the state says why.
Enregistrement Supprimer(const LigneType& lue);

} // namespace CategoriesTypes
