#include "model/Menuiserie.h"

#include "model/Formats.h"
#include "model/FragmentXml.h"

QString TMenuiserie::GetXml() const
{
    QString sortie;
    EcrireXml(sortie);
    return sortie;
}

void TMenuiserie::EcrireXml(QString& sortie) const
{
    using namespace FragmentXml;
    sortie += u"<menuiserie";
    Attribut(sortie, u"code", code);
    AttributEchappe(sortie, u"libelle", libelle);
    sortie += u' '; // the host's files have two blanks before the description
    AttributEchappe(sortie, u"description", description);
    AttributEntier(sortie, u"quantite", quantite);
    sortie += u'>';
    pose.EcrireXml(sortie);
    proprietes.EcrireXml(sortie);
    tarifs.EcrireXml(sortie);
    sortie += u"</menuiserie>\n";
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
    QString sortie;
    EcrireXml(sortie);
    return sortie;
}

void TMenuiseries::EcrireXml(QString& sortie) const
{
    sortie += u"<menuiseries>";
    for (const TMenuiserie& menuiserie : *this)
        menuiserie.EcrireXml(sortie);
    sortie += u"</menuiseries>";
}
