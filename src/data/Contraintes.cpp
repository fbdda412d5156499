#include "data/Contraintes.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"
#include "engine/Base.h"
#include "model/Formats.h"
#include "model/Menuiserie.h"

namespace {

const QString kSqlContraintes = QStringLiteral(
    "select o.Code as Code, c.operateur as Operateur, c.valeur as Valeur"
    " FROM CategorieContrainte c, Operande o"
    " WHERE c.IdOperande = o.IdOperande"
    " AND c.IdCategorie = :IdCategorie");

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

bool VerifierContraintes(const QString& idCategorie, const TMenuiserie& menuiserie)
{
    Requete& requete = DMPose().qryComparaison();
    requete.SetSql(kSqlContraintes);
    requete.LierTexte(QStringLiteral("IdCategorie"), idCategorie);
    bool verifiee = true;
    for (const Ligne& contrainte : requete.Ouvrir()) {
        if (!TesterContrainte(contrainte.Texte(QStringLiteral("Code")),
                              contrainte.Texte(QStringLiteral("Operateur")),
                              contrainte.Texte(QStringLiteral("Valeur")), menuiserie)) {
            verifiee = false;
            break;
        }
    }
    requete.ViderParametres();
    requete.Fermer();
    return verifiee;
}

ContraintesCategories LireContraintes(const QStringList& idCategories)
{
    const QHash<qint64, QStringList> cles = ClesParEntier(idCategories);
    ContraintesCategories contraintes;
    Requete requete(DMPose().Quarlo());
    LireParTranches(requete,
                    QStringLiteral("select c.IdCategorie as Cle, o.Code as Code, c.operateur as Operateur,"
                                   " c.valeur as Valeur FROM CategorieContrainte c, Operande o"
                                   " WHERE c.IdOperande = o.IdOperande AND c.IdCategorie IN (:IdCategories)"
                                   " ORDER BY c.IdCategorie, c.IdCategorieContrainte"),
                    QStringLiteral("IdCategories"), cles.keys(), [&](const Ligne& ligne) {
                        const ContrainteLue lue{ligne.Texte(QStringLiteral("Code")), ligne.Texte(QStringLiteral("Operateur")),
                                                ligne.Texte(QStringLiteral("Valeur"))};
                        for (const QString& cle : cles.value(ligne.Entier(QStringLiteral("Cle"))))
                            contraintes[cle].append(lue);
                    });
    return contraintes;
}

bool VerifierContraintes(const ContraintesCategories& contraintes, const QString& idCategorie,
                         const TMenuiserie& menuiserie)
{
    for (const ContrainteLue& contrainte : contraintes.value(idCategorie))
        if (!TesterContrainte(contrainte.code, contrainte.operateur, contrainte.valeur, menuiserie))
            return false;
    return true;
}
