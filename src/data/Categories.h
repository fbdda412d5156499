#pragma once

// Categories (table Categorie), the second key of every tariff, with their
// constraints (table CategorieContrainte).

#include "data/Enregistrement.h"
#include "data/Entree.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// The name under which a category is shown everywhere (lists, tariff lines,
// the grid and its export): the label of its type, one space and its own
// label; the type's label alone when its own is empty; its own label alone
// when it has no type or its type is gone.
QString NomCategorie(const std::optional<QString>& typeLibelle, const QString& libelle);

namespace Categories {

// The type key of a category without type.
inline const QString kSansType = QStringLiteral("-1");

struct Categorie
{
    QString libelle;
    QString idCategorieType; // "" when the row holds none
};

// One constraint of a category. A stored constraint has its key; a new one
// (or each one of a copy) has none.
struct Contrainte
{
    QString cle;
    QString idOperande;
    QString operande; // the operand's label
    QString operateur;
    QString valeur;
};

// A category whose type exists, with the labels its name is made of.
struct CategorieTypee
{
    QString cle;
    QString idCategorieType;
    QString typeLibelle;
    QString libelle;

    QString Nom() const { return NomCategorie(typeLibelle, libelle); }
};

// A row of the list of categories: its name, and the row as read.
struct LigneCategorie
{
    QString cle;
    QString nom;
    Categorie categorie;
};

// Every category under its name, by label (the caller sorts the names).
QVector<Entree> Lister();
// The same rows, each with what was read of it.
QVector<LigneCategorie> Lignes();
// The categories whose type exists, by type label, then label.
QVector<CategorieTypee> AvecType();
// The category of that key; nothing unless exactly one row has it.
std::optional<Categorie> Lire(const QString& cle);
// Its constraints, in the order the database gives them.
QVector<Contrainte> Contraintes(const QString& cle);
// A category as an edit window read it, with its constraints.
struct CategorieLue
{
    Categorie categorie;
    QVector<Contrainte> contraintes;
};

struct CategorieEnregistree
{
    Enregistrement etat;
    QString cle; // the category's key once written
};

// Writes the category (inserted when the key is empty; a category whose
// type key is empty, its type having gone, is kept without type), deletes
// the stored constraints whose keys are given, then writes each constraint
// (updated when it has a key, inserted otherwise), all in one transaction
// and in as many statements for many constraints as for one.
// An existing category is written only while it and its constraints are
// still as read (`lue`, nothing when it was not found): otherwise nothing is
// written and the state says why.
CategorieEnregistree Enregistrer(const QString& cle, const Categorie& categorie, const QVector<Contrainte>& contraintes,
                                 const QStringList& contraintesSupprimees, const std::optional<CategorieLue>& lue);
// Deletes the category of that row of the list with its constraints and
// all its tariffs, in one transaction, while it still holds what the list
// read of it; otherwise nothing is deleted. A category already gone still
// takes the constraints and tariffs left under its key.
Enregistrement Supprimer(const LigneCategorie& lue);

} // namespace Categories
