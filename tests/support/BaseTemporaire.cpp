#include "BaseTemporaire.h"

#include "ui/common/DossierProgramme.h"

#include <QLocale>
#include <QtTest>

void UtiliserLocaleFrancaise()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

BaseTemporaire::BaseTemporaire(bool avecTva)
{
    UtiliserLocaleFrancaise();
    if (!temporaire.isValid())
        qFatal("Cannot create a temporary folder");
    dossier = temporaire.path() + QLatin1Char('/');
    SetDossierProgramme(dossier);
    dm.SetNomFichier(dossier + QStringLiteral("Quarlo.abs"));
    dm.Ouvrir();
    dm.RestructureBase();
    if (avecTva) {
        dm.AjouterTva(1, QStringLiteral("TVA 20 %"), 20.0);
        dm.AjouterTva(2, QStringLiteral("TVA 10 %"), 10.0);
        dm.AjouterTva(3, QStringLiteral("TVA 5,5 %"), 5.5);
    }
}

BaseTemporaire::~BaseTemporaire()
{
    dm.Fermer();
    SetDossierProgramme(QString());
}

qint64 BaseTemporaire::Executer(const QString& sql,
                                std::initializer_list<std::pair<QString, QVariant>> parametres)
{
    Requete requete(dm.Quarlo());
    requete.SetSql(sql);
    for (const auto& [nom, valeur] : parametres) {
        switch (valeur.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
            requete.LierEntier(nom, valeur.toLongLong());
            break;
        case QMetaType::Double:
            requete.LierDecimal(nom, valeur.toDouble());
            break;
        default:
            if (valeur.isNull())
                requete.LierNul(nom);
            else
                requete.LierTexte(nom, valeur.toString());
        }
    }
    requete.Executer();
    return Valeur(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
}

QString BaseTemporaire::Valeur(const QString& sql)
{
    Requete requete(dm.Quarlo());
    requete.SetSql(sql);
    const Resultat& lignes = requete.Ouvrir();
    if (lignes.EstVide())
        return {};
    // The first column, whatever its name.
    return lignes.Premiere().ValeurIndice(0).toString();
}

int BaseTemporaire::Compter(const QString& sql)
{
    return Valeur(sql).toInt();
}
