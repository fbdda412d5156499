#include "data/Poseurs.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"

#include <QSet>

namespace {

const QString kSqlChercherPoseur =
    QStringLiteral("SELECT * FROM Poseur WHERE Code = :Code ORDER BY Nom ASC");

const QString kSqlModifierPoseur = QStringLiteral(
    "UPDATE Poseur SET Nom = :Nom , Rue1 = :Rue1, Rue2 = :Rue2, Cp = :Cp, Ville = :Ville, "
    "Tel = :Tel, Fax = :Fax, Portable = :Portable, Mail = :Mail, Contact = :Contact, "
    "Siret = :Siret, RGE = :RGE WHERE Code = :Code");

const QString kSqlAjouterPoseur = QStringLiteral(
    "INSERT INTO Poseur ( Code, Nom, Rue1, Rue2, Cp, Ville, Tel, Fax, Portable, Mail, Contact, "
    "Siret, RGE) VALUES ( :Code , :Nom, :Rue1, :Rue2, :Cp, :Ville , :Tel, :Fax, :Portable, "
    ":Mail, :Contact, :Siret, :RGE)");

// A code found several times is ambiguous: a new row is added and the
// existing ones are left alone.
void EcrirePoseur(TDMPose& dm, const Poseurs::ValeursHote& valeurs)
{
    const QString& code = valeurs[0];
    const bool connu = LireParCle(dm.qrySelect(), kSqlChercherPoseur, QStringLiteral("Code"), code)
                           .NombreLignes()
                       == 1;
    Requete& exec = dm.qryExec();
    exec.SetSql(connu ? kSqlModifierPoseur : kSqlAjouterPoseur);
    for (int i = 0; i < Poseurs::kNombreChampsHote; ++i)
        exec.LierTexte(Poseurs::ChampsHote()[i], valeurs[i]);
    exec.Executer();
    exec.ViderParametres();
}

} // namespace

namespace Poseurs {

const std::array<QString, kNombreChampsHote>& ChampsHote()
{
    static const std::array<QString, kNombreChampsHote> champs = {
        QStringLiteral("Code"),  QStringLiteral("Nom"),      QStringLiteral("Rue1"),
        QStringLiteral("Rue2"),  QStringLiteral("Cp"),       QStringLiteral("Ville"),
        QStringLiteral("Tel"),   QStringLiteral("Fax"),      QStringLiteral("Portable"),
        QStringLiteral("Mail"),  QStringLiteral("Contact"),  QStringLiteral("Siret"),
        QStringLiteral("RGE"),
    };
    return champs;
}

QVector<Poseur> Lister()
{
    QVector<Poseur> poseurs;
    const Resultat lignes = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdPoseur, Code, Nom, Rue1, Rue2, cp, Ville, Siret, RGE FROM poseur ORDER BY Nom ASC"));
    for (const Ligne& ligne : lignes) {
        const auto texte = [&ligne](const char* colonne) { return ligne.Texte(QLatin1String(colonne)); };
        poseurs.append({texte("IdPoseur"), texte("Code"), texte("Nom"), texte("Rue1"), texte("Rue2"), texte("Cp"),
                        texte("Ville"), texte("RGE"), texte("Siret")});
    }
    return poseurs;
}

int Supprimer(const QString& cle)
{
    return ExecuterParCle(DMPose().qryDelete(), QStringLiteral("DELETE FROM Poseur WHERE IdPoseur = :IdPoseur"),
                          QStringLiteral("IdPoseur"), cle);
}

QString Nom(const QString& cle)
{
    const Resultat poseurs =
        LireParCle(DMPose().qrySelect(),
                   QStringLiteral("SELECT Nom FROM Poseur WHERE IdPoseur = :IdPoseur ORDER BY Nom ASC"),
                   QStringLiteral("IdPoseur"), cle);
    return poseurs.NombreLignes() == 1 ? poseurs.Premiere().Texte(QStringLiteral("Nom")) : QString();
}

QHash<QString, QString> Noms(const QStringList& cles)
{
    const QHash<qint64, QStringList> parEntier = ClesParEntier(cles);
    QHash<qint64, QString> noms;
    QSet<qint64> doubles;
    Requete requete(DMPose().Quarlo());
    LireParTranches(requete, QStringLiteral("SELECT IdPoseur AS Cle, Nom FROM Poseur WHERE IdPoseur IN (:IdPoseurs)"),
                    QStringLiteral("IdPoseurs"), parEntier.keys(), [&](const Ligne& ligne) {
                        const qint64 cle = ligne.Entier(QStringLiteral("Cle"));
                        if (noms.contains(cle))
                            doubles.insert(cle);
                        noms.insert(cle, ligne.Texte(QStringLiteral("Nom")));
                    });
    QHash<QString, QString> resultat;
    for (auto nom = noms.cbegin(); nom != noms.cend(); ++nom)
        if (!doubles.contains(nom.key()))
            for (const QString& cle : parEntier.value(nom.key()))
                resultat.insert(cle, nom.value());
    return resultat;
}

Identite LireIdentite(const QString& cle)
{
    const Resultat poseurs =
        LireParCle(DMPose().qrySelect(),
                   QStringLiteral("SELECT Nom, Siret, RGE FROM Poseur where IdPoseur = :IdPoseur ORDER BY Nom ASC"),
                   QStringLiteral("IdPoseur"), cle);
    if (poseurs.NombreLignes() != 1)
        return {};
    const Ligne& poseur = poseurs.Premiere();
    return {poseur.Texte(QStringLiteral("Nom")), poseur.Texte(QStringLiteral("Siret")),
            poseur.Texte(QStringLiteral("RGE"))};
}

void EnregistrerPoseursHote(const QVector<ValeursHote>& poseurs)
{
    // Without installers the file is not written to at all.
    if (poseurs.isEmpty())
        return;
    TDMPose& dm = DMPose();
    Transaction transaction(dm.Quarlo());
    for (const ValeursHote& valeurs : poseurs)
        EcrirePoseur(dm, valeurs);
    transaction.Valider();
}

} // namespace Poseurs
