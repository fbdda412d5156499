#include "model/Menuiserie.h"

#include "model/Formats.h"
#include "model/FragmentXml.h"

QString TMenuiserie::GetXml() const
{
    return FragmentDe(*this);
}

void TMenuiserie::EcrireXml(SortieXml& sortie) const
{
    sortie.Debut(u"menuiserie");
    sortie.Attribut(u"code", code);
    sortie.AttributEchappe(u"libelle", libelle);
    sortie.Blanc(u" "); // the host's files have two blanks before the description
    sortie.AttributEchappe(u"description", description);
    sortie.AttributEntier(u"quantite", quantite);
    sortie.FinDebut();
    pose.EcrireXml(sortie);
    proprietes.EcrireXml(sortie);
    tarifs.EcrireXml(sortie);
    sortie.Fin(u"menuiserie");
    sortie.Blanc(u"\n");
}

int QuantiteDevis(const TMenuiserie& menuiserie)
{
    return LireEntier(menuiserie.GetProprietes().GetValeur(QStringLiteral("Quantite"))).value_or(menuiserie.GetQuantite());
}

void TMenuiseries::AffecterPose(const TPose& source)
{
    for (TMenuiserie& menuiserie : *this)
        menuiserie.AffecterPose(source);
}

void TMenuiseries::AffecterTva(const TTva& source)
{
    for (TMenuiserie& menuiserie : *this)
        menuiserie.AffecterTva(source);
}

int TMenuiseries::NombreTarifs() const
{
    int nombre = 0;
    for (const TMenuiserie& menuiserie : *this)
        nombre += menuiserie.GetTarifs().Nombre();
    return nombre;
}

template <class Somme>
double TMenuiseries::TotalDevis(Somme sommeLignes) const
{
    double total = 0.0;
    for (const TMenuiserie& menuiserie : *this)
        total += sommeLignes(menuiserie.GetTarifs()) * QuantiteDevis(menuiserie);
    return total;
}

double TMenuiseries::TotalAchat() const
{
    return TotalDevis([](const TTarifs& lignes) { return lignes.TotalAchat(); });
}

double TMenuiseries::TotalHt() const
{
    return TotalDevis([](const TTarifs& lignes) { return lignes.TotalHt(); });
}

double TMenuiseries::TotalTva() const
{
    return TotalDevis([](const TTarifs& lignes) { return lignes.TotalTva(); });
}

double TMenuiseries::TotalTtc() const
{
    return TotalDevis([](const TTarifs& lignes) { return lignes.TotalTtc(); });
}

double TMenuiseries::TotalQuincaillerieHt() const
{
    return TotalDevis([](const TTarifs& lignes) { return lignes.TotalQuincaillerieHt(); });
}

QString TMenuiseries::GetXml() const
{
    return FragmentDe(*this);
}

void TMenuiseries::EcrireXml(SortieXml& sortie) const
{
    sortie.Debut(u"menuiseries");
    sortie.FinDebut();
    for (const TMenuiserie& menuiserie : *this)
        menuiserie.EcrireXml(sortie);
    sortie.Fin(u"menuiseries");
}
