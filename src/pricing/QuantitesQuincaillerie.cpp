#include "pricing/QuantitesQuincaillerie.h"

#include "data/RechercheQuincaillerie.h"
#include "model/Formats.h"
#include "model/Menuiserie.h"
#include "model/Quincaillerie.h"

#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

namespace {

int SommeEn32Bits(qint64 somme, const QString& nom, QStringList& illisibles)
{
    if (somme > std::numeric_limits<int>::max() || somme < std::numeric_limits<int>::min()) {
        illisibles << QStringLiteral("La somme des propriétés %1 des menuiseries (%2) est trop grande.")
                          .arg(nom)
                          .arg(somme);
        return 0;
    }
    return static_cast<int>(somme);
}

// The item's dimension; 0 for none, and for a value that is not a whole
// number, which is named.
int Dimension(const TMenuiserie& menuiserie, const QString& nom, bool nommerMenuiserie, QStringList& illisibles)
{
    const TPropriete* propriete = menuiserie.GetProprietes().Trouver(nom);
    if (!propriete)
        return 0;
    if (const std::optional<int> valeur = LireEntier(propriete->GetValeur()))
        return *valeur;
    const QString quelle = nommerMenuiserie
        ? QStringLiteral("la menuiserie « %1 »").arg(menuiserie.GetLibelle())
        : QStringLiteral("la menuiserie");
    illisibles << QStringLiteral("La propriété %1 de %2 vaut « %3 », qui n'est pas un nombre entier.")
                      .arg(propriete->GetId(), quelle, propriete->GetValeur());
    return 0;
}

} // namespace

MenuiseriesConcernees ToutesLesMenuiseries(const TMenuiseries& menuiseries)
{
    MenuiseriesConcernees toutes;
    toutes.reserve(menuiseries.Nombre());
    for (const TMenuiserie& menuiserie : menuiseries)
        toutes.append(&menuiserie);
    return toutes;
}

SommesDimensions SommerDimensions(const MenuiseriesConcernees& menuiseries)
{
    const QString hauteur = QStringLiteral("HAUTEUR");
    const QString largeur = QStringLiteral("LARGEUR");
    const bool plusieurs = menuiseries.size() > 1;
    QStringList illisibles;
    qint64 hauteurs = 0;
    qint64 largeurs = 0;
    for (const TMenuiserie* menuiserie : menuiseries) {
        hauteurs += Dimension(*menuiserie, hauteur, plusieurs, illisibles);
        largeurs += Dimension(*menuiserie, largeur, plusieurs, illisibles);
    }
    SommesDimensions sommes;
    sommes.hauteurs = SommeEn32Bits(hauteurs, hauteur, illisibles);
    sommes.largeurs = SommeEn32Bits(largeurs, largeur, illisibles);
    sommes.illisibles = illisibles;
    return sommes;
}

Comptage ChoixCotes::Compter() const
{
    if (perimetre)
        return {2, 2};
    return {int(hauteur1) + int(hauteur2), int(largeur1) + int(largeur2)};
}

bool ChoixCotes::AucunCote() const
{
    const Comptage comptage = Compter();
    return comptage.nbHauteurs == 0 && comptage.nbLargeurs == 0;
}

namespace {

// The quantity is kept as the grid shows it and the answer writes it.
void Calculer(TQuincaillerie& entree, Comptage comptage, const SommesDimensions& sommes)
{
    entree.CalculerQuantite(comptage.nbHauteurs, sommes.hauteurs, comptage.nbLargeurs, sommes.largeurs);
    entree.SetQuantite(AuCentime(entree.GetQuantite()));
}

} // namespace

void RecalculerQuantites(TQuincailleries& quincailleries, Comptage comptage, SommesDimensions sommes)
{
    for (TQuincaillerie& entree : quincailleries)
        Calculer(entree, comptage, sommes);
}

TQuincaillerie* AjouterDuCatalogue(TQuincailleries& quincailleries, const QString& id, Comptage comptage,
                                   SommesDimensions sommes)
{
    std::optional<TQuincaillerie> catalogue = Quincailleries::EntreeCatalogue(id);
    if (!catalogue)
        return nullptr;
    Calculer(*catalogue, comptage, sommes);
    return &quincailleries.Ajouter(std::make_unique<TQuincaillerie>(*catalogue));
}

TQuincaillerie* EntreeDeLigne(TQuincailleries& quincailleries, int ligne, const QString& id)
{
    if (id.isEmpty())
        return nullptr;
    if (ligne >= 0 && ligne < quincailleries.Nombre() && quincailleries[ligne].GetId() == id)
        return &quincailleries[ligne];
    return quincailleries.Trouver(id);
}

RefusMontant SaisirQuantite(TQuincailleries& quincailleries, int ligne, const QuantiteSaisie& saisie)
{
    TQuincaillerie* entree = EntreeDeLigne(quincailleries, ligne, saisie.id);
    if (saisie.texte.isEmpty() || !entree)
        return RefusMontant::Aucun;
    const MontantSaisi quantite = LireMontantSaisi(saisie.texte);
    if (quantite.refus == RefusMontant::Aucun)
        entree->SetQuantite(quantite.valeur);
    return quantite.refus;
}

std::optional<double> PrixAuMetre(const TQuincaillerie& entree)
{
    if (entree.GetNbPieces() == 0.0)
        return std::nullopt;
    const double prix = entree.GetTarifVente() / entree.GetNbPieces() * entree.GetNbPiecesMl();
    if (!std::isfinite(prix))
        return std::nullopt;
    return prix;
}
