#include "ui/common/DossierProgramme.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString dossierImpose;

QString AvecSeparateur(const QString& dossier)
{
    return dossier.endsWith(QLatin1Char('/')) ? dossier : dossier + QLatin1Char('/');
}
} // namespace

QString DossierProgramme()
{
    if (!dossierImpose.isEmpty())
        return dossierImpose;
    return AvecSeparateur(QCoreApplication::applicationDirPath());
}

void SetDossierProgramme(const QString& dossier)
{
    dossierImpose = dossier.isEmpty() ? QString() : AvecSeparateur(QDir::cleanPath(dossier));
}
