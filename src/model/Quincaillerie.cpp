#include "model/Quincaillerie.h"

#include "model/FragmentXml.h"

#include <cmath>

namespace {

// Products of millimetres by 0.001 carry binary noise (3 m can come out as
// 3.0000000000000004); without this a whole number of packs would be
// rounded up to one pack too many.
double SansBruit(double valeur)
{
    return std::round(valeur * 1e6) / 1e6;
}

} // namespace

void TQuincaillerie::CalculerQuantite(int nh, int h, int nw, int w)
{
    if (tarifVente == 0.0 || nbPieces == 0.0)
        return;
    const double metres = nh * (h * 0.001) + nw * (w * 0.001);
    const double calculee = metres * (tarifVente / nbPieces * nbPiecesMl) / tarifVente;
    if (!std::isfinite(calculee))
        return;
    quantite = secable == 0 ? std::ceil(SansBruit(calculee)) : calculee;
}

QString TQuincaillerie::GetXml() const
{
    return FragmentDe(*this);
}

void TQuincaillerie::EcrireXml(SortieXml& sortie) const
{
    sortie.Debut(u"quincaillerie");
    sortie.Attribut(u"id", id);
    sortie.AttributEchappe(u"libelle", libelle);
    sortie.AttributEchappe(u"libelle2", libelle2);
    sortie.AttributMontant(u"tarif_vente", tarifVente);
    sortie.AttributMontant(u"tarif_achat", tarifAchat);
    sortie.AttributMontant(u"nb_pieces", nbPieces);
    sortie.AttributMontant(u"nb_pieces_ml", nbPiecesMl);
    sortie.AttributMontant(u"quantite", quantite);
    sortie.AttributEntier(u"secable", secable);
    sortie.Attribut(u"code_export", codeExport);
    sortie.FinVide();
}

void TQuincailleries::CopierDepuis(const TQuincailleries& source)
{
    if (&source == this)
        return;
    Vider();
    Reserver(source.Nombre());
    for (const TQuincaillerie& entree : source)
        Ajouter(std::make_unique<TQuincaillerie>(entree));
}

const TQuincaillerie* TQuincailleries::Trouver(const QString& id) const
{
    for (const TQuincaillerie& entree : *this)
        if (entree.GetId() == id)
            return &entree;
    return nullptr;
}

TQuincaillerie* TQuincailleries::Trouver(const QString& id)
{
    return const_cast<TQuincaillerie*>(std::as_const(*this).Trouver(id));
}

double TQuincailleries::TotalAchat() const
{
    double total = 0.0;
    for (const TQuincaillerie& entree : *this)
        total += entree.GetTarifAchat() * entree.GetQuantite();
    return total;
}

double TQuincailleries::TotalHt() const
{
    double total = 0.0;
    for (const TQuincaillerie& entree : *this)
        total += entree.GetTarifVente() * entree.GetQuantite();
    return total;
}

QString TQuincailleries::GetXml() const
{
    return FragmentDe(*this);
}

void TQuincailleries::EcrireXml(SortieXml& sortie) const
{
    sortie.Debut(u"quincailleries");
    sortie.FinDebut();
    for (const TQuincaillerie& entree : *this)
        entree.EcrireXml(sortie);
    sortie.Fin(u"quincailleries");
}
