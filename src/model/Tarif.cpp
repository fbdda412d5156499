#include "model/Tarif.h"

#include "model/FragmentXml.h"
#include "model/Pose.h"

std::unique_ptr<TTarif> TTarif::Nouveau(const TPose& pose, const QString& id, const QString& libelle, double prix)
{
    auto tarif = std::make_unique<TTarif>();
    tarif->PrendreTarif(pose, id, libelle, prix);
    tarif->quincaillerieIncluse = true;
    // A line without VAT would be priced at 0 % until the user noticed.
    if (pose.GetTva().GetTypeTva() != -1)
        tarif->tva.Assign(pose.GetTva());
    return tarif;
}

void TTarif::PrendreTarif(const TPose& pose, const QString& idTarif, const QString& libelleTarif, double prixTarif)
{
    id = idTarif;
    libelle = libelleTarif;
    prix = prixTarif;
    codeExport = pose.GetCodeExport();
}

std::unique_ptr<TTarif> TTarif::Cloner() const
{
    auto copie = std::make_unique<TTarif>();
    copie->id = id;
    copie->libelle = libelle;
    copie->prix = prix;
    copie->codeExport = codeExport;
    copie->poseurId = poseurId;
    copie->poseurNom = poseurNom;
    copie->poseurPrix = poseurPrix;
    copie->poseurSiret = poseurSiret;
    copie->poseurRge = poseurRge;
    copie->tva.Assign(tva);
    copie->quincaillerieIncluse = quincaillerieIncluse;
    copie->quincailleries.CopierDepuis(quincailleries);
    return copie;
}

QString TTarif::GetXml() const
{
    return FragmentDe(*this);
}

void TTarif::EcrireXml(SortieXml& sortie) const
{
    sortie.Debut(u"tarif");
    sortie.Attribut(u"id", id);
    sortie.AttributEchappe(u"libelle", libelle);
    sortie.AttributMontant(u"prix", prix);
    sortie.AttributDrapeau(u"quincaillerie_incluse", quincaillerieIncluse);
    sortie.AttributEchappe(u"code_export", codeExport);
    sortie.FinDebut();
    sortie.Debut(u"poseur");
    sortie.Attribut(u"id", poseurId);
    sortie.Attribut(u"nom", poseurNom);
    sortie.AttributMontant(u"prix", poseurPrix);
    sortie.Attribut(u"siret", poseurSiret);
    sortie.Attribut(u"rge", poseurRge);
    sortie.FinVide();
    tva.EcrireXml(sortie);
    quincailleries.EcrireXml(sortie);
    sortie.Fin(u"tarif");
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
    return FragmentDe(*this);
}

void TTarifs::EcrireXml(SortieXml& sortie) const
{
    sortie.Debut(u"tarifs");
    sortie.FinDebut();
    for (const TTarif& ligne : *this)
        ligne.EcrireXml(sortie);
    sortie.Fin(u"tarifs");
    sortie.Blanc(u"\n");
}

QString TTarifs::PoseurHerite() const
{
    QString poseur;
    for (const TTarif& tarif : *this) {
        if (poseur.isEmpty())
            poseur = tarif.GetPoseurId();
        else if (tarif.GetPoseurId() != poseur)
            return QString();
    }
    return poseur;
}
