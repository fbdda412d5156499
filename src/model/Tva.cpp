#include "model/Tva.h"

#include "model/FragmentXml.h"

QString TTva::GetXml() const
{
    return FragmentDe(*this);
}

void TTva::EcrireXml(SortieXml& sortie) const
{
    sortie.Debut(u"tva");
    sortie.AttributEntier(u"type_tva", typeTva);
    sortie.Attribut(u"libelle", libelle);
    sortie.AttributMontant(u"valeur", taux);
    sortie.FinVide();
}
