#include "model/Tarif.h"

#include "model/FragmentXml.h"

std::unique_ptr<TTarif> TTarif::Cloner() const
{
    auto copie = std::make_unique<TTarif>();
    copie->id = id;
    copie->libelle = libelle;
    copie->prix = prix;
    copie->code_export = code_export;
    copie->poseur_id = poseur_id;
    copie->poseur_nom = poseur_nom;
    copie->poseur_prix = poseur_prix;
    copie->poseur_siret = poseur_siret;
    copie->poseur_rge = poseur_rge;
    copie->tva.Assign(tva);
    copie->quincaillerie_incluse = quincaillerie_incluse;
    copie->quincailleries.CopierDepuis(quincailleries);
    return copie;
}

QString TTarif::GetXml() const
{
    QString sortie;
    EcrireXml(sortie);
    return sortie;
}

void TTarif::EcrireXml(QString& sortie) const
{
    using namespace FragmentXml;
    sortie += u"<tarif";
    Attribut(sortie, u"id", id);
    AttributEchappe(sortie, u"libelle", libelle);
    AttributMontant(sortie, u"prix", prix);
    AttributDrapeau(sortie, u"quincaillerie_incluse", quincaillerie_incluse);
    AttributEchappe(sortie, u"code_export", code_export);
    sortie += u"><poseur";
    Attribut(sortie, u"id", poseur_id);
    Attribut(sortie, u"nom", poseur_nom);
    AttributMontant(sortie, u"prix", poseur_prix);
    Attribut(sortie, u"siret", poseur_siret);
    Attribut(sortie, u"rge", poseur_rge);
    sortie += u"/>";
    tva.EcrireXml(sortie);
    quincailleries.EcrireXml(sortie);
    sortie += u"</tarif>";
}

template <class Montant>
double TTarifs::Somme(Montant montant) const
{
    double total = 0.0;
    for (const TTarif& ligne : *this) {
        const TQuincailleries* quincailleries = ligne.GetQuincaillerieIncluse() ? &ligne.GetQuincailleries() : nullptr;
        total += montant(ligne, quincailleries);
    }
    return total;
}

double TTarifs::TotalAchat() const
{
    return Somme([](const TTarif& ligne, const TQuincailleries* q) {
        return ligne.GetPoseurPrix() + (q ? q->TotalAchat() : 0.0);
    });
}

double TTarifs::TotalHt() const
{
    return Somme([](const TTarif& ligne, const TQuincailleries* q) {
        return ligne.GetPrix() + (q ? q->TotalHt() : 0.0);
    });
}

double TTarifs::TotalTva() const
{
    return Somme([](const TTarif& ligne, const TQuincailleries* q) {
        return ligne.PrixTva() + (q ? q->TotalTva() : 0.0);
    });
}

double TTarifs::TotalTtc() const
{
    return Somme([](const TTarif& ligne, const TQuincailleries* q) {
        return ligne.PrixTtc() + (q ? q->TotalTtc() : 0.0);
    });
}

double TTarifs::TotalQuincaillerieHt() const
{
    return Somme([](const TTarif&, const TQuincailleries* q) { return q ? q->TotalHt() : 0.0; });
}

void TTarifs::AffecterTva(const TTva& source)
{
    for (TTarif& ligne : *this)
        ligne.AffecterTva(source);
}

QString TTarifs::GetXml() const
{
    QString sortie;
    EcrireXml(sortie);
    return sortie;
}

void TTarifs::EcrireXml(QString& sortie) const
{
    sortie += u"<tarifs>";
    for (const TTarif& ligne : *this)
        ligne.EcrireXml(sortie);
    sortie += u"</tarifs>\n";
}
