#pragma once

// Installation prices (table Tarif): one price per installation kind,
// category and installer; installer 0 is the general sale tariff.

#include <QString>
#include <QVector>
#include <optional>

namespace Tarifs {

// The installer key of the general sale tariff.
inline const QString kPoseurGeneral = QStringLiteral("0");

struct TarifGeneral
{
    QString cle;
    QString idCategorie;
    std::optional<double> prix; // nothing when the price is null
};

// The general tariffs of an installation kind, by key.
QVector<TarifGeneral> Generaux(const QString& idPose);

// The price the general tariff (installer 0) of the line's installation kind
// and category has now; nothing when the line's tariff row is gone. Runs on
// a query of its own, so it may be called while painting.
std::optional<double> PrixGeneral(const QString& idTarif);

// An installer's own price for the work of a line: his row of the same
// installation kind and category as the line's tariff row, the highest key
// when he has several; nothing when he has none.
std::optional<double> PrixPoseur(const QString& idTarif, const QString& idPoseur);

// An installer's price under another installation kind, in the category of
// the tariff row chosen for a line; nothing when that row or his price is
// missing.
std::optional<double> PrixPoseurPourPose(const QString& idPose, const QString& idTarif, const QString& idPoseur);

} // namespace Tarifs
