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
    if (EssaiSurServeur())
        schema = std::make_unique<SchemaEssai>();
    Designer(dm);
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

QString BaseTemporaire::Chaine() const
{
    return schema ? schema->Chaine() : dossier + QStringLiteral("Quarlo.abs");
}

void BaseTemporaire::OuvrirAutre(Connexion& autre) const
{
    if (schema)
        autre.OuvrirServeur(schema->Chaine());
    else
        autre.Ouvrir(dossier + QStringLiteral("Quarlo.abs"), kMotDePasseBase);
}

void BaseTemporaire::Designer(TDMPose& autre) const
{
    if (schema)
        autre.SetServeur(schema->Chaine());
    else
        autre.SetNomFichier(dossier + QStringLiteral("Quarlo.abs"));
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
    if (!sql.trimmed().startsWith(QStringLiteral("INSERT"), Qt::CaseInsensitive))
        return 0;
    return dm.Quarlo().DerniereCleInseree().toLongLong();
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

void BaseTemporaire::Refuser(const QString& evenement, const QString& table, const QString& condition)
{
    const QString nom = QStringLiteral("refus_%1_%2").arg(evenement, table).toLower();
    if (!schema) {
        dm.Quarlo().ExecuterScript(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 WHEN %4 "
                                                  "BEGIN SELECT RAISE(ABORT, 'refus'); END")
                                       .arg(nom, evenement, table, condition));
        return;
    }
    const QString ligne = evenement.compare(QStringLiteral("DELETE"), Qt::CaseInsensitive) == 0 ? QStringLiteral("OLD")
                                                                                                : QStringLiteral("NEW");
    dm.Quarlo().ExecuterScript(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS "
                                              "$$BEGIN IF %4 THEN RAISE EXCEPTION 'refus'; END IF; RETURN %5; END$$; "
                                              "CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION %1()")
                                   .arg(nom, evenement, table, condition, ligne));
}

void BaseTemporaire::PlusDeRefus(const QString& evenement, const QString& table)
{
    const QString nom = QStringLiteral("refus_%1_%2").arg(evenement, table).toLower();
    if (!schema)
        dm.Quarlo().ExecuterScript(QStringLiteral("DROP TRIGGER %1").arg(nom));
    else
        dm.Quarlo().ExecuterScript(QStringLiteral("DROP TRIGGER %1 ON %2; DROP FUNCTION %1()").arg(nom, table));
}
