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

} // namespace Tarifs
