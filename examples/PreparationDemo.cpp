#include "PreparationDemo.h"

#include "app/Configuration.h"
#include "data/DMPose.h"
#include "engine/Base.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace {

std::runtime_error Erreur(const QString& texte)
{
    return std::runtime_error(texte.toUtf8().toStdString());
}

QString LireScript(const QString& fichierScript)
{
    QFile fichier(fichierScript);
    if (!fichier.open(QIODevice::ReadOnly))
        throw Erreur(QStringLiteral("Impossible de lire le script %1 : %2")
                         .arg(fichierScript, fichier.errorString()));
    return QString::fromUtf8(fichier.readAll());
}

int Compter(Connexion& base, const QString& sql)
{
    Requete requete(base);
    requete.SetSql(sql);
    return static_cast<int>(requete.Ouvrir().Premiere().Entier(QStringLiteral("Nombre")));
}

// Keys are looked up by label or code in the script: a typo would leave a
// null key instead of failing.
void VerifierCles(Connexion& base)
{
    const struct
    {
        const char* table;
        const char* condition;
    } controles[] = {
        {"Categorie", "IdCategorieType IS NULL"},
        {"CategorieContrainte", "IdCategorie IS NULL OR IdOperande IS NULL"},
        {"Tarif", "IdPose IS NULL OR IdCategorie IS NULL OR IdPoseur IS NULL"},
    };
    for (const auto& controle : controles) {
        const int orphelines = Compter(base, QStringLiteral("SELECT COUNT(*) AS Nombre FROM %1 WHERE %2")
                                                 .arg(QLatin1String(controle.table),
                                                      QLatin1String(controle.condition)));
        if (orphelines > 0)
            throw Erreur(QStringLiteral("Table %1 : %2 ligne(s) citent une clé introuvable.")
                             .arg(QLatin1String(controle.table))
                             .arg(orphelines));
    }
}

QStringList Resume(Connexion& base)
{
    QStringList lignes;
    for (const char* table : {"Poseur", "Pose", "CategorieType", "Categorie", "CategorieContrainte",
                              "Tarif", "Quincaillerie"}) {
        const QString nom = QLatin1String(table);
        lignes << QStringLiteral("%1 : %2").arg(nom).arg(
            Compter(base, QStringLiteral("SELECT COUNT(*) AS Nombre FROM %1").arg(nom)));
    }
    return lignes;
}

void SupprimerAncienneBase(const QString& fichier)
{
    for (const QString& chemin : {fichier, fichier + QStringLiteral("-journal")}) {
        if (QFile::exists(chemin) && !QFile::remove(chemin))
            throw Erreur(QStringLiteral("Impossible de remplacer %1.").arg(chemin));
    }
}

} // namespace

QStringList PreparerBaseDemo(const QString& dossier, const QString& fichierConfig,
                             const QString& fichierScript)
{
    if (!QFile::exists(fichierConfig))
        throw Erreur(QStringLiteral("Le fichier de configuration n'existe pas : %1").arg(fichierConfig));
    const QString script = LireScript(fichierScript);
    if (!QDir().mkpath(dossier))
        throw Erreur(QStringLiteral("Impossible de créer le dossier %1.").arg(dossier));
    const QString fichierBase = QDir(dossier).filePath(QStringLiteral("Quarlo.abs"));
    SupprimerAncienneBase(fichierBase);

    TDMPose dm;
    dm.SetNomFichier(fichierBase);
    dm.Ouvrir();
    const QStringList messages = dm.RestructureBase();
    if (!messages.isEmpty())
        throw Erreur(messages.join(QLatin1Char('\n')));

    // The installer tariffs of the script find their installers by Code.
    LirePoseurs(fichierConfig);
    Transaction transaction(dm.Quarlo());
    dm.Quarlo().ExecuterScript(script);
    VerifierCles(dm.Quarlo());
    transaction.Valider();

    const QStringList resume = Resume(dm.Quarlo());
    dm.Fermer();
    return resume;
}
