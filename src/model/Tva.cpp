#include "model/Tva.h"

#include "model/FragmentXml.h"

QString TTva::GetXml() const
{
    QString sortie;
    EcrireXml(sortie);
    return sortie;
}

void TTva::EcrireXml(QString& sortie) const
{
    sortie += u"<tva";
    FragmentXml::AttributEntier(sortie, u"type_tva", type_tva);
    FragmentXml::Attribut(sortie, u"libelle", libelle);
    FragmentXml::AttributMontant(sortie, u"valeur", valeur_);
    sortie += u"/>";
}
