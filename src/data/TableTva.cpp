#include "data/TableTva.h"

#include "data/DMPose.h"
#include "model/Formats.h"

namespace TableTva {

const QVector<LigneTva>& Lignes()
{
    return DMPose().rxTva();
}

std::unique_ptr<TTva> GetTva(int typeTva)
{
    return DMPose().GetTva(typeTva);
}

std::unique_ptr<TTva> GetTva(const QString& typeTva)
{
    const std::optional<int> type = LireEntier(typeTva);
    return type ? GetTva(*type) : nullptr;
}

double GetTauxTva(int typeTva)
{
    return DMPose().GetTauxTva(typeTva);
}

} // namespace TableTva
