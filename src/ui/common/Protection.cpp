#include "ui/common/Protection.h"

QString TexteErreur(const std::exception& erreur)
{
    return QString::fromUtf8(erreur.what());
}
