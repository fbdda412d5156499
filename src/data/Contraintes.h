#pragma once

// Which categories suit a joinery item: each category carries constraints
// (an operand code, an operator and a threshold) that the item's dimensions
// must all meet. Used by the tariff choice and by the automatic lines of the
// pricing screen.

#include <QHash>
#include <QString>
#include <QVector>

class TMenuiserie;

// One constraint as stored: the operand's code, the operator, the threshold.
struct ContrainteCategorie
{
    QString code;
    QString operateur;
    QString valeur;
};

// True when every constraint of the category holds for the item; a category
// without constraints suits every item. Stops at the first failing constraint.
bool VerifierContraintes(const QString& idCategorie, const TMenuiserie& menuiserie);

// The constraints of every category that has a general tariff (installer 0)
// of the installation kind, by category key, read in one statement.
QHash<QString, QVector<ContrainteCategorie>> ContraintesDesTarifsGeneraux(const QString& idPose);

// True when the item meets every one of the constraints (none: true).
bool ContraintesTenues(const QVector<ContrainteCategorie>& contraintes, const TMenuiserie& menuiserie);

// One constraint: the item's value for the operand code on the left of the
// operator, the threshold on the right. Understood codes (exact case):
// HAUTEUR, LARGEUR, VANTAIL, PERIMETRE and LARGEUR_VANTAIL (width per leaf,
// whole-number division); operators "=", ">", ">=", "<", "<=". Any other code
// or operator fails; a value that is not a whole number counts as 0.
bool TesterContrainte(const QString& code, const QString& operateur, const QString& valeur,
                      const TMenuiserie& menuiserie);
