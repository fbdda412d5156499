#pragma once

// Installation kinds (table Pose): the kind of work, its export code, its
// VAT type and the price and export code of its four delivery surcharges.

#include "data/Enregistrement.h"
#include "data/Entree.h"
#include "model/Pose.h"

#include <QString>
#include <QVector>
#include <array>
#include <optional>

namespace Poses {

// A kind as stored. Prices and export codes of the surcharges follow the
// order of TPoseLivraison's options.
struct Pose
{
    QString libelle;
    QString codeExport;
    std::array<double, TPoseLivraison::kNombreOptions> prix{};
    std::array<QString, TPoseLivraison::kNombreOptions> codesExport;
    std::optional<int> typeTva; // nothing when the kind has none
};

// A row of the list of kinds.
struct LignePose
{
    QString cle;
    QString libelle;
    QString codeExport;
    std::optional<int> typeTva;
};

// Every kind, by label: key and label.
QVector<Entree> Libelles();
// Every kind, by label, as the list of kinds shows it.
QVector<LignePose> Lister();
// The kind of that key; nothing unless exactly one row has it.
std::optional<Pose> Lire(const QString& cle);
// Inserts the kind when the key is empty, else updates the row of that key
// while it still holds what was read of it (`lue`, nothing when it was not
// found). Texts are stored exactly as given.
Enregistrement Enregistrer(const QString& cle, const Pose& pose, int typeTva, const std::optional<Pose>& lue);
// Deletes the kind of that row of the list only (its tariff rows stay),
// while it still holds what the list read of it; otherwise nothing is
// deleted and the state says why.
Enregistrement Supprimer(const LignePose& lue);

} // namespace Poses
