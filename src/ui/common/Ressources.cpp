#include "ui/common/Ressources.h"

#include <QtGlobal>

void ChargerRessources()
{
    static const bool chargees = [] {
        Q_INIT_RESOURCE(quarlo);
        return true;
    }();
    Q_UNUSED(chargees);
}
