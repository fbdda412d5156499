#include "data/Contraintes.h"

#include "data/DMPose.h"
#include "engine/Base.h"
#include "model/Formats.h"
#include "model/Menuiserie.h"

#include <algorithm>

namespace {

const QString kSqlContraintes = QStringLiteral(
    "select c.IdCategorie as IdCategorie, o.Code as Code, c.operateur as Operateur, c.valeur as Valeur"
    " FROM CategorieContrainte c, Operande o"
    " WHERE c.IdOperande = o.IdOperande");
const QString kSqlDeLaCategorie = QStringLiteral(" AND c.IdCategorie = :IdCategorie");
const QString kSqlDesTarifsGeneraux =
    QStringLiteral(" AND c.IdCategorie IN (SELECT IdCategorie FROM Tarif WHERE IdPose = :IdPose AND IdPoseur = 0)");

ContrainteCategorie LireContrainte(const Ligne& ligne)
{
    return {ligne.Texte(QStringLiteral("Code")), ligne.Texte(QStringLiteral("Operateur")),
            ligne.Texte(QStringLiteral("Valeur"))};
}

Resultat LireContraintes(const QString& filtre, const QString& parametre, const QString& valeur)
{
    Requete& requete = DMPose().qryComparaison();
    requete.SetSql(kSqlContraintes + filtre);
    requete.LierTexte(parametre, valeur);
    Resultat lignes = requete.Ouvrir();
    requete.ViderParametres();
    requete.Fermer();
    return lignes;
}

// Unknown operators (blanks around a known one included) never hold.
bool Comparer(int valeurMenuiserie, const QString& operateur, int seuil)
{
    if (operateur == u"=")
        return valeurMenuiserie == seuil;
    if (operateur == u">")
        return valeurMenuiserie > seuil;
    if (operateur == u">=")
        return valeurMenuiserie >= seuil;
    if (operateur == u"<")
        return valeurMenuiserie < seuil;
    if (operateur == u"<=")
        return valeurMenuiserie <= seuil;
    return false;
}

bool EstCodeDirect(const QString& code)
{
    return code == u"PERIMETRE" || code == u"VANTAIL" || code == u"HAUTEUR" || code == u"LARGEUR";
}

int ValeurEntiere(const TMenuiserie& menuiserie, const QString& nom)
{
    return LireEntierOuZero(menuiserie.GetProprietes().GetValeur(nom));
}

} // namespace

bool TesterContrainte(const QString& code, const QString& operateur, const QString& valeur,
                      const TMenuiserie& menuiserie)
{
    const int seuil = LireEntierOuZero(valeur);
    if (EstCodeDirect(code))
        return Comparer(ValeurEntiere(menuiserie, code), operateur, seuil);
    if (code == u"LARGEUR_VANTAIL") {
        // Computed here in whole numbers, not read from the derived
        // LARGEUR_VANTAIL value, which is a decimal.
        const int vantaux = ValeurEntiere(menuiserie, QStringLiteral("VANTAIL"));
        if (vantaux < 1)
            return false;
        const int largeurVantail = ValeurEntiere(menuiserie, QStringLiteral("LARGEUR")) / vantaux;
        return Comparer(largeurVantail, operateur, seuil);
    }
    return false;
}

bool ContraintesTenues(const QVector<ContrainteCategorie>& contraintes, const TMenuiserie& menuiserie)
{
    return std::all_of(contraintes.begin(), contraintes.end(), [&menuiserie](const ContrainteCategorie& contrainte) {
        return TesterContrainte(contrainte.code, contrainte.operateur, contrainte.valeur, menuiserie);
    });
}

bool VerifierContraintes(const QString& idCategorie, const TMenuiserie& menuiserie)
{
    QVector<ContrainteCategorie> contraintes;
    for (const Ligne& ligne : LireContraintes(kSqlDeLaCategorie, QStringLiteral("IdCategorie"), idCategorie))
        contraintes.append(LireContrainte(ligne));
    return ContraintesTenues(contraintes, menuiserie);
}

QHash<QString, QVector<ContrainteCategorie>> ContraintesDesTarifsGeneraux(const QString& idPose)
{
    QHash<QString, QVector<ContrainteCategorie>> parCategorie;
    for (const Ligne& ligne : LireContraintes(kSqlDesTarifsGeneraux, QStringLiteral("IdPose"), idPose))
        parCategorie[ligne.Texte(QStringLiteral("IdCategorie"))].append(LireContrainte(ligne));
    return parCategorie;
}
