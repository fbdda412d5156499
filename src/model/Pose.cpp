#include "model/Pose.h"

#include "model/FragmentXml.h"

void TPose::AffecterPose(const TPose& source)
{
    id = source.id;
    libelle = source.libelle;
    codeExport = source.codeExport;
    tva.Assign(source.tva);
}

QString TPose::GetXml() const
{
    return FragmentDe(*this);
}

void TPose::EcrireDebut(SortieXml& sortie) const
{
    sortie.Debut(u"pose");
    sortie.Attribut(u"id", id);
    sortie.Attribut(u"libelle", libelle);
    sortie.Attribut(u"code_export", codeExport);
    sortie.FinDebut();
}

void TPose::EcrireFin(SortieXml& sortie) const
{
    tva.EcrireXml(sortie);
    sortie.Fin(u"pose");
    sortie.Blanc(u"\n");
}

void TPose::EcrireXml(SortieXml& sortie) const
{
    EcrireDebut(sortie);
    EcrireFin(sortie);
}

QString TPoseLivraison::NomElement(OptionLivraison option)
{
    switch (option) {
    case Livraison: return QStringLiteral("livraison");
    case LivraisonCompliquee: return QStringLiteral("livraison_compliquee");
    case LivraisonAutorisation: return QStringLiteral("livraison_autorisation");
    case LivraisonManutention: return QStringLiteral("livraison_manutention");
    }
    return QString();
}

double TPoseLivraison::TotalLivraison() const
{
    double total = 0.0;
    for (const Option& option : options)
        if (option.choix)
            total += option.prix;
    return total;
}

void TPoseLivraison::EcrireXml(SortieXml& sortie) const
{
    EcrireDebut(sortie);
    for (const OptionLivraison option : kOptions) {
        const Option& valeurs = options[option];
        sortie.Blanc(u" ");
        sortie.Debut(NomElement(option));
        sortie.AttributDrapeau(u"choix", valeurs.choix);
        sortie.AttributMontant(u"prix", valeurs.prix);
        sortie.Attribut(u"code_export", valeurs.codeExport);
        sortie.FinVide();
    }
    sortie.Blanc(u"\n");
    EcrireFin(sortie);
}
