#pragma once

// Which categories suit a joinery item: each category carries constraints
// (an operand code, an operator and a threshold) that the item's dimensions
// must all meet. Used by the tariff choice and by the automatic lines of the
// pricing screen.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class TMenuiserie;

// True when every constraint of the category holds for the item; a category
// without constraints suits every item. Stops at the first failing constraint.
bool VerifierContraintes(const QString& idCategorie, const TMenuiserie& menuiserie);

// One constraint: the item's value for the operand code on the left of the
// operator, the threshold on the right. Understood codes (exact case):
// HAUTEUR, LARGEUR, VANTAIL, PERIMETRE and LARGEUR_VANTAIL (width per leaf,
// whole-number division); operators "=", ">", ">=", "<", "<=". Any other code
// or operator fails; a value that is not a whole number counts as 0.
bool TesterContrainte(const QString& code, const QString& operateur, const QString& valeur,
                      const TMenuiserie& menuiserie);

// The constraints of many categories read in one statement, for the callers
// that test many categories against many items (the automatic lines, the
// tariff choice): by category key.
struct ContrainteLue
{
    QString code;
    QString operateur;
    QString valeur;
};
using ContraintesCategories = QHash<QString, QVector<ContrainteLue>>;
ContraintesCategories LireContraintes(const QStringList& idCategories);

// VerifierContraintes on constraints read beforehand: a category they do not
// hold has none, and suits every item.
bool VerifierContraintes(const ContraintesCategories& contraintes, const QString& idCategorie,
                         const TMenuiserie& menuiserie);
