#pragma once

// Which tariffs suit a joinery item: the general tariffs (installer 0) of an
// installation kind whose category has a type, listed under the category's
// name. Filtered, only those whose category's type carries the item's host
// family code (when the item has one) and whose constraints the item meets.
// A category whose name is empty is never offered. The tariff choice and the
// automatic lines of a quote both ask this.

#include "data/Contraintes.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <optional>

class TMenuiserie;

namespace TarifsConvenables {

struct Tarif
{
    QString cle;
    QString idCategorie;
    QString libelle;            // the category's name
    std::optional<double> prix; // nothing when the price is null
};

enum class Filtrage { FamilleEtContraintes, Aucun };

// The candidates of one installation kind, read once (two statements) and
// then matched against as many items as needed.
class Candidats
{
public:
    explicit Candidats(const QString& idPose);

    // By tariff key.
    QVector<Tarif> Pour(const TMenuiserie& menuiserie, Filtrage filtrage) const;

private:
    struct Candidat
    {
        Tarif tarif;
        std::optional<QString> famille; // the host family code of the category's type
    };

    QVector<Candidat> candidats;
    QHash<QString, QVector<ContrainteCategorie>> contraintes; // by category key
};

} // namespace TarifsConvenables
