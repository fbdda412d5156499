#include "model/Pose.h"

#include "model/FragmentXml.h"

void TPose::AffecterPose(const TPose& source)
{
    id = source.id;
    libelle = source.libelle;
    code_export = source.code_export;
    tva.Assign(source.tva);
}

QString TPose::GetXml() const
{
    QString sortie;
    EcrireXml(sortie);
    return sortie;
}

void TPose::EcrireDebut(QString& sortie) const
{
    sortie += u"<pose";
    FragmentXml::Attribut(sortie, u"id", id);
    FragmentXml::Attribut(sortie, u"libelle", libelle);
    FragmentXml::Attribut(sortie, u"code_export", code_export);
    sortie += u'>';
}

void TPose::EcrireFin(QString& sortie) const
{
    tva.EcrireXml(sortie);
    sortie += u"</pose>\n";
}

void TPose::EcrireXml(QString& sortie) const
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

void TPoseLivraison::EcrireXml(QString& sortie) const
{
    EcrireDebut(sortie);
    for (const OptionLivraison option : kOptions) {
        const Option& valeurs = options[option];
        sortie += u" <";
        sortie += NomElement(option);
        FragmentXml::AttributDrapeau(sortie, u"choix", valeurs.choix);
        FragmentXml::AttributMontant(sortie, u"prix", valeurs.prix);
        FragmentXml::Attribut(sortie, u"code_export", valeurs.code_export);
        sortie += u"/>";
    }
    sortie += u'\n';
    EcrireFin(sortie);
}
